#include "framework/pak/PakWriter.h"

#include "framework/pak/PakFormat.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <system_error>

namespace Orvane {

namespace fs = std::filesystem;

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutU64(std::vector<uint8_t>& out, uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

bool BuildPakImage(std::vector<PakSource> sources, std::vector<uint8_t>& out, std::string& error) {
    std::sort(sources.begin(), sources.end(),
              [](const PakSource& a, const PakSource& b) { return a.name < b.name; });
    uint64_t total = 9;   // header and end-of-directory byte
    for (size_t i = 0; i < sources.size(); ++i) {
        const PakSource& s = sources[i];
        if (s.name.empty() || s.name.size() > 255) {
            error = "file name of " + std::to_string(s.name.size()) + " bytes: '" + s.name + "'";
            return false;
        }
        if (i > 0 && s.name == sources[i - 1].name) {
            error = "file listed twice: '" + s.name + "'";
            return false;
        }
        if (s.data.size() > UINT32_MAX) {
            error = "file too large for a pack: '" + s.name + "'";
            return false;
        }
        total += 2 + s.name.size() + 4 + 8 + s.data.size();
    }
    if (total > kPakMaxSize) {
        error = "the pack would be larger than 2 GB";
        return false;
    }

    out.clear();
    out.reserve(static_cast<size_t>(total));
    PutU32(out, kPakMagic);
    PutU32(out, kPakVersion);
    for (const PakSource& s : sources) {
        out.push_back(0);
        out.push_back(static_cast<uint8_t>(s.name.size()));
        out.insert(out.end(), s.name.begin(), s.name.end());
        PutU32(out, static_cast<uint32_t>(s.data.size()));
        PutU64(out, s.fileTime);
    }
    out.push_back(kPakEndOfDirectory);
    for (const PakSource& s : sources) out.insert(out.end(), s.data.begin(), s.data.end());
    XorPakBytes(out.data(), out.size());
    return true;
}

bool CollectPakFolder(const std::string& folder, std::vector<PakSource>& out, std::string& error,
                      const std::string& excludePath, std::optional<uint64_t> clampTime) {
    std::error_code ec;
    const fs::path root = fs::canonical(folder, ec);
    if (ec || !fs::is_directory(root)) {
        error = "not a folder: '" + folder + "'";
        return false;
    }
    fs::path excluded;
    if (!excludePath.empty()) excluded = fs::weakly_canonical(excludePath, ec);

    fs::recursive_directory_iterator it(root, fs::directory_options::follow_directory_symlink, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const fs::path path = it->path();
        if (!excluded.empty() && fs::weakly_canonical(path, ec) == excluded) continue;

        PakSource source;
        source.name = fs::relative(path, root, ec).generic_string();
        std::replace(source.name.begin(), source.name.end(), '/', '\\');

        std::ifstream in(path, std::ios::binary);
        source.data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) {
            error = "cannot read '" + path.string() + "'";
            return false;
        }
        struct stat st {};
        uint64_t unixTime = stat(path.c_str(), &st) == 0 && st.st_mtime > 0
                                ? static_cast<uint64_t>(st.st_mtime) : 0;
        if (clampTime && unixTime > *clampTime) unixTime = *clampTime;
        source.fileTime = UnixToPakTime(unixTime);
        out.push_back(std::move(source));
    }
    if (ec) {
        error = "cannot list '" + folder + "': " + ec.message();
        return false;
    }
    std::sort(out.begin(), out.end(), [](const PakSource& a, const PakSource& b) { return a.name < b.name; });
    return true;
}

bool WritePakImage(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            error = "cannot write '" + temp + "'";
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot replace '" + path + "'";
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace Orvane
