// The music: composes the calm theme as a MIDI file, and after fluidsynth has rendered it
// with the General MIDI soundfont, turns the rendering into a seamless loop and encodes it.
//   gen_music midi <out.mid>
//   gen_music encode <rendered.wav> <out.ogg>
//
// The theme is 32 bars of 4/4 at 96 beats a minute (exactly 80 s): a flute tune over nylon
// guitar arpeggios, bass and soft strings, with a middle part on the vibraphone. The
// rendering is two bars longer than the loop; that tail (the last notes dying away) is mixed
// onto the start, so the loop point joins without a click or a gap.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Audio.h"

using namespace content;

namespace {

constexpr int kTicks = 480;          // per quarter note
constexpr int kTempo = 625000;       // microseconds per quarter: 96 per minute
constexpr int kBars = 32;
constexpr int kLoopSamples = 44100 * 80;  // 128 quarters at 96 per minute

struct Event {
  int tick;
  int order;  // note-offs before note-ons at the same tick
  std::vector<uint8_t> bytes;
};

struct Chord { int root; bool minor; };

class Song {
 public:
  void Note(int channel, int pitch, double beat, double length, int velocity) {
    const int on = static_cast<int>(std::lround(beat * kTicks));
    const int off = static_cast<int>(std::lround((beat + length) * kTicks)) - 8;
    events_.push_back({on, 1, {static_cast<uint8_t>(0x90 | channel), static_cast<uint8_t>(pitch),
                               static_cast<uint8_t>(velocity)}});
    events_.push_back({off, 0, {static_cast<uint8_t>(0x80 | channel), static_cast<uint8_t>(pitch), 0}});
  }
  void Control(int channel, int tick, int controller, int value) {
    events_.push_back({tick, 0, {static_cast<uint8_t>(0xB0 | channel), static_cast<uint8_t>(controller),
                                 static_cast<uint8_t>(value)}});
  }
  void Program(int channel, int program) {
    events_.push_back({0, 0, {static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(program)}});
  }
  bool Write(const std::string& path, int endTick) {
    std::stable_sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) {
      return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> track;
    auto varlen = [&](uint32_t v) {
      uint8_t buf[5];
      int n = 0;
      buf[n++] = v & 0x7F;
      while (v >>= 7) buf[n++] = 0x80 | (v & 0x7F);
      while (n) track.push_back(buf[--n]);
    };
    // Tempo.
    varlen(0);
    track.insert(track.end(), {0xFF, 0x51, 0x03, (kTempo >> 16) & 0xFF, (kTempo >> 8) & 0xFF, kTempo & 0xFF});
    int last = 0;
    for (const Event& e : events_) {
      varlen(static_cast<uint32_t>(e.tick - last));
      last = e.tick;
      track.insert(track.end(), e.bytes.begin(), e.bytes.end());
    }
    varlen(static_cast<uint32_t>(std::max(0, endTick - last)));
    track.insert(track.end(), {0xFF, 0x2F, 0x00});
    std::ofstream out(path, std::ios::binary);
    const uint8_t header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, (kTicks >> 8) & 0xFF, kTicks & 0xFF};
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    const uint32_t n = static_cast<uint32_t>(track.size());
    const uint8_t th[] = {'M', 'T', 'r', 'k', static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                          static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)};
    out.write(reinterpret_cast<const char*>(th), sizeof th);
    out.write(reinterpret_cast<const char*>(track.data()), track.size());
    return static_cast<bool>(out);
  }

 private:
  std::vector<Event> events_;
};

// Melody notes: MIDI pitch, beat within the bar, length in beats.
struct Tone { int pitch; double beat; double length; };

const Chord C{48, false}, Am{45, true}, F{41, false}, G{43, false}, Dm{50, true}, Em{40, true};

int Compose(const std::string& path) {
  // Two chords per bar (first half, second half).
  const Chord chords[kBars][2] = {
      {C, C}, {Am, Am}, {F, F}, {G, G}, {C, C}, {Am, Am}, {Dm, Dm}, {G, G},      // A
      {C, C}, {Am, Am}, {F, F}, {G, G}, {C, C}, {Am, Am}, {F, G}, {C, C},        // A'
      {F, F}, {G, G}, {Em, Em}, {Am, Am}, {F, F}, {G, G}, {Am, Am}, {G, G},      // B
      {C, C}, {Am, Am}, {F, F}, {G, G}, {C, C}, {Am, Am}, {F, G}, {C, C}};       // A''
  const std::vector<Tone> a[8] = {
      {{79, 0, 1.5}, {76, 1.5, 0.5}, {72, 2, 1}, {76, 3, 1}},
      {{81, 0, 1.5}, {79, 1.5, 0.5}, {76, 2, 2}},
      {{77, 0, 1}, {81, 1, 1}, {84, 2, 1.5}, {81, 3.5, 0.5}},
      {{79, 0, 3}, {74, 3, 1}},
      {{76, 0, 1.5}, {79, 1.5, 0.5}, {84, 2, 1}, {83, 3, 1}},
      {{81, 0, 1}, {76, 1, 1}, {72, 2, 2}},
      {{74, 0, 1}, {77, 1, 1}, {81, 2, 1}, {79, 3, 1}},
      {{79, 0, 2}, {74, 2, 2}}};
  const std::vector<Tone> endA1[2] = {{{77, 0, 1}, {76, 1, 1}, {74, 2, 2}}, {{72, 0, 3}}};
  const std::vector<Tone> endA2[2] = {{{77, 0, 1}, {81, 1, 1}, {79, 2, 1}, {74, 3, 1}}, {{72, 0, 3.5}}};
  const std::vector<Tone> b[8] = {
      {{81, 0, 1}, {84, 1, 1}, {81, 2, 1}, {77, 3, 1}},
      {{79, 0, 1}, {83, 1, 1}, {86, 2, 2}},
      {{88, 0, 1.5}, {86, 1.5, 0.5}, {83, 2, 2}},
      {{84, 0, 1}, {83, 1, 1}, {81, 2, 2}},
      {{77, 0, 1}, {81, 1, 1}, {84, 2, 1}, {81, 3, 1}},
      {{83, 0, 1}, {81, 1, 1}, {79, 2, 2}},
      {{76, 0, 1}, {81, 1, 1}, {84, 2, 1.5}, {83, 3.5, 0.5}},
      {{83, 0, 2}, {79, 2, 2}}};

  Song s;
  enum { kFlute = 0, kGuitar = 1, kStrings = 2, kBass = 3, kVibes = 4 };
  s.Program(kFlute, 73);
  s.Program(kGuitar, 24);
  s.Program(kStrings, 48);
  s.Program(kBass, 32);
  s.Program(kVibes, 11);
  const int volumes[5] = {88, 92, 60, 96, 84};
  const int reverb[5] = {60, 40, 70, 30, 70};
  const int pan[5] = {70, 50, 64, 64, 76};
  for (int ch = 0; ch < 5; ++ch) {
    s.Control(ch, 0, 7, volumes[ch]);
    s.Control(ch, 0, 91, reverb[ch]);
    s.Control(ch, 0, 10, pan[ch]);
  }
  for (int bar = 0; bar < kBars; ++bar) {
    const double at = bar * 4.0;
    // Melody.
    const std::vector<Tone>* tones = nullptr;
    int channel = kFlute, velocity = 72;
    if (bar < 8) tones = &a[bar];
    else if (bar < 14) tones = &a[bar - 8];
    else if (bar < 16) tones = &endA1[bar - 14];
    else if (bar < 24) { tones = &b[bar - 16]; channel = kVibes; velocity = 78; }
    else if (bar < 30) tones = &a[bar - 24];
    else tones = &endA2[bar - 30];
    for (const Tone& t : *tones) s.Note(channel, t.pitch, at + t.beat, t.length, velocity);
    // Accompaniment, per half bar.
    for (int half = 0; half < 2; ++half) {
      const Chord ch = chords[bar][half];
      const int third = ch.minor ? 3 : 4;
      const double h = at + half * 2;
      // Bass: the root, with the fifth in the second half of full-bar chords.
      const bool sameChord = chords[bar][0].root == chords[bar][1].root;
      s.Note(kBass, ch.root - 12 + (half == 1 && sameChord ? 7 : 0), h, 2, 74);
      // Guitar: a rolling arpeggio in eighths.
      const int base = ch.root + 12;
      const int pattern[4] = {base, base + 7, base + 12 + third, base + 12};
      for (int k = 0; k < 4; ++k) s.Note(kGuitar, pattern[k], h + k * 0.5, 1.2, k == 0 ? 62 : 50);
      // Strings: soft sustained chord after the first eight bars.
      if (bar >= 8) {
        const int v = bar >= 16 && bar < 24 ? 46 : 38;
        for (int n : {ch.root + 24, ch.root + 24 + third, ch.root + 24 + 7}) s.Note(kStrings, n, h, 2, v);
      }
    }
  }
  // Two silent bars after the loop let the last notes ring out in the rendering.
  return s.Write(path, (kBars + 2) * 4 * kTicks) ? 0 : 1;
}

int Encode(const std::string& wav, const std::string& ogg) {
  Pcm in;
  if (!ReadWav(wav, in) || in.rate != 44100) {
    std::fprintf(stderr, "gen_music: %s is not a 44.1 kHz rendering\n", wav.c_str());
    return 1;
  }
  const int ch = in.channels;
  const size_t loop = std::min<size_t>(kLoopSamples, in.Frames());
  Pcm out;
  out.channels = ch;
  out.rate = in.rate;
  out.samples.assign(in.samples.begin(), in.samples.begin() + loop * ch);
  // Wrap the tail onto the start.
  for (size_t i = loop; i < in.Frames() && i - loop < loop; ++i)
    for (int c = 0; c < ch; ++c) out.samples[(i - loop) * ch + c] += in.samples[i * ch + c];
  float peak = 1e-6f;
  for (float v : out.samples) peak = std::max(peak, std::fabs(v));
  const float gain = std::min(4.0f, 0.85f / peak);
  for (float& v : out.samples) v *= gain;
  return WriteOgg(ogg, out, 0.3f, 0x4E6B7E01) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "midi" && argc == 3) return Compose(argv[2]);
  if (mode == "encode" && argc == 4) return Encode(argv[2], argv[3]);
  std::fprintf(stderr, "usage: gen_music midi <out.mid> | gen_music encode <rendered.wav> <out.ogg>\n");
  return 2;
}
