// config.ini: string and number values of the options and the progress.
#include "engine/config/Config.h"

#include "engine/config/ConfigFiles.h"
#include "engine/config/NumberText.h"
#include "framework/ini/IniFile.h"

#include <cfloat>
#include <cstdio>

namespace {

constexpr const char* kConfigFile = "config.ini";

}  // namespace

bool ConfigGetString(const std::string& section, const std::string& key, std::string& out) {
    out.clear();
    const auto doc = ConfigFiles::LoadUserFile(kConfigFile);
    if (doc) out = doc->GetString(section, key);
    return !out.empty();   // an empty value counts as missing
}

bool ConfigSetString(const std::string& section, const std::string& key, const std::string& value) {
    return Orvane::WriteIniValue(ConfigFiles::InWorkingFolder(kConfigFile), section, key, value);
}

bool ConfigGetInt(const std::string& section, const std::string& key, int* out) {
    std::string text;
    if (!ConfigGetString(section, key, text)) return false;
    if (out) *out = NumberText::TruncateToInt(NumberText::DecimalPrefix(text.c_str()));
    return true;
}

bool ConfigGetFloat(const std::string& section, const std::string& key, float* out) {
    std::string text;
    if (!ConfigGetString(section, key, text)) return false;
    double value = NumberText::DecimalPrefix(text.c_str());
    if (value > FLT_MAX) value = FLT_MAX;
    if (value < -FLT_MAX) value = -FLT_MAX;
    if (out) *out = static_cast<float>(value);
    return true;
}

bool ConfigSetInt(const std::string& section, const std::string& key, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return ConfigSetString(section, key, text);
}

void ConfigGetIntOr(const std::string& section, const std::string& key, int* out, int defaultValue) {
    if (!out) return;
    std::string text;
    *out = ConfigGetString(section, key, text) ? NumberText::IntegerPrefix(text.c_str()) : defaultValue;
}
