#include "framework/sound/SoundLoader.h"

#include "framework/core/Diagnostics.h"
#include "framework/pak/PakInterface.h"
#include "framework/sound/OggDecoder.h"
#include "framework/sound/WaveFile.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace Orvane {

namespace {

// Sound files over this size are refused: a decoded sound at its limit, with room for the
// chunks around the samples of a cache file.
constexpr size_t kMaxSoundFileBytes = kMaxDecodedSoundBytes + 64 * 1024;
// Seconds between 1601-01-01 (file times) and 1970-01-01 (the epoch).
constexpr uint64_t kEpochOffsetSeconds = 11644473600ull;
constexpr uint64_t kTicksPerSecond = 10000000ull;

std::string OsPath(std::string name) {
    for (char& c : name)
        if (c == '\\') c = '/';
    return name;
}

// Writes the cache beside a temporary name and renames it, so a crash never leaves half a file.
bool WriteCacheFile(const std::string& cacheName, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path(OsPath(cacheName));
    std::error_code error;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) std::filesystem::remove(temporary, error);
    return !error;
}

// Reads a whole sound file; one over the size limit is reported and not read.
bool ReadSoundFile(const std::string& name, std::vector<uint8_t>& bytes) {
    const FileReadResult result = ReadWholeFileChecked(name, bytes, kMaxSoundFileBytes);
    if (result == FileReadResult::TooLarge)
        Diagnose("WARNING: sound file '" + name + "' is larger than " +
                 std::to_string(kMaxDecodedSoundBytes >> 20) + " MB and is not read");
    return result == FileReadResult::Ok;
}

bool LoadCache(const std::string& cacheName, PcmSound* sound) {
    // The cache is the program's own file: only the working folder's copy counts.
    std::vector<uint8_t> bytes;
    if (ReadUserFileChecked(cacheName, bytes, kMaxSoundFileBytes) != FileReadResult::Ok) return false;
    const WaveReadResult result = ReadWave(bytes, sound, SourceFileTime);
    if (result == WaveReadResult::Ok) return true;
    Diagnose("Sound cache '" + cacheName + "' rebuilt: " + WaveReadResultName(result));
    return false;
}

}  // namespace

std::string SoundCacheName(const std::string& name) {
    if (name.size() <= 2 || name[0] == '\\' || name[0] == '/' || name[1] == ':') return {};
    return "cached\\" + name + ".wav";
}

bool SourceFileTime(const std::string& fileName, uint64_t* fileTime) {
    // Files on disk give their time to the nanosecond; files inside a pack give the pack's.
    struct stat info {};
    if (::stat(GetPak().ReadPath(fileName).c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        *fileTime = (static_cast<uint64_t>(info.st_mtim.tv_sec) + kEpochOffsetSeconds) * kTicksPerSecond +
                    static_cast<uint64_t>(info.st_mtim.tv_nsec) / 100;
        return true;
    }
    for (const FindEntry& entry : FindAllFiles(fileName)) {
        if (entry.isDirectory) continue;
        *fileTime = (entry.writeTime + kEpochOffsetSeconds) * kTicksPerSecond;
        return true;
    }
    return false;
}

SoundOrigin LoadSoundFile(const std::string& name, PcmSound* sound) {
    const std::string cacheName = SoundCacheName(name);
    if (!cacheName.empty() && LoadCache(cacheName, sound)) return SoundOrigin::Cache;

    std::vector<uint8_t> bytes;
    const std::string waveName = name + ".wav";
    if (ReadSoundFile(waveName, bytes)) {
        const WaveReadResult result = ReadWave(bytes, sound);
        if (result == WaveReadResult::Ok) return SoundOrigin::Wave;
        Diagnose("Sound file '" + waveName + "' not readable: " + WaveReadResultName(result));
    }

    const std::string oggName = name + ".ogg";
    if (!ReadSoundFile(oggName, bytes)) return SoundOrigin::None;
    bool cut = false;
    if (!DecodeOggVorbis(bytes, sound, kMaxDecodedSoundBytes, &cut)) {
        Diagnose("Sound file '" + oggName + "' not readable: not a usable Ogg Vorbis stream");
        return SoundOrigin::None;
    }
    if (cut)
        Diagnose("WARNING: sound file '" + oggName + "' decodes to more than " +
                 std::to_string(kMaxDecodedSoundBytes >> 20) + " MB; the rest is cut");
    uint64_t sourceTime = 0;
    if (!cacheName.empty() && SourceFileTime(oggName, &sourceTime) &&
        !WriteCacheFile(cacheName, WriteCachedWave(*sound, oggName, sourceTime)))
        Diagnose("WARNING: could not write the sound cache '" + cacheName + "'");
    return SoundOrigin::OggVorbis;
}

}  // namespace Orvane
