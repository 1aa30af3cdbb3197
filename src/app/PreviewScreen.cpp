#include "app/PreviewScreen.h"

#include "app/PreviewApp.h"
#include "engine/audio/SoundEvents.h"
#include "engine/effects/Effect2d.h"
#include "engine/sprites/SpriteManager.h"
#include "framework/core/Random.h"
#include "framework/graphics/Graphics.h"
#include "framework/platform/Platform.h"
#include "framework/platform/WindowMessage.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kLogo = "English\\logo.png";
constexpr const char* kPoseSuffix = "_1.png";
constexpr const char* kMaskSuffix = "_mask.png";
// The burst pictures of the effects that sparkle now and then.
constexpr const char* kSparkles[] = {"Graphics\\particle1.png", "Graphics\\particle2.png",
                                     "Graphics\\star-rotation.png"};

// The parade walks along the bottom of the screen, left to right.
constexpr float kParadeY = 0.905f;
constexpr float kParadeSpacingPx = 96.0f;
constexpr float kParadeSpeedPx = 55.0f;      // pixels a second
constexpr float kHopHeight = 0.012f;         // screen heights
constexpr float kHopsPerSecond = 2.2f;
// Effect layers: the sparkles and greetings lie behind the menus, titles over everything.
constexpr int kBackLayer = 0;
constexpr int kFrontLayer = 1;
// Effects start every 2.5 to 4.5 seconds.
constexpr uint32_t kEffectPauseMs = 2500;
constexpr uint32_t kEffectPauseSpreadMs = 2000;

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A random fraction lo..hi from the framework's 15-bit generator.
float RandomBetween(float lo, float hi) {
    return lo + (hi - lo) * static_cast<float>(Orvane::Rand15()) / 32767.0f;
}

// The class name of a pose picture: "Graphics\Shapes\lion_1.png" -> "lion".
std::string ClassOf(const std::string& picture) {
    const size_t slash = picture.find_last_of('\\');
    std::string name = picture.substr(slash == std::string::npos ? 0 : slash + 1);
    const size_t underscore = name.rfind('_');
    return underscore == std::string::npos ? name : name.substr(0, underscore);
}

}  // namespace

PreviewScreen::PreviewScreen(PreviewApp& app) : app_(app) { mWantsFocus = true; }

void PreviewScreen::StartShow() {
    // One pose of every class that loaded, in the registry's (folder) order.
    parade_.clear();
    const std::string folder = kShapesFolder;
    CSpriteManager& sprites = SpriteManager();
    for (int i = 0; i < sprites.TextureCount(); ++i) {
        const std::string name = sprites.TextureName(i);
        if (name.compare(0, folder.size(), folder) != 0) continue;
        if (EndsWith(name, kMaskSuffix) || !EndsWith(name, kPoseSuffix)) continue;
        parade_.push_back(name);
    }
    lastTickMs_ = Orvane::GetPlatform().TimeMs();
    walkedMs_ = 0;
    nextEffectMs_ = lastTickMs_ + 1500;
    showing_ = true;
}

void PreviewScreen::ShowComingSoon() {
    EffectList().AddTitleText(kFrontLayer, 0.0f, 2.5f, 0.5f, 0.5f, "Coming soon");
}

void PreviewScreen::Update() {
    Widget::Update();
    MarkDirty();
    if (!app_.ResourcesReady()) {
        EffectList().Update();   // nothing but the fade may run before the show
        return;
    }
    const uint32_t now = Orvane::GetPlatform().TimeMs();
    if (!app_.ParadePaused()) walkedMs_ += now - lastTickMs_;
    lastTickMs_ = now;
    if (static_cast<int32_t>(now - nextEffectMs_) >= 0) {
        AddSomeEffects();
        nextEffectMs_ = now + kEffectPauseMs +
                        static_cast<uint32_t>(RandomBetween(0.0f, kEffectPauseSpreadMs));
    }
    EffectList().Update();
}

void PreviewScreen::AddSomeEffects() {
    CSpriteManager& sprites = SpriteManager();
    // A burst of sparkles over the meadow right of the buttons (behind the menus).
    const float x = RandomBetween(0.45f, 0.95f);
    const float y = RandomBetween(0.35f, 0.75f);
    const char* sparkle = kSparkles[Orvane::Rand15() % std::size(kSparkles)];
    EffectList().AddParticleBurst(kBackLayer, 0.0f, 1.2f, x, y, 0.05f, 0.12f, sprites.GetTexture(sparkle),
                                  Orvane::Rand15() % 3 == 0);
    // Now and then an animal of the parade greets with its name.
    if (parade_.empty() || Orvane::Rand15() % 2 != 0) return;
    const size_t i = Orvane::Rand15() % parade_.size();
    float ax = 0.0f, ay = 0.0f;
    ParadePosition(i, ax, ay);
    if (ax < 0.05f || ax > 0.95f) return;
    EffectList().AddRisingText(kBackLayer, 0.0f, 1.5f, ax, ay - 0.08f, ClassOf(parade_[i]), false);
    EffectList().AddGrowingImage(kBackLayer, 0.0f, 0.6f, ax, ay, 0.09f, 0.12f,
                                 sprites.GetTexture(parade_[i]));
}

void PreviewScreen::ParadePosition(size_t i, float& x, float& y) const {
    const float width = static_cast<float>(CSpriteManager::kLogicalWidth);
    const float loop = std::max(width + kParadeSpacingPx,
                                kParadeSpacingPx * static_cast<float>(parade_.size()));
    const float walked = static_cast<float>(walkedMs_) * 0.001f * kParadeSpeedPx;
    // Each animal enters at the left edge, one spacing after the one before it.
    const float along = std::fmod(walked + loop - kParadeSpacingPx * static_cast<float>(i), loop);
    x = (along - kParadeSpacingPx * 0.5f) / width;
    const float phase = static_cast<float>(walkedMs_) * 0.001f * kHopsPerSecond +
                        0.37f * static_cast<float>(i);
    y = kParadeY - kHopHeight * std::fabs(std::sin(phase * 3.14159265f));
}

void PreviewScreen::Draw(Orvane::Graphics& g) {
    SpriteManager().SetDrawContext(app_.MainWindowId(), &g);
    g.SetColor(Orvane::Color(0, 0, 0));
    g.FillRect(0, 0, mWidth, mHeight);
    if (showing_) {
        DrawShow();
    } else {
        DrawLoadingScreen();
    }
    DrawFadeVeil(g);
}

void PreviewScreen::DrawLoadingScreen() {
    CSpriteManager& sprites = SpriteManager();
    sprites.DrawSprite(sprites.GetTexture(kBackground), 0.5f, 0.5f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f,
                       1.0f, kNoTint, SPRITE_NATURAL_SIZE, 0.0f);
    // The logo lives in the language folder, loaded last: looking it up registers it now.
    sprites.DrawSprite(sprites.GetTexture(kLogo), 0.5f, 0.165f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f,
                       1.0f, kNoTint, SPRITE_NATURAL_SIZE, 0.0f);
    sprites.DrawProgressBar(sprites.GetTexture(kLoadingEmpty), sprites.GetTexture(kLoadingFull),
                            0.5f, 0.75f, 0.25f, 0.09f, app_.LoadingPercent(),
                            BAR_FILL_RIGHT | BAR_NATURAL_SIZE);
}

void PreviewScreen::DrawShow() {
    CSpriteManager& sprites = SpriteManager();
    sprites.DrawSprite(sprites.GetTexture(kBackground), 0.5f, 0.5f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f,
                       1.0f, kNoTint, SPRITE_NATURAL_SIZE, 0.0f);
    DrawParade();
    EffectList().Draw(kBackLayer);
    sprites.DrawSprite(sprites.GetTexture(kLogo), 0.5f, 0.165f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f,
                       1.0f, kNoTint, SPRITE_NATURAL_SIZE, 0.0f);
    app_.MainMenu().DrawMenu();
    if (app_.OptionsShown()) app_.OptionsMenu().DrawMenu();
    EffectList().Draw(kFrontLayer);
}

void PreviewScreen::DrawParade() {
    CSpriteManager& sprites = SpriteManager();
    for (size_t i = 0; i < parade_.size(); ++i) {
        float x = 0.0f, y = 0.0f;
        ParadePosition(i, x, y);
        if (x < -0.1f || x > 1.1f) continue;
        sprites.DrawSprite(sprites.GetTexture(parade_[i]), x, y, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f,
                           1.0f, kNoTint, SPRITE_NATURAL_SIZE, 0.0f);
    }
}

void PreviewScreen::DrawFadeVeil(Orvane::Graphics& g) {
    if (!showing_ || fade_ >= 1.0f) return;
    const int alpha = std::clamp(static_cast<int>((1.0f - fade_) * 255.0f), 0, 255);
    g.SetColor(Orvane::Color(0, 0, 0, alpha));
    g.FillRect(0, 0, mWidth, mHeight);
}

void PreviewScreen::Post(uint32_t message, uint32_t wParam, int x, int y) {
    Orvane::WindowMessage record;
    record.window = app_.MainWindowId();
    record.message = message;
    record.wParam = wParam;
    record.x = x;
    record.y = y;
    app_.HandleScreenMessage(record);
}

void PreviewScreen::KeyDown(int keyCode) {
    Post(Orvane::WM_KEYDOWN, static_cast<uint32_t>(keyCode), 0, 0);
}

void PreviewScreen::KeyChar(char c) {
    // Sign-extended, as the window-message record carries characters.
    Post(Orvane::WM_CHAR, static_cast<uint32_t>(static_cast<int32_t>(c)), 0, 0);
}

void PreviewScreen::MouseMove(int x, int y) { Post(Orvane::WM_MOUSEMOVE, 0, x, y); }

void PreviewScreen::MouseDrag(int x, int y) { Post(Orvane::WM_MOUSEMOVE, 0, x, y); }

void PreviewScreen::MouseDown(int x, int y, int) {
    Post(Orvane::WM_LBUTTONDOWN, 0, x, y);
    // A click on an animal of the parade lets it call.
    if (!showing_) return;
    for (size_t i = 0; i < parade_.size(); ++i) {
        float ax = 0.0f, ay = 0.0f;
        ParadePosition(i, ax, ay);
        if (std::fabs(ax * mWidth - x) < 32.0f && std::fabs(ay * mHeight - y) < 32.0f) {
            PlaySoundEventOnce("animal_" + ClassOf(parade_[i]));
            return;
        }
    }
}
