// The settings store under the registry key: window, volume and start-up values.
#include "framework/app/OrvaneAppBase.h"

#include "framework/platform/SettingsStore.h"

#include <cmath>

namespace Orvane {

namespace {

SettingsStore& Store() { return GetPlatform().Settings(); }

// Percent values outside 0..100 come from a damaged store: keep them in range.
double PercentToVolume(int percent) {
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    return percent / 100.0;
}

}  // namespace

bool OrvaneAppBase::WriteSettingInt(const std::string& name, int value) {
    if (mRegistryKey.empty()) return false;
    Store().SetRegistryKey(mRegistryKey);
    return Store().WriteInt(name, value);
}

bool OrvaneAppBase::WriteSettingBool(const std::string& name, bool value) {
    if (mRegistryKey.empty()) return false;
    Store().SetRegistryKey(mRegistryKey);
    return Store().WriteBool(name, value);
}

bool OrvaneAppBase::ReadSettingInt(const std::string& name, int& value) {
    if (mRegistryKey.empty()) return false;
    Store().SetRegistryKey(mRegistryKey);
    return Store().ReadInt(name, value);
}

bool OrvaneAppBase::ReadSettingBool(const std::string& name, bool& value) {
    if (mRegistryKey.empty()) return false;
    Store().SetRegistryKey(mRegistryKey);
    return Store().ReadBool(name, value);
}

bool OrvaneAppBase::EraseSetting(const std::string& name) {
    if (mRegistryKey.empty()) return false;
    Store().SetRegistryKey(mRegistryKey);
    return Store().Erase(name);
}

void OrvaneAppBase::LoadSettings() {
    mReadFromSettings = true;
    mRegistryKey = GetString("RegistryKey", mRegistryKey);
    if (mRegistryKey.empty()) return;

    int value = 0;
    if (ReadSettingInt("MusicVolume", value)) mMusicVolume = PercentToVolume(value);
    if (ReadSettingInt("SfxVolume", value)) mSfxVolume = PercentToVolume(value);
    if (ReadSettingInt("Muted", value)) mMuteCount = value > 0 ? value : 0;
    if (ReadSettingInt("ScreenMode", value)) mIsWindowed = value == 0;
    if (ReadSettingInt("PreferredX", value)) mPreferredX = value;
    if (ReadSettingInt("PreferredY", value)) mPreferredY = value;
    if (ReadSettingInt("WindowWidth", value)) mWindowedWidth = value;
    if (ReadSettingInt("WindowHeight", value)) mWindowedHeight = value;
    if (ReadSettingInt("CustomCursors", value)) EnableCustomCursors(value != 0);
    bool flag = false;
    if (ReadSettingBool("WaitForVSync", flag)) mWaitForVSync = flag;
    if (ReadSettingInt("InProgress", value)) mLastShutdownWasGraceful = value == 0;

    // Cleared again by a clean shutdown, so the next run knows whether this one crashed.
    WriteSettingInt("InProgress", 1);
}

void OrvaneAppBase::SaveSettings() {
    if (mRegistryKey.empty()) return;
    WriteSettingInt("MusicVolume", static_cast<int>(std::trunc(mMusicVolume * 100)));
    WriteSettingInt("SfxVolume", static_cast<int>(std::trunc(mSfxVolume * 100)));
    // Only the user's own mutes are remembered, not the automatic focus mute.
    WriteSettingInt("Muted", (mMuteCount - mAutoMuteCount) > 0 ? 1 : 0);
    WriteSettingInt("ScreenMode", mIsWindowed ? 0 : 1);
    WriteSettingInt("PreferredX", mPreferredX);
    WriteSettingInt("PreferredY", mPreferredY);
    // The window's size as the player left it (the platform knows it once there was a window).
    GetPlatform().GetWindowedClientSize(mWindowedWidth, mWindowedHeight);
    if (mWindowedWidth > 0 && mWindowedHeight > 0) {
        WriteSettingInt("WindowWidth", mWindowedWidth);
        WriteSettingInt("WindowHeight", mWindowedHeight);
    }
    WriteSettingInt("CustomCursors", mCustomCursorsEnabled ? 1 : 0);
    WriteSettingInt("InProgress", 0);
    WriteSettingBool("WaitForVSync", mWaitForVSync);
}

}  // namespace Orvane
