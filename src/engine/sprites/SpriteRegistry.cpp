// Registration, look-up and release of the registry's pictures, the drawing context and the
// environment the registry works in.
#include "engine/sprites/SpriteManager.h"

#include "engine/config/Config.h"
#include "engine/log/Log.h"
#include "framework/app/OrvaneAppBase.h"
#include "framework/graphics/ImageLoader.h"

#include <cstdio>

CSpriteManager::CSpriteManager() = default;

CSpriteManager::~CSpriteManager() = default;

CSpriteManager& SpriteManager() {
    static CSpriteManager instance;
    return instance;
}

// --- Environment -----------------------------------------------------------------------

void CSpriteManager::SetImageLoader(ImageLoader loader) { imageLoader_ = std::move(loader); }

void CSpriteManager::SetAccelerationQuery(AccelerationQuery query) {
    accelerationQuery_ = std::move(query);
}

void CSpriteManager::SetTextLookup(TextLookup lookup) { textLookup_ = std::move(lookup); }

std::unique_ptr<Orvane::Image> CSpriteManager::LoadPicture(const std::string& path) const {
    if (imageLoader_) return imageLoader_(path);
    if (Orvane::OrvaneAppBase* app = Orvane::GetApp()) return app->LoadImageFile(path, true);
    return Orvane::LoadImageFile(path);
}

bool CSpriteManager::IsAccelerated() const {
    if (accelerationQuery_) return accelerationQuery_();
    const Orvane::OrvaneAppBase* app = Orvane::GetApp();
    return app != nullptr && app->IsHardwareAccelerated();
}

std::string CSpriteManager::Translate(const std::string& key) const {
    return textLookup_ ? textLookup_(key) : LangText(key);
}

// --- Drawing context -------------------------------------------------------------------

void CSpriteManager::SetDrawContext(uint32_t window, Orvane::Graphics* g) {
    window_ = window;
    graphics_ = g;
}

CSpriteManager::ScreenRect CSpriteManager::GetScreenRect() const {
    ScreenRect rect;
    rect.width = kLogicalWidth;
    rect.height = kLogicalHeight;
    if (const Orvane::OrvaneAppBase* app = Orvane::GetApp()) {
        if (app->mWidth > 0 && app->mHeight > 0) {
            rect.width = app->mWidth;
            rect.height = app->mHeight;
        }
    }
    // The window shows the logical screen; a larger full-screen window scales it (letterbox)
    // and maps the mouse back, so the client area counts in logical pixels too.
    rect.clientWidth = rect.width;
    rect.clientHeight = rect.height;
    return rect;
}

CSpriteManager::ImageSize CSpriteManager::GetImageSize(const Orvane::Image* image) {
    if (image == nullptr) return {};
    return {image->GetWidth(), image->GetHeight()};
}

// --- Registry --------------------------------------------------------------------------

int CSpriteManager::Find(const std::string& name) const {
    const int count = textureCount_.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i) {
        if (textures_[static_cast<size_t>(i)].name == name) return i;
    }
    return -1;
}

void CSpriteManager::LoadImage(const std::string& folder, const std::string& file) {
    Register(folder + file);
}

int CSpriteManager::Register(const std::string& path) {
    std::lock_guard<std::mutex> lock(registerMutex_);
    const int count = textureCount_.load(std::memory_order_relaxed);
    if (count >= kMaxTextures) {
        LogWrite("Overflow error: maximum textures count", 0);
        return Find(path);
    }
    // Only this thread appends while the lock is held, so the search sees every entry.
    const int existing = Find(path);
    if (existing >= 0) return existing;

    // A name the table cannot hold is never registered (it could not be told apart).
    std::unique_ptr<Orvane::Image> image;
    if (path.size() <= kMaxNameLength) image = LoadPicture(path);
    if (!image) {
        LogWrite("Loading image: '" + path + "' ... FAILED", 0);
        return -1;
    }

    TextureEntry& entry = textures_[static_cast<size_t>(count)];
    entry.image = std::move(image);
    entry.name = path;
    // Published last: readers see the entry only once it is complete.
    textureCount_.store(count + 1, std::memory_order_release);

    char line[400];
    std::snprintf(line, sizeof line, "Loading image: '%s' ... OK (%d loaded) (%s)", path.c_str(),
                  count + 1, "32 bit");
    LogWrite(line, 0);
    return count;
}

Orvane::Image* CSpriteManager::GetTexture(const std::string& name) {
    return TextureByHandle(GetTextureHandle(name));
}

int CSpriteManager::GetTextureHandle(const std::string& name) {
    const int found = Find(name);
    if (found >= 0) return found;
    // A miss loads the file; a name that cannot be loaded is tried again on every look-up.
    return Register(name);
}

Orvane::Image* CSpriteManager::TextureByHandle(int handle) const {
    if (handle < 0 || handle >= TextureCount()) return nullptr;
    return textures_[static_cast<size_t>(handle)].image.get();
}

void CSpriteManager::DeleteAllTextures() {
    {
        std::lock_guard<std::mutex> lock(registerMutex_);
        const int count = textureCount_.load(std::memory_order_relaxed);
        textureCount_.store(0, std::memory_order_release);
        for (int i = 0; i < count; ++i) {
            TextureEntry& entry = textures_[static_cast<size_t>(i)];
            entry.image.reset();
            entry.name.clear();
        }
    }
    {
        // The font's picture was one of them.
        std::unique_lock<std::shared_mutex> lock(fontMutex_);
        symbolTexture_ = nullptr;
    }
    LogWrite("CSpriteManager::DeleteAllTextures()", 0);
}

std::string CSpriteManager::TextureName(int i) const {
    if (i < 0 || i >= TextureCount()) return "";
    return textures_[static_cast<size_t>(i)].name;
}
