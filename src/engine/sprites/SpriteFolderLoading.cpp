// Counting and loading whole image folders, one file per step, so that the loading screen can
// show its progress between the steps. Runs on the loading thread.
#include "engine/sprites/SpriteManager.h"

#include "engine/config/Config.h"
#include "framework/pak/PakInterface.h"

#include <cstdio>

namespace {

// The picture kinds a folder is scanned for, in this order.
constexpr std::array<const char*, 4> kImagePatterns = {"*.png", "*.jpg", "*.tga", "*.bmp"};

// Files (not folders) matching folder + pattern, in the file layer's order.
template <typename Visit>
void ForEachImageFile(const std::string& folder, Visit visit) {
    for (const char* pattern : kImagePatterns) {
        for (const Orvane::FindEntry& entry : Orvane::FindAllFiles(folder + pattern)) {
            if (!entry.isDirectory) visit(entry.name);
        }
    }
}

}  // namespace

int CSpriteManager::CountImageFiles(const std::string& folder) {
    int count = 0;
    ForEachImageFile(folder, [&count](const std::string&) { ++count; });
    return count;
}

bool CSpriteManager::LoadFolderStep(const std::string& folder, int kind) {
    // The brightness option is only written for the options file's sake; nothing reads it.
    std::string brightness;
    if (!ConfigGetString("VIDEO", "Brightness", brightness)) {
        char value[64];
        std::snprintf(value, sizeof value, "%f", static_cast<double>(brightness_));
        ConfigSetString("VIDEO", "Brightness", value);
    }

    if (kind & 1) {
        pendingFiles_.clear();
        pendingIndex_ = 0;
        ForEachImageFile(folder, [this](const std::string& name) { pendingFiles_.push_back(name); });
        if (pendingIndex_ < pendingFiles_.size()) {
            ++pendingIndex_;
            LoadImage(folder, pendingFiles_[pendingIndex_ - 1]);
            return true;
        }
    }
    if (kind & 2) {
        if (pendingIndex_ < pendingFiles_.size()) {
            ++pendingIndex_;
            LoadImage(folder, pendingFiles_[pendingIndex_ - 1]);
            return true;
        }
    }
    return false;
}
