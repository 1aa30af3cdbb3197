#include "engine/audio/OggManager.h"

#include "engine/config/Config.h"
#include "engine/config/ConfigFiles.h"
#include "engine/config/NumberText.h"
#include "engine/log/Log.h"
#include "framework/core/Random.h"
#include "framework/ini/IniDocument.h"
#include "framework/pak/PakInterface.h"
#include "framework/sound/SoundManager.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kExtensionLength = 4;   // ".ogg", ".wav"
constexpr size_t kSectionListBuffer = 10000;   // the section names are read into this much

// Section names in file order, as many as the name list holds (each name and its terminator,
// then the list's terminator).
std::vector<std::string> ListedSections(const Orvane::IniDocument& script) {
    std::vector<std::string> names;
    size_t used = 0;
    for (std::string& name : script.SectionNames()) {
        if (used + name.size() + 1 > kSectionListBuffer - 1) break;
        used += name.size() + 1;
        names.push_back(std::move(name));
    }
    return names;
}

// The library-generator draw the gameplay uses: floor(r / 32767 x (hi + 1)) + lo, drawn again
// until it lies in [lo, hi].
int RandomIndex(int lo, int hi) {
    for (;;) {
        const int r = Orvane::Rand15();
        const int v = static_cast<int>(std::floor(r / 32767.0 * (hi + 1))) + lo;
        if (v >= lo && v <= hi) return v;
    }
}

bool FitsName(const std::string& text) { return text.size() < static_cast<size_t>(COggManager::kNameSize); }

void CopyName(char (&field)[COggManager::kNameSize], const std::string& text) {
    const size_t length = std::min(text.size(), sizeof field - 1);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

// Parses a decimal floating number from the start of the text (as the ini helpers do).
bool ParseVolume(const std::string& text, float* out) {
    if (text.empty()) return false;
    *out = static_cast<float>(NumberText::DecimalPrefix(text.c_str()));
    return true;
}

}  // namespace

COggManager::COggManager(Orvane::AudioHost* host) : host_(host) {}

COggManager::~COggManager() = default;

Orvane::AudioHost* COggManager::Host() const { return host_ ? host_ : Orvane::GetAudioHost(); }

// ---------------------------------------------------------------- sound file registry

bool COggManager::LoadMusicFile(const char* fileName, float /*extra*/) {
    const std::string name = fileName ? fileName : "";
    if (soundFileCount_ >= kMaxSoundFiles) {
        LogWrite("WARNING: COggManager::LoadMusicFile(): too many sound files", 0);
        return false;
    }
    bool loaded = false;
    // A name that does not fit an entry could never be found again: it is refused.
    if (FitsName(name) && name.size() > kExtensionLength && name[name.size() - kExtensionLength] == '.') {
        Orvane::AudioHost* host = Host();
        Orvane::SoundManager* sounds = host ? host->GetSoundManager() : nullptr;
        const std::string base = name.substr(0, name.size() - kExtensionLength);
        loaded = sounds != nullptr && sounds->LoadSound(soundFileCount_, base);
    }
    char line[400];
    if (!loaded) {
        std::snprintf(line, sizeof line, "Loading sound: '%s' ... FAILED", name.c_str());
        LogWrite(line, 0);
        return false;
    }
    CopyName(soundFiles_[soundFileCount_].name, name);
    ++soundFileCount_;
    std::snprintf(line, sizeof line, "Loading sound: '%s' ... OK", name.c_str());
    LogWrite(line, 0);
    return true;
}

void COggManager::LoadSoundFolder(const char* folder) {
    const std::string prefix = folder ? folder : "";
    for (const char* pattern : {"*.ogg", "*.wav"}) {
        for (const Orvane::FindEntry& entry : Orvane::FindAllFiles(prefix + pattern)) {
            if (entry.isDirectory) continue;
            LoadMusicFile((prefix + entry.name).c_str(), 0);
        }
    }
}

int COggManager::GetSoundId(const char* fileName) {
    if (!fileName) return -1;
    for (int id = 0; id < soundFileCount_; ++id)
        if (std::strcmp(soundFiles_[id].name, fileName) == 0) return id;
    return LoadMusicFile(fileName, 0) ? soundFileCount_ - 1 : -1;
}

bool COggManager::PlaySound(int id, int /*extra*/) {
    if (static_cast<unsigned>(id) >= static_cast<unsigned>(soundFileCount_)) return false;
    if (Orvane::AudioHost* host = Host()) host->PlaySoundEffect(id, 0);
    return true;
}

int COggManager::FreeMusicManager() {
    Orvane::AudioHost* host = Host();
    if (Orvane::SoundManager* sounds = host ? host->GetSoundManager() : nullptr) sounds->FreeAllSounds();
    LogWrite("COggManager::FreeMusicManager()", 0);
    return 0;
}

const char* COggManager::GetSoundFileName(int id) const {
    return id >= 0 && id < soundFileCount_ ? soundFiles_[id].name : nullptr;
}

// ---------------------------------------------------------------- sound events

bool COggManager::InitSounds() {
    musicVolume_ = 0.8f;
    sfxVolume_ = 0.75f;
    soundFileCount_ = 0;
    float value = 0.0f;
    if (ConfigGetFloat("OPTIONS", "MusicVolume", &value)) musicVolume_ = value;
    if (ConfigGetFloat("OPTIONS", "SfxVolume", &value)) sfxVolume_ = value;
    LoadSoundEvents("sound.ini");
    return true;
}

void COggManager::LoadSoundEvents(const char* fileName) {
    // The script lies in the working folder; a missing or unreadable one holds no events.
    const auto loaded = ConfigFiles::LoadDataFile(fileName ? fileName : "");
    static const Orvane::IniDocument kNoScript;
    const Orvane::IniDocument& script = loaded ? *loaded : kNoScript;

    soundEventCount_ = 0;
    for (const std::string& section : ListedSections(script)) {
        if (soundEventCount_ >= kMaxSoundEvents) break;
        SoundEvent& event = soundEvents_[soundEventCount_++];
        event = SoundEvent{};
        CopyName(event.name, section);   // longer names are cut to the field

        float volume = 1.0f;
        event.volume = ParseVolume(script.GetString(section, "volume"), &volume) ? volume : 1.0f;
        for (int k = 0; k < kMaxFilesPerEvent; ++k) {
            const std::string file = script.GetString(section, "file" + std::to_string(k));
            if (file.empty()) break;
            if (!FitsName(file)) {
                LogWrite("WARNING: sound event '" + section + "': file name too long - " + file, 0);
                continue;
            }
            CopyName(event.files[event.fileCount++], file);
        }
    }
    char line[128];
    std::snprintf(line, sizeof line, "Loading sound events script: %d events parsed", soundEventCount_);
    LogWrite(line, 0);
}

int COggManager::PlaySoundEvent(const char* eventName) {
    const char* name = eventName ? eventName : "";
    const SoundEvent* match = nullptr;
    for (int i = 0; i < soundEventCount_; ++i)
        if (std::strcmp(soundEvents_[i].name, name) == 0) match = &soundEvents_[i];

    if (!match || match->fileCount < 1) {
        LogWrite(std::string("Warning: couldn't find sound event - ") + name, 0);
        return -1;
    }
    const int k = match->fileCount == 1 ? 0 : RandomIndex(0, match->fileCount - 1);
    const int id = GetSoundId(match->files[k]);
    if (id == -1) return -1;
    Orvane::AudioHost* host = Host();
    if (Orvane::SoundManager* sounds = host ? host->GetSoundManager() : nullptr)
        sounds->SetDefaultVolume(id, static_cast<double>(match->volume));
    return id;
}

bool COggManager::SetMusicVolume(float volume) {
    if (Orvane::AudioHost* host = Host()) host->SetMusicVolume(static_cast<double>(volume));
    musicVolume_ = volume;
    return true;
}

bool COggManager::SetSfxVolume(float volume) {
    if (Orvane::AudioHost* host = Host()) host->SetSfxVolume(static_cast<double>(volume));
    sfxVolume_ = volume;
    return true;
}

const COggManager::SoundEvent* COggManager::GetSoundEvent(int index) const {
    return index >= 0 && index < soundEventCount_ ? &soundEvents_[index] : nullptr;
}

COggManager& GetOggManager() {
    static COggManager manager;
    return manager;
}
