// Adding effects, advancing them by the clock, and clearing the list.
#include "engine/effects/Effect2d.h"

#include "engine/audio/SoundEvents.h"
#include "framework/core/Random.h"
#include "framework/platform/Platform.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr float kPi = 3.14159265f;

void CopyText(char (&dest)[EffectRecord::kTextSize], const std::string& text) {
    const size_t n = std::min(text.size(), EffectRecord::kTextSize - 1);
    std::memcpy(dest, text.data(), n);
    dest[n] = '\0';
}

float RandomUnit() {
    return static_cast<float>(Orvane::Rand15()) / static_cast<float>(Orvane::Random15::kMax);
}

}  // namespace

uint32_t WhiteAtOpacity(float a) {
    if (!(a > 0.0f)) a = 0.0f;
    if (a > 1.0f) a = 1.0f;
    const uint32_t alpha = static_cast<uint32_t>(static_cast<int>(a * 255.0f) + 1);
    return (alpha << 24) | 0xFFFFFFu;
}

CEffect2d::CEffect2d(CSpriteManager& sprites, SoundPlayer soundPlayer)
    : sprites_(sprites), soundPlayer_(std::move(soundPlayer)) {
    Clear();
}

CEffect2d::~CEffect2d() = default;

CEffect2d& EffectList() {
    // The program's list plays its timed sounds through the audio manager's sound events.
    static CEffect2d instance(SpriteManager(), PlaySoundEventOnce);
    return instance;
}

void SetEffectDensity(bool hardware3D) { EffectList().SetDensity(hardware3D); }

void CEffect2d::SetSoundPlayer(SoundPlayer player) { soundPlayer_ = std::move(player); }

float CEffect2d::Now() const {
    const uint32_t elapsed = Orvane::GetPlatform().TimeMs() - epochMs_;
    return static_cast<float>(static_cast<double>(elapsed) * 0.001);
}

void CEffect2d::Clear() {
    epochMs_ = Orvane::GetPlatform().TimeMs();
    lastUpdate_ = Now();
    count_ = 0;
}

// --- Adding -----------------------------------------------------------------------------

EffectRecord* CEffect2d::Append(int kind, int layer, float delay, float duration) {
    if (count_ >= kMaxEffects) return nullptr;
    EffectRecord& e = effects_[static_cast<size_t>(count_)];
    e = EffectRecord{};
    e.kind = kind;
    e.layer = layer;
    e.t = 0.0f;
    e.startTime = Now() + delay;
    e.duration = duration;
    e.pending = true;
    ++count_;
    return &e;
}

bool CEffect2d::AddRisingText(int layer, float delay, float duration, float x, float y,
                              const std::string& text, bool digits) {
    EffectRecord* e = Append(EFFECT_RISING_TEXT, layer, delay, duration);
    if (e == nullptr) return false;
    e->x = x;
    e->y = y;
    CopyText(e->text, text);
    e->digits = digits;
    return true;
}

bool CEffect2d::AddGrowingImage(int layer, float delay, float duration, float x, float y,
                                float w, float h, Orvane::Image* image) {
    EffectRecord* e = Append(EFFECT_GROWING_IMAGE, layer, delay, duration);
    if (e == nullptr) return false;
    e->x = x;
    e->y = y;
    e->x2 = w;
    e->y2 = h;
    e->image = image;
    return true;
}

bool CEffect2d::AddFloatAnimation(float delay, float duration, float from, float to,
                                  float* target) {
    EffectRecord* e = Append(EFFECT_FLOAT_ANIMATION, -1, delay, duration);
    if (e == nullptr) return false;
    e->from = from;
    e->to = to;
    e->target = target;
    return true;
}

bool CEffect2d::AddSlidingText(int layer, float delay, float duration, float x, float y,
                               const std::string& text, float yOffset) {
    EffectRecord* e = Append(EFFECT_SLIDING_TEXT, layer, delay, duration);
    if (e == nullptr) return false;
    e->x = x;
    e->y = y;
    CopyText(e->text, text);
    e->yOffset = yOffset;
    return true;
}

bool CEffect2d::AddShrinkingImage(int layer, float delay, float duration, float x, float y,
                                  float w, float h, Orvane::Image* image) {
    EffectRecord* e = Append(EFFECT_SHRINKING_IMAGE, layer, delay, duration);
    if (e == nullptr) return false;
    e->x = x;
    e->y = y;
    e->x2 = w;
    e->y2 = h;
    e->image = image;
    return true;
}

bool CEffect2d::AddTimedSound(float delay, const std::string& eventName) {
    EffectRecord* e = Append(EFFECT_TIMED_SOUND, -1, delay, 1.0f);
    if (e == nullptr) return false;
    CopyText(e->text, eventName);
    return true;
}

bool CEffect2d::AddFadingText(int layer, float delay, float duration, float x, float y,
                              const std::string& text, bool digits) {
    EffectRecord* e = Append(EFFECT_FADING_TEXT, layer, delay, duration);
    if (e == nullptr) return false;
    e->x = x;
    e->y = y;
    CopyText(e->text, text);
    e->digits = digits;
    return true;
}

bool CEffect2d::AddAnimatedSprite(int layer, float delay, float duration, float x, float y,
                                  Orvane::Image* image, int columns, int rows, float speed) {
    EffectRecord* e = Append(EFFECT_ANIMATED_SPRITE, layer, delay, duration);
    if (e == nullptr) return false;
    e->x = x;
    e->y = y;
    e->image = image;
    e->columns = columns;
    e->rows = rows;
    e->speed = speed;
    return true;
}

bool CEffect2d::AddParticleBurst(int layer, float delay, float duration, float x, float y,
                                 float particleSize, float radius, Orvane::Image* image,
                                 bool ring) {
    EffectRecord* e = Append(EFFECT_PARTICLE_BURST, layer, delay, duration);
    if (e == nullptr) return false;
    e->x = x;
    e->y = y;
    e->particleSize = particleSize;
    e->radius = radius;
    e->image = image;
    const int n = std::clamp(density_, 0, EffectRecord::kMaxParticles);
    for (int p = 0; p < n; ++p) {
        EffectParticle& particle = e->particles[static_cast<size_t>(p)];
        particle.size = particleSize;
        particle.spin = RandomUnit() * 2.0f - 1.0f;
        (void)Orvane::Rand15();   // drawn and unused: keeps the generator's sequence
        if (ring) {
            particle.speed = 1.0f;
            particle.angle = 2.0f * kPi * static_cast<float>(p) / static_cast<float>(n);
        } else {
            particle.speed = RandomUnit() * 0.5f + 0.5f;
            particle.angle = static_cast<float>(Orvane::Rand15()) * 2.0f * kPi /
                             static_cast<float>(Orvane::Random15::kMax);
        }
    }
    e->particleCount = n;
    return true;
}

bool CEffect2d::AddFollowingImage(int layer, float delay, float duration, const float* px,
                                  const float* py, Orvane::Image* image) {
    EffectRecord* e = Append(EFFECT_FOLLOWING_IMAGE, layer, delay, duration);
    if (e == nullptr) return false;
    e->px = px;
    e->py = py;
    e->image = image;
    return true;
}

bool CEffect2d::AddFlyingText(int layer, float delay, float duration, float x, float y,
                              float x2, float y2, const std::string& text, bool digits) {
    EffectRecord* e = Append(EFFECT_FLYING_TEXT, layer, delay, duration);
    if (e == nullptr) return false;
    e->x = x;
    e->y = y;
    e->x2 = x2;
    e->y2 = y2;
    CopyText(e->text, text);
    e->digits = digits;
    return true;
}

bool CEffect2d::AddTitleText(int layer, float delay, float duration, float x, float y,
                             const std::string& text) {
    EffectRecord* e = Append(EFFECT_TITLE_TEXT, layer, delay, duration);
    if (e == nullptr) return false;
    e->x = x;
    e->y = y;
    CopyText(e->text, text);
    return true;
}

bool CEffect2d::AddTimedAddition(float delay, int amount, int32_t* target) {
    EffectRecord* e = Append(EFFECT_TIMED_ADDITION, -1, delay, 1.0f);
    if (e == nullptr) return false;
    e->amount = amount;
    e->intTarget = target;
    return true;
}

// --- Running ----------------------------------------------------------------------------

void CEffect2d::Start(EffectRecord& e) {
    switch (e.kind) {
    case EFFECT_FLOAT_ANIMATION:
        if (e.target != nullptr) *e.target = e.from;
        break;
    case EFFECT_TIMED_ADDITION:
        if (e.intTarget != nullptr) {
            // Saturating: a score never wraps round to a negative value.
            const int64_t sum = static_cast<int64_t>(*e.intTarget) + e.amount;
            *e.intTarget = static_cast<int32_t>(
                std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                    std::numeric_limits<int32_t>::max()));
        }
        break;
    case EFFECT_TIMED_SOUND:
        if (soundPlayer_ && e.text[0] != '\0') soundPlayer_(e.text);
        break;
    default:
        break;
    }
}

void CEffect2d::Remove(int index) {
    for (int i = index; i + 1 < count_; ++i) {
        effects_[static_cast<size_t>(i)] = effects_[static_cast<size_t>(i + 1)];
    }
    --count_;
}

void CEffect2d::Update() {
    const float now = Now();
    const float dt = now - lastUpdate_;
    lastUpdate_ = now;

    for (int i = 0; i < count_;) {
        EffectRecord& e = effects_[static_cast<size_t>(i)];
        // A duration of exactly 0 never starts (and stays until Clear).
        if (e.duration == 0.0f || e.startTime > now) {
            ++i;
            continue;
        }
        if (e.pending) {
            // The update that starts an effect runs its start action only.
            e.pending = false;
            Start(e);
            ++i;
            continue;
        }
        if (e.t == 0.0f) e.finished = false;
        if (e.finished) {
            Remove(i);   // the next effect moved into place i
            continue;
        }
        e.t += dt / e.duration;
        // A negative or undefined duration would never end and hold up the game: end it.
        if (e.t >= 1.0f || !(e.duration > 0.0f) || std::isnan(e.t)) {
            e.t = 1.0f;
            e.finished = true;
        }
        if (e.kind == EFFECT_FLOAT_ANIMATION && e.target != nullptr) {
            *e.target = e.finished ? e.to : (1.0f - e.t) * e.from + e.t * e.to;
        }
        ++i;
    }
}
