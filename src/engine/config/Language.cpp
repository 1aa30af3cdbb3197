// language.ini: the texts of the current language.
#include "engine/config/Config.h"

#include "engine/config/ConfigFiles.h"
#include "engine/log/Log.h"

#include <algorithm>
#include <mutex>

namespace {

constexpr const char* kLanguageFile = "language.ini";
constexpr size_t kLanguageNameLimit = 255;

std::mutex gLanguageMutex;
std::string gLanguageName;

}  // namespace

void SetLanguageName(const std::string& name) {
    std::lock_guard<std::mutex> lock(gLanguageMutex);
    gLanguageName = name.substr(0, std::min(name.size(), kLanguageNameLimit));
}

std::string GetLanguageName() {
    std::lock_guard<std::mutex> lock(gLanguageMutex);
    return gLanguageName;
}

std::string LangText(const std::string& key) {
    const std::string language = GetLanguageName();
    if (language.empty()) LogWrite("Warning: language not defined in 'config.ini'", 0);
    const auto doc = ConfigFiles::LoadDataFile(kLanguageFile);
    // No fall-back to another language or to the key itself.
    return doc ? doc->GetString(language, key) : std::string();
}
