// What the file readers cost on hostile inputs. Writes an input, or reads one through the
// reader the game uses and prints the time it took and the process's peak memory; run it
// under /usr/bin/time for an outside view.
//
//   bench_readers make <kind> <file> <n>
//     ini-sections, ini-blank, ini-longsection   n bytes of ini text
//     pak-entries                                a directory of n nameless entries
//     pak-sparse                                 a pack of n bytes holding one file
//     png, tga, tga-rle, jpeg, jpeg-progressive, gif
//                                                a truncated n x n picture
//   bench_readers read <reader> <file>
//     ini-sections   the section names of an ini file
//     sound-events   the file as the sound events script
//     config         a value of config.ini   (file: the folder that holds it)
//     scores         the score block of scores.ini (file: the folder)
//     font           the symbol font table of language.ini (file: the folder)
//     pak            registers the pack and reads its first kilobyte
//     image          decodes a picture by the lookup rules
//     sound          loads a sound by its name without extension, as the sound manager does
#include "engine/config/Config.h"
#include "engine/audio/OggManager.h"
#include "engine/scores/CScores.h"
#include "engine/text/SymbolFont.h"
#include "framework/graphics/ImageLoader.h"
#include "framework/ini/IniFile.h"
#include "framework/pak/PakInterface.h"
#include "framework/sound/SoundLoader.h"
#include "support/HostileInputs.h"
#include "support/ProcessStatus.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

long PeakMemoryKb() { return TestSupport::StatusKilobytes("VmHWM"); }

bool WriteBytes(const std::string& path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}
bool WriteBytes(const std::string& path, const std::string& text) { return WriteBytes(path, text.data(), text.size()); }
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& b) { return WriteBytes(path, b.data(), b.size()); }

bool Make(const std::string& kind, const std::string& path, uint64_t n) {
    using namespace HostileInputs;
    const int side = static_cast<int>(n);
    if (kind == "ini-sections") return WriteBytes(path, IniSections(n));
    if (kind == "ini-blank") return WriteBytes(path, IniBlankLines(n));
    if (kind == "ini-longsection") return WriteBytes(path, IniLongSectionManyKeys(n / 2, n));
    if (kind == "pak-entries") return WritePakOfEmptyEntries(path, n);
    if (kind == "pak-sparse") return WriteSparsePak(path, n);
    if (kind == "png") return WriteBytes(path, TruncatedPng(side));
    if (kind == "tga") return WriteBytes(path, TruncatedTga(side));
    if (kind == "tga-rle") return WriteBytes(path, TruncatedRleTga(side));
    if (kind == "jpeg") return WriteBytes(path, TruncatedJpeg(side, false));
    if (kind == "jpeg-progressive") return WriteBytes(path, TruncatedJpeg(side, true));
    if (kind == "gif") return WriteBytes(path, OneRowGif(side));
    std::fprintf(stderr, "unknown kind '%s'\n", kind.c_str());
    return false;
}

// Runs one reader; returns a short description of what it found.
std::string Read(const std::string& reader, const std::string& file) {
    namespace fs = std::filesystem;
    const fs::path path = fs::absolute(file);
    if (reader == "ini-sections") {
        Orvane::IniDocument doc;
        const auto result = Orvane::LoadIniFile(path.string(), doc);
        if (result != Orvane::IniLoadResult::Ok) return "not loaded";
        return std::to_string(doc.SectionNames().size()) + " sections";
    }
    if (reader == "sound-events") {
        fs::current_path(path.parent_path());
        COggManager manager;
        manager.LoadSoundEvents(path.filename().c_str());
        return std::to_string(manager.GetSoundEventCount()) + " events";
    }
    if (reader == "config" || reader == "scores" || reader == "font") {
        fs::current_path(path);
        if (reader == "config") {
            std::string value;
            return ConfigGetString("OPTIONS", "MusicVolume", value) ? "MusicVolume=" + value : "no value";
        }
        if (reader == "scores") {
            CScores scores;
            return scores.Load() ? "scores read" : "scores damaged";
        }
        SetLanguageName("ENGLISH");
        SymbolFont font;
        font.Load([](const std::string& key) { return LangText(key); });
        return "grid " + std::to_string(font.Columns()) + " x " + std::to_string(font.Rows());
    }
    if (reader == "pak") {
        Orvane::PakInterface& pak = Orvane::GetPak();
        if (!pak.AddPakFile(path.string())) return "pack refused";
        // The first kilobyte of every packed file.
        size_t files = 0, bytes = 0;
        for (const Orvane::FindEntry& entry : Orvane::FindAllFiles("*")) {
            Orvane::PakFile* f = pak.FOpen(entry.name.c_str(), "rb");
            if (!f) continue;
            char buffer[1024];
            bytes += pak.FRead(buffer, 1, sizeof buffer, f);
            ++files;
            pak.FClose(f);
        }
        return "pack registered, " + std::to_string(files) + " files opened, " + std::to_string(bytes) + " bytes read";
    }
    if (reader == "image") {
        Orvane::DecodedImage image;
        if (!Orvane::DecodeImageFile(path.string(), image)) return "no picture";
        return std::to_string(image.width) + " x " + std::to_string(image.height);
    }
    if (reader == "sound") {
        Orvane::PcmSound sound;
        if (Orvane::LoadSoundFile(path.string(), &sound) == Orvane::SoundOrigin::None) return "no sound";
        return std::to_string(sound.samples.size()) + " sample bytes";
    }
    return "unknown reader";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "make") == 0) {
        return Make(argv[2], argv[3], std::strtoull(argv[4], nullptr, 10)) ? 0 : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "read") == 0) {
        const auto start = std::chrono::steady_clock::now();
        const std::string result = Read(argv[2], argv[3]);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("%s %s: %s, %.1f ms, peak %.1f MB\n", argv[2], argv[3], result.c_str(), ms,
                    PeakMemoryKb() / 1024.0);
        return 0;
    }
    std::fprintf(stderr, "usage: bench_readers make <kind> <file> <n> | read <reader> <file>\n");
    return 2;
}
