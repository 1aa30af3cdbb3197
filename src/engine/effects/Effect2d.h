// CEffect2d: the list of timed effects drawn over the screen (rising, flying, fading, sliding
// and title texts, growing and shrinking pictures, particle bursts, animated and following
// sprites) and of invisible timed actions (a float animated between two values, a sound event
// played later, an integer added later). Every effect has a start delay and a duration and is
// timed by the platform's millisecond clock, not by the frame loop. The game uses the list as
// its timer: a round waits until it is empty.
//
// The list is a fixed array of 150 records, in the order they were added (the drawing order);
// nothing is allocated while it runs. It draws through a sprite registry (engine/sprites).
//
//   Effect2d.cpp        adding, updating, clearing
//   EffectDrawing.cpp   drawing each kind
#pragma once

#include "engine/sprites/SpriteManager.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace Orvane { class Image; }

enum EffectKind {
    EFFECT_RISING_TEXT = 1,
    EFFECT_GROWING_IMAGE = 3,
    EFFECT_FLOAT_ANIMATION = 4,
    EFFECT_SLIDING_TEXT = 5,
    EFFECT_SHRINKING_IMAGE = 6,
    EFFECT_TIMED_SOUND = 7,
    EFFECT_FADING_TEXT = 8,
    EFFECT_ANIMATED_SPRITE = 9,
    EFFECT_PARTICLE_BURST = 10,
    EFFECT_FOLLOWING_IMAGE = 11,
    EFFECT_FLYING_TEXT = 12,
    EFFECT_TITLE_TEXT = 13,
    EFFECT_TIMED_ADDITION = 14,
};

struct EffectParticle {
    float angle = 0.0f;   // radians
    float speed = 0.0f;   // factor of the burst's radius
    float size = 0.0f;
    float spin = 0.0f;    // -1 .. 1
};

// One effect. Positions and sizes are fractions of the screen's width and height.
struct EffectRecord {
    static constexpr int kMaxParticles = 10;
    static constexpr size_t kTextSize = 256;

    int kind = 0;
    int layer = -1;                  // -1 for the invisible kinds
    const float* px = nullptr;       // followed point (following picture)
    const float* py = nullptr;
    float x = 0.0f;
    float y = 0.0f;
    float x2 = 0.0f;                 // target point (flying text) or full size (pictures)
    float y2 = 0.0f;
    float yOffset = 0.0f;            // sliding text
    char text[kTextSize] = {};       // text, figure or sound event name
    float t = 0.0f;                  // progress 0 .. 1
    float duration = 0.0f;           // seconds
    float startTime = 0.0f;          // seconds of the list's clock
    float particleSize = 0.0f;
    std::array<EffectParticle, kMaxParticles> particles{};
    int particleCount = 0;           // particles filled when the burst was added
    float radius = 0.0f;
    Orvane::Image* image = nullptr;
    float from = 0.0f;               // float animation
    float to = 0.0f;
    float* target = nullptr;
    int32_t* intTarget = nullptr;    // timed addition
    int amount = 0;
    bool finished = false;
    bool pending = true;             // from adding until the start action ran
    bool digits = false;             // draw the text with the digit strip
    int columns = 1;                 // animated sprite sheet
    int rows = 1;
    float speed = 0.0f;              // animated sprite: screen heights per second
};

class CEffect2d {
public:
    static constexpr int kMaxEffects = 150;
    // The picture of the digit figures.
    static constexpr const char* kDigitStrip = "Graphics\\digits.png";

    // Plays a sound event by name once; false when nothing played.
    using SoundPlayer = std::function<bool(const std::string& eventName)>;

    // Draws through sprites, which must outlive the list; plays timed sounds through
    // soundPlayer (none: silent).
    explicit CEffect2d(CSpriteManager& sprites, SoundPlayer soundPlayer = {});
    virtual ~CEffect2d();
    CEffect2d(const CEffect2d&) = delete;
    CEffect2d& operator=(const CEffect2d&) = delete;

    // The start action of timed sounds plays through this; without one nothing plays.
    void SetSoundPlayer(SoundPlayer player);

    // --- Adding: false (and nothing added) when the list already holds 150 effects. Texts
    // longer than 255 characters are cut.
    bool AddRisingText(int layer, float delay, float duration, float x, float y,
                       const std::string& text, bool digits);
    bool AddGrowingImage(int layer, float delay, float duration, float x, float y, float w,
                         float h, Orvane::Image* image);
    bool AddFloatAnimation(float delay, float duration, float from, float to, float* target);
    bool AddSlidingText(int layer, float delay, float duration, float x, float y,
                        const std::string& text, float yOffset);
    bool AddShrinkingImage(int layer, float delay, float duration, float x, float y, float w,
                           float h, Orvane::Image* image);
    bool AddTimedSound(float delay, const std::string& eventName);
    bool AddFadingText(int layer, float delay, float duration, float x, float y,
                       const std::string& text, bool digits);
    bool AddAnimatedSprite(int layer, float delay, float duration, float x, float y,
                           Orvane::Image* image, int columns, int rows, float speed);
    bool AddParticleBurst(int layer, float delay, float duration, float x, float y,
                          float particleSize, float radius, Orvane::Image* image, bool ring);
    bool AddFollowingImage(int layer, float delay, float duration, const float* px,
                           const float* py, Orvane::Image* image);
    bool AddFlyingText(int layer, float delay, float duration, float x, float y, float x2,
                       float y2, const std::string& text, bool digits);
    bool AddTitleText(int layer, float delay, float duration, float x, float y,
                      const std::string& text);
    bool AddTimedAddition(float delay, int amount, int32_t* target);

    // Advances every effect by the time since the last update: starts those whose time has
    // come, moves the running ones, removes those that finished on the previous update.
    void Update();
    // Draws the started effects of layer (and of layer -1) in list order.
    void Draw(int layer);
    bool IsEmpty() const { return count_ == 0; }
    // Removes every effect and restarts the list's clock.
    void Clear();

    // Particles per burst: 10 with hardware acceleration, 5 without.
    void SetDensity(bool hardware3D) { density_ = hardware3D ? 10 : 5; }
    int Density() const { return density_; }

    int Count() const { return count_; }
    // Effect i (0 .. Count() - 1) in list order.
    const EffectRecord& Effect(int i) const { return effects_[static_cast<size_t>(i)]; }
    // Seconds of the list's clock now.
    float Now() const;

private:
    // The next free record, filled with the fields every kind shares; none when full.
    EffectRecord* Append(int kind, int layer, float delay, float duration);
    void Start(EffectRecord& effect);
    void Remove(int index);
    void DrawOne(const EffectRecord& effect);
    void DrawFigure(const EffectRecord& effect, float x, float y, float textHeight, int textFlags,
                    uint32_t colour, float scale);

    CSpriteManager& sprites_;
    SoundPlayer soundPlayer_;
    int count_ = 0;
    int density_ = 10;
    std::array<EffectRecord, kMaxEffects> effects_{};
    float lastUpdate_ = 0.0f;
    // Millisecond reading the list's clock counts from (kept small so that single-precision
    // seconds stay exact to the millisecond); moved on by Clear, when no effect refers to it.
    uint32_t epochMs_ = 0;
};

// White at opacity a (0..1) as the effects pack it: ((int)(a x 255) + 1) << 24 in 32 bits, so
// full opacity wraps to the alpha byte 0, which reads as opaque.
uint32_t WhiteAtOpacity(float a);

// The process-wide effect list: draws through the process-wide registry and plays its timed
// sounds as sound events of the audio manager.
CEffect2d& EffectList();
// Particles per burst of the process-wide list: 10 when hardware3D, else 5.
void SetEffectDensity(bool hardware3D);
