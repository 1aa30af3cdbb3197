// Checksummed binary blocks in an ini file of the working folder (scores.ini, saved.ini).
#include "engine/config/Config.h"

#include "engine/config/ConfigFiles.h"
#include "framework/ini/HexBlock.h"
#include "framework/ini/IniFile.h"

bool IniGetStruct(const std::string& section, const std::string& key, void* buffer, size_t size,
                  const std::string& fileName) {
    if (!buffer && size > 0) return false;
    const auto doc = ConfigFiles::LoadUserFile(fileName);
    if (!doc) return false;
    const auto value = doc->Find(section, key);
    return value && Orvane::DecodeHexBlock(*value, buffer, size);
}

bool IniSetStruct(const std::string& section, const std::string& key, const void* buffer, size_t size,
                  const std::string& fileName) {
    if (!buffer && size > 0) return false;
    return Orvane::WriteIniValue(ConfigFiles::InWorkingFolder(fileName), section, key,
                                 Orvane::EncodeHexBlock(buffer, size));
}
