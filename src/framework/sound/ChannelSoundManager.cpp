#include "framework/sound/ChannelSoundManager.h"

#include "framework/platform/Platform.h"
#include "framework/sound/SoundLoader.h"

#include <algorithm>
#include <cmath>

namespace Orvane {

namespace {
constexpr double kSemitone = 1.0594630943592953;
constexpr int kMinFrequency = 100;
constexpr int kMaxFrequency = 100000;
constexpr uint32_t kSweepIntervalMs = 1000;
}  // namespace

// ---------------------------------------------------------------- ChannelSoundInstance

ChannelSoundInstance::ChannelSoundInstance(ChannelSoundManager& manager, AudioDevice* device,
                                           int channel, std::shared_ptr<const PcmSound> source,
                                           std::shared_ptr<DeviceSound> buffer)
    : manager_(manager), device_(device), channel_(channel), source_(std::move(source)),
      buffer_(std::move(buffer)) {
    if (source_) defaultFrequency_ = frequency_ = bufferRate_ = source_->sampleRate;
}

ChannelSoundInstance::~ChannelSoundInstance() {
    if (device_ && buffer_) device_->Stop(channel_);
}

void ChannelSoundInstance::Release() {
    if (device_ && buffer_) device_->Stop(channel_);
    released_ = true;
}

void ChannelSoundInstance::SetDefaultVolume(double volume) {
    baseVolume_ = volume;
    ApplyGains();
}

void ChannelSoundInstance::SetDefaultPan(int pan) {
    basePan_ = pan;
    ApplyGains();
}

void ChannelSoundInstance::ShiftPitch(double steps) {
    if (!source_) return;
    const double wanted = defaultFrequency_ * std::pow(kSemitone, steps);
    frequency_ = static_cast<int>(std::clamp(std::isfinite(wanted) ? wanted : kMaxFrequency,
                                             double{kMinFrequency}, double{kMaxFrequency}));
}

void ChannelSoundInstance::SetVolume(double volume) {
    volume_ = volume;
    ApplyGains();
}

void ChannelSoundInstance::SetPan(int pan) {
    pan_ = pan;
    ApplyGains();
}

void ChannelSoundInstance::ApplyGains() {
    if (!device_ || !buffer_) return;
    const double gain = AttenuationToGain(VolumeToAttenuation(volume_ * baseVolume_ * manager_.Volume()));
    // Sum in 64 bits: two extreme pans must not overflow.
    const long long pan = static_cast<long long>(pan_) + basePan_;
    double left = 1.0;
    double right = 1.0;
    PanToGains(static_cast<int>(std::clamp(pan, -10000LL, 10000LL)), &left, &right);
    device_->SetChannelGains(channel_, gain, left, right);
}

bool ChannelSoundInstance::Play(bool looping, bool autoRelease) {
    hasPlayed_ = true;
    autoRelease_ = autoRelease;
    if (!device_ || !buffer_) return false;
    // The mixer cannot change the pitch of a running channel: a shifted sound is prepared anew
    // at its playback rate, and that is heard from this start on.
    if (frequency_ != bufferRate_) {
        auto shifted = device_->Prepare(*source_, frequency_);
        if (shifted) {
            buffer_ = std::move(shifted);
            bufferRate_ = frequency_;
        }
    }
    // Already playing with the same looping: it goes on from where it is.
    if (device_->IsPlaying(channel_) && looping == looping_) return true;
    looping_ = looping;
    ApplyGains();
    return device_->Play(channel_, buffer_, looping);
}

void ChannelSoundInstance::Stop() {
    if (device_ && buffer_) device_->Stop(channel_);
    autoRelease_ = false;
}

bool ChannelSoundInstance::IsPlaying() {
    if (!hasPlayed_ || !device_ || !buffer_) return false;
    return device_->IsPlaying(channel_);
}

bool ChannelSoundInstance::IsReleased() {
    if (!released_ && autoRelease_ && hasPlayed_ && !IsPlaying()) Release();
    return released_;
}

// ---------------------------------------------------------------- ChannelSoundManager

ChannelSoundManager::ChannelSoundManager(std::unique_ptr<AudioDevice> device)
    : device_(std::move(device)) {}

ChannelSoundManager::~ChannelSoundManager() {
    // Instances stop their channels; they must go before the device.
    for (auto& instance : instances_) instance.reset();
}

int ChannelSoundManager::FindSoundId(const std::string& fileName) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int id = 0; id < kMaxSounds; ++id)
        if (sounds_[id].fileName == fileName && !fileName.empty()) return id;
    for (int id = kMaxSounds - 1; id >= 0; --id)
        if (!sounds_[id].buffer) return id;
    return -1;
}

bool ChannelSoundManager::LoadSound(int id, const std::string& fileName) {
    if (!ValidId(id)) return false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // The sound goes; its base volume and pan stay with the id.
        SoundSlot& slot = sounds_[id];
        slot.source.reset();
        slot.buffer.reset();
        slot.fileName.clear();
        if (!device_) return true;
        slot.fileName = fileName;
    }
    // Decoding takes a while; the main thread goes on playing meanwhile.
    PcmSound pcm;
    if (LoadSoundFile(fileName, &pcm) == SoundOrigin::None) return false;
    pcm.name = fileName;
    auto source = std::make_shared<const PcmSound>(std::move(pcm));
    auto buffer = device_->Prepare(*source, source->sampleRate);
    if (!buffer) return false;

    std::lock_guard<std::mutex> lock(mutex_);
    sounds_[id].source = std::move(source);
    sounds_[id].buffer = std::move(buffer);
    return true;
}

void ChannelSoundManager::FreeSound(int id) {
    if (!ValidId(id)) return;
    std::lock_guard<std::mutex> lock(mutex_);
    // Playing instances hold their own reference and finish normally.
    sounds_[id].source.reset();
    sounds_[id].buffer.reset();
}

void ChannelSoundManager::SetVolume(double volume) {
    volume_ = volume;
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& instance : instances_)
        if (instance) instance->ApplyGains();
}

bool ChannelSoundManager::SetDefaultVolume(int id, double volume) {
    if (!ValidId(id)) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    sounds_[id].baseVolume = volume;
    return true;
}

bool ChannelSoundManager::SetDefaultPan(int id, int pan) {
    if (!ValidId(id)) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    sounds_[id].basePan = pan;
    return true;
}

void ChannelSoundManager::ReleaseFinishedInstances() {
    const uint32_t now = GetPlatform().TimeMs();
    if (sweptOnce_ && now - lastSweepMs_ < kSweepIntervalMs) return;
    sweptOnce_ = true;
    lastSweepMs_ = now;
    for (auto& instance : instances_)
        if (instance && instance->AutoRelease() && instance->IsReleased()) instance.reset();
}

SoundInstance* ChannelSoundManager::CreateInstance(int id) {
    if (!ValidId(id)) return nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    ReleaseFinishedInstances();

    int slot = -1;
    for (int i = 0; i < kMaxInstances && slot < 0; ++i) {
        if (!instances_[i]) {
            slot = i;
        } else if (instances_[i]->IsReleased()) {
            instances_[i].reset();
            slot = i;
        }
    }
    if (slot < 0) return nullptr;

    const SoundSlot& sound = sounds_[id];
    if (device_ && !sound.buffer) return nullptr;
    instances_[slot] = std::make_unique<ChannelSoundInstance>(*this, device_.get(), slot,
                                                              sound.source, sound.buffer);
    ChannelSoundInstance& instance = *instances_[slot];
    instance.SetDefaultPan(sound.basePan);
    instance.SetDefaultVolume(sound.baseVolume);
    return &instance;
}

void ChannelSoundManager::FreeAllSounds() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (SoundSlot& sound : sounds_) {
        sound.source.reset();
        sound.buffer.reset();
    }
}

void ChannelSoundManager::FreeAllInstances() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& instance : instances_) instance.reset();
}

double ChannelSoundManager::GetSystemVolume() {
    return device_ ? device_->GetMasterGain() : systemVolume_;
}

void ChannelSoundManager::SetSystemVolume(double volume) {
    systemVolume_ = std::clamp(std::isfinite(volume) ? volume : 0.0, 0.0, 1.0);
    if (device_) device_->SetMasterGain(systemVolume_);
}

void ChannelSoundManager::StopAll() {
    std::lock_guard<std::mutex> lock(mutex_);
    // Stopping through the device keeps each instance's auto-release flag (Stop() would clear it).
    for (auto& instance : instances_)
        if (instance && device_) device_->Stop(static_cast<int>(&instance - instances_.data()));
}

int ChannelSoundManager::FirstFreeId() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int id = 0; id < kMaxSounds; ++id)
        if (!sounds_[id].buffer) return id;
    return -1;
}

int ChannelSoundManager::LoadedCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(std::count_if(sounds_.begin(), sounds_.end(),
                                          [](const SoundSlot& s) { return s.buffer != nullptr; }));
}

SoundInstance* ChannelSoundManager::InstanceInSlot(int slot) {
    if (slot < 0 || slot >= kMaxInstances) return nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    return instances_[slot].get();
}

std::unique_ptr<SoundManager> CreateSoundManager(bool wantDevice) {
    return std::make_unique<ChannelSoundManager>(wantDevice ? GetPlatform().OpenAudioDevice() : nullptr);
}

}  // namespace Orvane
