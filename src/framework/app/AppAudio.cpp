// Volumes and the mute counts. A mute is counted: the user's own mute and the automatic
// mute on focus loss stack, so restoring focus never unmutes what the user muted.
#include "framework/app/OrvaneAppBase.h"

#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundManager.h"

namespace Orvane {

void OrvaneAppBase::SetMusicVolume(double volume) {
    mMusicVolume = volume;
    if (mMusicInterface) mMusicInterface->SetVolume(mMuteCount > 0 ? 0.0 : mMusicVolume);
}

void OrvaneAppBase::SetSfxVolume(double volume) {
    mSfxVolume = volume;
    if (mSoundManager) mSoundManager->SetVolume(mMuteCount > 0 ? 0.0 : mSfxVolume);
}

void OrvaneAppBase::SetMasterVolume(double volume) {
    mSfxVolume = volume;
    if (mSoundManager) mSoundManager->SetSystemVolume(volume);
}

double OrvaneAppBase::GetMasterVolume() {
    return mSoundManager ? mSoundManager->GetSystemVolume() : 1.0;
}

void OrvaneAppBase::Mute(bool autoMute) {
    ++mMuteCount;
    if (autoMute) ++mAutoMuteCount;
    SetMusicVolume(mMusicVolume);
    SetSfxVolume(mSfxVolume);
}

void OrvaneAppBase::Unmute(bool autoMute) {
    if (mMuteCount <= 0) return;
    --mMuteCount;
    if (autoMute && mAutoMuteCount > 0) --mAutoMuteCount;
    SetMusicVolume(mMusicVolume);
    SetSfxVolume(mSfxVolume);
}

void OrvaneAppBase::PlaySoundEffect(int soundId) {
    if (!mSoundManager) return;
    SoundInstance* instance = mSoundManager->CreateInstance(soundId);
    if (!instance) return;
    instance->Play(false, true);
}

void OrvaneAppBase::PlaySoundEffect(int soundId, int pan) {
    if (!mSoundManager) return;
    SoundInstance* instance = mSoundManager->CreateInstance(soundId);
    if (!instance) return;
    instance->SetPan(pan);
    instance->Play(false, true);
}

}  // namespace Orvane
