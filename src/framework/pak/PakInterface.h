// The file layer through which every data file of the program is read: files are looked up
// in the registered packs first ("main.pak"), then in the working folder, then in the data
// folder of an installed game (read only; the player's own folder is the working folder).
// Program file names use '\' separators ("Graphics\back_menu.jpg"); only this layer turns
// them into operating-system paths.
#pragma once

#include "framework/platform/Platform.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace Orvane {

struct PakFile;    // an open file: packed record or ordinary stream
struct PakFind;    // an open wildcard search

class PakInterfaceBase {
public:
    virtual ~PakInterfaceBase() = default;
    virtual PakFile* FOpen(const char* name, const char* mode) = 0;
    virtual int FClose(PakFile* file) = 0;
    virtual int FSeek(PakFile* file, long offset, int origin) = 0;
    virtual long FTell(PakFile* file) = 0;
    virtual size_t FRead(void* buffer, size_t size, size_t count, PakFile* file) = 0;
    virtual int FGetC(PakFile* file) = 0;
    virtual int UnGetC(int c, PakFile* file) = 0;
    virtual char* FGetS(char* buffer, int size, PakFile* file) = 0;
    virtual bool FEof(PakFile* file) = 0;
    // Returns none when nothing matches; fills entry with the first match otherwise.
    virtual PakFind* FindFirstFile(const char* pattern, FindEntry* entry) = 0;
    virtual bool FindNextFile(PakFind* find, FindEntry* entry) = 0;
    virtual void FindClose(PakFind* find) = 0;
};

class PakInterface : public PakInterfaceBase {
public:
    PakInterface();
    ~PakInterface() override;
    PakInterface(const PakInterface&) = delete;
    PakInterface& operator=(const PakInterface&) = delete;

    // Registers a pack; false when it cannot be opened or its header is wrong.
    bool AddPakFile(const std::string& fileName);

    // True when the name (any separators, any letter case) is a file inside a registered pack.
    bool IsPacked(const std::string& name) const;
    // Grows by one with every pack registered; lets callers cache what they parsed.
    uint64_t Generation() const;

    // The read-only data folder of an installed game: relative names that the working folder
    // lacks are read from there. Empty (the default) when the working folder holds the data.
    // A relative folder is taken from the working folder of the moment.
    void SetDataFolder(const std::string& folder);
    std::string DataFolder() const;
    // The operating-system path a name is read from on disk: for a relative name the working
    // folder's file when it exists, else the data folder's when that exists, else the
    // working folder's (still relative). Other names only have '\' turned into '/'.
    std::string ReadPath(const std::string& name) const;
    // Opens a file of the working folder itself for reading, never a packed file nor one of
    // the data folder: the files the program writes and reads back (caches, user files).
    PakFile* FOpenUserFile(const char* name);

    PakFile* FOpen(const char* name, const char* mode) override;
    int FClose(PakFile* file) override;
    int FSeek(PakFile* file, long offset, int origin) override;
    long FTell(PakFile* file) override;
    size_t FRead(void* buffer, size_t size, size_t count, PakFile* file) override;
    int FGetC(PakFile* file) override;
    int UnGetC(int c, PakFile* file) override;
    char* FGetS(char* buffer, int size, PakFile* file) override;
    bool FEof(PakFile* file) override;
    // True when a file-system read failed (packed files never fail).
    bool FError(PakFile* file);
    PakFind* FindFirstFile(const char* pattern, FindEntry* entry) override;
    bool FindNextFile(PakFind* find, FindEntry* entry) override;
    void FindClose(PakFind* find) override;

private:
    std::vector<FindEntry> FindOnDisk(const std::string& pattern) const;

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The process-wide file layer.
PakInterface& GetPak();

// Conveniences over the process-wide layer.
enum class FileReadResult { Ok, Missing /* or not openable */, TooLarge, Failed };
// Reads a whole file of at most maxBytes; a larger one is refused before it is read. out is
// empty unless the result is Ok.
FileReadResult ReadWholeFileChecked(const std::string& name, std::vector<uint8_t>& out, size_t maxBytes);
// As above; false for anything but Ok.
bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& out,
                   size_t maxBytes = size_t{512} << 20);
// As ReadWholeFileChecked, for a file the program wrote itself: read from the working folder
// only (FOpenUserFile).
FileReadResult ReadUserFileChecked(const std::string& name, std::vector<uint8_t>& out, size_t maxBytes);
bool FileExists(const std::string& name);
// Every match of a wildcard pattern (packs first, else the working folder and the data
// folder together), in name order.
std::vector<FindEntry> FindAllFiles(const std::string& pattern);

}  // namespace Orvane
