// Builds the sound effects of the game (synthesised here), the menu click and hover sounds,
// and the animals' own sounds (recordings of the stamp collection, trimmed and levelled), and
// writes the sound events for sound.ini.
//   gen_sounds <animals.txt> <game folder> <sound events out>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "AnimalTable.h"
#include "Audio.h"
#include "Canvas.h"

using namespace content;

namespace {

constexpr int kRate = 44100;
constexpr double kTau = 6.283185307179586;

// --- A tiny synthesiser -------------------------------------------------------------------

struct Voice {
  double freq = 440, freqEnd = 0;  // glide to freqEnd (0: none)
  double start = 0, length = 0.2;  // seconds
  double attack = 0.005, decay = 0.2;  // exponential decay time constant after the attack
  double gain = 0.5;
  double fmRatio = 0, fmDepth = 0;   // bell-like timbres
  double harmonics = 0;              // 0 pure sine .. 1 bright (odd and even partials)
  double noise = 0;                  // mix of filtered noise
};

class Mixer {
 public:
  explicit Mixer(double seconds) : buf_(static_cast<size_t>(seconds * kRate) + 1, 0.0f) {}

  void Add(const Voice& v, uint32_t seed = 1) {
    Rng rng(seed);
    double phase = 0, fmPhase = 0, lp = 0;
    const size_t first = static_cast<size_t>(v.start * kRate);
    const size_t count = static_cast<size_t>(v.length * kRate);
    for (size_t i = 0; i < count && first + i < buf_.size(); ++i) {
      const double t = static_cast<double>(i) / kRate;
      const double k = std::min(1.0, t / v.length);
      const double f = v.freqEnd > 0 ? v.freq * std::pow(v.freqEnd / v.freq, k) : v.freq;
      double env = t < v.attack ? t / v.attack : std::exp(-(t - v.attack) / v.decay);
      // A short fade at the very end so nothing clicks.
      const double tail = v.length - t;
      if (tail < 0.01) env *= tail / 0.01;
      fmPhase += kTau * f * v.fmRatio / kRate;
      phase += kTau * f / kRate;
      const double mod = v.fmDepth * std::sin(fmPhase) * std::exp(-t / (v.decay * 0.7 + 1e-3));
      double s = std::sin(phase + mod);
      if (v.harmonics > 0)
        s += v.harmonics * (0.5 * std::sin(2 * phase + mod) + 0.3 * std::sin(3 * phase) + 0.15 * std::sin(4 * phase));
      if (v.noise > 0) {
        lp += (rng.Uniform(-1, 1) - lp) * std::min(1.0, f / kRate * 6);
        s = s * (1 - v.noise) + lp * v.noise * 3;
      }
      buf_[first + i] += static_cast<float>(s * env * v.gain);
    }
  }

  // A soft room: a few feedback combs, mixed lightly.
  void Room(double wet) {
    const int delays[4] = {1557, 1617, 1491, 1422};
    std::vector<float> out(buf_.size(), 0.0f);
    for (int d : delays) {
      std::vector<float> line(d, 0.0f);
      size_t pos = 0;
      for (size_t i = 0; i < buf_.size(); ++i) {
        const float y = line[pos];
        line[pos] = buf_[i] + y * 0.72f;
        pos = (pos + 1) % d;
        out[i] += y * 0.25f;
      }
    }
    for (size_t i = 0; i < buf_.size(); ++i) buf_[i] += static_cast<float>(wet) * out[i];
  }

  Pcm Finish(double peak) {
    float m = 1e-6f;
    for (float s : buf_) m = std::max(m, std::fabs(s));
    Pcm p;
    p.channels = 1;
    p.rate = kRate;
    p.samples = buf_;
    for (float& s : p.samples) s *= static_cast<float>(peak / m);
    // Fade the last 20 ms to silence.
    const size_t fade = std::min<size_t>(p.samples.size(), kRate / 50);
    for (size_t i = 0; i < fade; ++i) p.samples[p.samples.size() - 1 - i] *= static_cast<float>(i) / fade;
    return p;
  }

 private:
  std::vector<float> buf_;
};

double Note(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

Voice Bell(double f, double start, double decay, double gain) {
  Voice v;
  v.freq = f;
  v.start = start;
  v.length = decay * 5;
  v.decay = decay;
  v.gain = gain;
  v.fmRatio = 3.5;
  v.fmDepth = 1.2;
  return v;
}

Voice Pluck(double f, double start, double decay, double gain) {
  Voice v;
  v.freq = f;
  v.start = start;
  v.length = decay * 5;
  v.decay = decay;
  v.gain = gain;
  v.harmonics = 0.5;
  return v;
}

Voice Sweep(double f0, double f1, double start, double length, double gain, double noise = 0) {
  Voice v;
  v.freq = f0;
  v.freqEnd = f1;
  v.start = start;
  v.length = length;
  v.attack = 0.01;
  v.decay = length * 0.6;
  v.gain = gain;
  v.noise = noise;
  return v;
}

struct Effect {
  const char* name;
  double seconds;
  double volume;  // event volume in sound.ini
  std::function<void(Mixer&)> make;
};

std::vector<Effect> Effects() {
  std::vector<Effect> e;
  e.push_back({"take_shape", 0.25, 0.8, [](Mixer& m) {
                 m.Add(Sweep(420, 900, 0, 0.09, 0.6));
                 m.Add(Pluck(Note(3), 0.05, 0.05, 0.3));
               }});
  e.push_back({"place_shape", 0.5, 0.85, [](Mixer& m) {
                 m.Add(Sweep(220, 160, 0, 0.06, 0.6, 0.3));
                 m.Add(Bell(Note(15), 0.02, 0.09, 0.35));
                 m.Add(Bell(Note(22), 0.05, 0.08, 0.2));
               }});
  e.push_back({"drop_shape", 0.35, 0.7, [](Mixer& m) { m.Add(Sweep(330, 140, 0, 0.2, 0.7, 0.2)); }});
  e.push_back({"delete_shape", 0.45, 0.7, [](Mixer& m) {
                 m.Add(Sweep(1800, 300, 0, 0.35, 0.6, 0.9));
                 m.Add(Sweep(600, 200, 0, 0.3, 0.3));
               }});
  e.push_back({"transform_shape", 0.4, 0.75, [](Mixer& m) {
                 m.Add(Sweep(500, 1000, 0, 0.12, 0.5));
                 m.Add(Sweep(700, 1400, 0.1, 0.14, 0.45));
                 m.Add(Bell(Note(24), 0.2, 0.05, 0.15));
               }});
  e.push_back({"shape_clear", 0.7, 0.8, [](Mixer& m) {
                 m.Add(Sweep(1200, 250, 0, 0.35, 0.5));
                 for (int i = 0; i < 4; ++i) m.Add(Bell(Note(24 + i * 3), 0.25 + i * 0.06, 0.05, 0.18));
               }});
  e.push_back({"remove_line", 1.2, 0.85, [](Mixer& m) {
                 const int steps[8] = {0, 4, 7, 12, 16, 19, 24, 28};
                 for (int i = 0; i < 8; ++i) m.Add(Bell(Note(3 + steps[i]), i * 0.045, 0.18, 0.25));
                 m.Add(Sweep(2000, 6000, 0, 0.5, 0.12, 0.95));
                 m.Room(0.3);
               }});
  e.push_back({"fill_area", 0.9, 0.85, [](Mixer& m) {
                 const int notes[6] = {0, 7, 4, 12, 9, 16};
                 for (int i = 0; i < 6; ++i) {
                   m.Add(Sweep(300 + i * 90, 700 + i * 150, i * 0.06, 0.07, 0.4));
                   m.Add(Bell(Note(12 + notes[i]), i * 0.06 + 0.03, 0.08, 0.18));
                 }
                 m.Room(0.25);
               }});
  e.push_back({"shape_panel_in", 0.7, 0.5, [](Mixer& m) { m.Add(Sweep(200, 900, 0, 0.5, 0.5, 0.85)); }});
  e.push_back({"shape_panel_out", 0.7, 0.5, [](Mixer& m) { m.Add(Sweep(900, 200, 0, 0.5, 0.5, 0.85)); }});
  e.push_back({"no_bonus", 1.2, 0.8, [](Mixer& m) {
                 m.Add(Pluck(Note(-2), 0, 0.25, 0.5));
                 m.Add(Pluck(Note(-7), 0.3, 0.35, 0.5));
                 m.Add(Pluck(Note(-11), 0.3, 0.35, 0.3));
                 m.Room(0.25);
               }});
  e.push_back({"timeout", 0.2, 0.7, [](Mixer& m) {
                 Voice v = Pluck(Note(15), 0, 0.03, 0.5);
                 v.harmonics = 0.9;
                 m.Add(v);
               }});
  e.push_back({"bug_alarm", 0.7, 0.75, [](Mixer& m) {
                 for (int i = 0; i < 6; ++i) {
                   Voice v = Sweep(240 + (i % 2) * 30, 260 + (i % 2) * 30, i * 0.09, 0.08, 0.45, 0.4);
                   v.harmonics = 1;
                   m.Add(v, 11 + i);
                 }
               }});
  e.push_back({"level_complete", 2.2, 0.9, [](Mixer& m) {
                 const int melody[5] = {3, 7, 10, 15, 15};
                 const double at[5] = {0, 0.14, 0.28, 0.42, 0.62};
                 for (int i = 0; i < 5; ++i) {
                   m.Add(Bell(Note(melody[i]), at[i], i == 4 ? 0.4 : 0.16, 0.35));
                   m.Add(Pluck(Note(melody[i] - 12), at[i], 0.2, 0.2));
                 }
                 m.Add(Pluck(Note(-9), 0.62, 0.5, 0.25));
                 m.Add(Pluck(Note(-5), 0.62, 0.5, 0.2));
                 m.Room(0.35);
               }});
  e.push_back({"bonus_level_complete", 2.8, 0.9, [](Mixer& m) {
                 const int melody[8] = {3, 7, 10, 15, 10, 15, 19, 22};
                 for (int i = 0; i < 8; ++i) m.Add(Bell(Note(melody[i]), i * 0.11, i == 7 ? 0.5 : 0.14, 0.3));
                 for (int i = 0; i < 10; ++i) m.Add(Bell(Note(27 + (i * 5) % 12), 0.9 + i * 0.07, 0.06, 0.1));
                 m.Add(Pluck(Note(-9), 0.77, 0.6, 0.3));
                 m.Room(0.4);
               }});
  e.push_back({"game_over", 2.4, 0.85, [](Mixer& m) {
                 const int melody[4] = {3, 2, 1, -2};
                 for (int i = 0; i < 4; ++i) {
                   Voice v = Pluck(Note(melody[i] - 12), i * 0.32, i == 3 ? 0.6 : 0.22, 0.5);
                   v.harmonics = 0.9;
                   m.Add(v);
                 }
                 m.Room(0.3);
               }});
  e.push_back({"game_complete", 3.8, 0.95, [](Mixer& m) {
                 const int melody[10] = {3, 7, 10, 15, 14, 15, 19, 15, 22, 27};
                 const double at[10] = {0, 0.15, 0.3, 0.45, 0.75, 0.9, 1.05, 1.2, 1.35, 1.65};
                 for (int i = 0; i < 10; ++i) m.Add(Bell(Note(melody[i]), at[i], i == 9 ? 0.7 : 0.16, 0.3));
                 const int chord[3] = {-9, -5, -2};
                 for (int c : chord) m.Add(Pluck(Note(c), 1.65, 0.8, 0.2));
                 for (int i = 0; i < 14; ++i) m.Add(Bell(Note(27 + (i * 7) % 12), 1.7 + i * 0.08, 0.05, 0.08));
                 m.Room(0.4);
               }});
  // The run of the same animal: the chime climbs a major scale with each bonus step.
  const int scale[7] = {0, 2, 4, 5, 7, 9, 11};
  static std::vector<std::string> bonusNames;
  bonusNames.clear();
  for (int k = 1; k <= 7; ++k) bonusNames.push_back("place_shape_bonus_" + std::to_string(k));
  for (int k = 1; k <= 7; ++k) {
    const int step = scale[k - 1];
    e.push_back({bonusNames[k - 1].c_str(), 0.8, 0.85, [step](Mixer& m) {
                   m.Add(Sweep(220, 160, 0, 0.05, 0.4, 0.3));
                   m.Add(Bell(Note(10 + step), 0.01, 0.14, 0.4));
                   m.Add(Bell(Note(22 + step), 0.06, 0.1, 0.2));
                   m.Room(0.2);
                 }});
  }
  e.push_back({"emit_scores", 0.8, 0.7, [](Mixer& m) {
                 m.Add(Sweep(600, 2400, 0, 0.45, 0.3));
                 for (int i = 0; i < 5; ++i) m.Add(Bell(Note(19 + i * 2), i * 0.07, 0.05, 0.12));
               }});
  e.push_back({"collect_scores", 0.7, 0.8, [](Mixer& m) {
                 m.Add(Bell(Note(14), 0, 0.06, 0.35));
                 m.Add(Bell(Note(19), 0.07, 0.22, 0.35));
                 m.Room(0.2);
               }});
  e.push_back({"level_start", 1.2, 0.8, [](Mixer& m) {
                 m.Add(Bell(Note(10), 0, 0.25, 0.35));
                 m.Add(Bell(Note(15), 0.22, 0.35, 0.35));
                 m.Room(0.3);
               }});
  e.push_back({"shape_chomp", 0.35, 0.8, [](Mixer& m) {
                 m.Add(Sweep(180, 90, 0, 0.09, 0.7, 0.6), 3);
                 m.Add(Sweep(260, 120, 0.1, 0.08, 0.5, 0.6), 4);
               }});
  return e;
}

// Menu sounds are files the menu screens name directly (not events).
void MenuSounds(const std::string& game, int& failures, int& serial) {
  {
    Mixer m(0.15);
    m.Add(Sweep(900, 500, 0, 0.03, 0.6, 0.4));
    m.Add(Pluck(Note(10), 0.005, 0.03, 0.4));
    if (!WriteOgg(Join(game, "Sound/menu_click.ogg"), m.Finish(0.7), 0.4f, serial++)) ++failures;
  }
  {
    Mixer m(0.12);
    m.Add(Bell(Note(22), 0, 0.025, 0.3));
    if (!WriteOgg(Join(game, "Sound/menu_hover.ogg"), m.Finish(0.3), 0.4f, serial++)) ++failures;
  }
}

// An animal's recording: mono, leading silence cut, at most 2.2 s with a fade, peak levelled.
bool AnimalSound(const std::string& source, const std::string& out, int serial) {
  Pcm in;
  if (!ReadOgg(source, in)) return false;
  Pcm mono;
  mono.rate = in.rate;
  for (size_t i = 0; i < in.Frames(); ++i) {
    float s = 0;
    for (int c = 0; c < in.channels; ++c) s += in.samples[i * in.channels + c];
    mono.samples.push_back(s / in.channels);
  }
  float peak = 1e-6f;
  for (float s : mono.samples) peak = std::max(peak, std::fabs(s));
  size_t first = 0;
  while (first < mono.samples.size() && std::fabs(mono.samples[first]) < peak * 0.05f) ++first;
  first = first > static_cast<size_t>(mono.rate / 100) ? first - mono.rate / 100 : 0;
  const size_t maxLen = static_cast<size_t>(mono.rate * 2.2);
  std::vector<float> cut(mono.samples.begin() + first,
                         mono.samples.begin() + std::min(mono.samples.size(), first + maxLen));
  const size_t fadeIn = std::min<size_t>(cut.size(), mono.rate / 200);
  for (size_t i = 0; i < fadeIn; ++i) cut[i] *= static_cast<float>(i) / fadeIn;
  const size_t fade = std::min<size_t>(cut.size(), static_cast<size_t>(mono.rate * 0.25));
  for (size_t i = 0; i < fade; ++i) cut[cut.size() - 1 - i] *= static_cast<float>(i) / fade;
  for (float& s : cut) s *= 0.8f / peak;
  mono.samples = cut;
  return WriteOgg(out, mono, 0.4f, serial);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<AnimalClass> classes;
  if (argc != 4 || !ReadAnimalTable(argv[1], classes)) {
    std::fprintf(stderr, "usage: gen_sounds <animals.txt> <game folder> <sound events out>\n");
    return 2;
  }
  const std::string game = argv[2];
  int failures = 0;
  int serial = 0x4E6B0001;
  std::string ini = "; Sound events written by the content pipeline.\n";
  for (const Effect& e : Effects()) {
    Mixer m(e.seconds);
    e.make(m);
    const std::string file = std::string("Sound/") + e.name + ".ogg";
    if (!WriteOgg(Join(game, file), m.Finish(0.8), 0.4f, serial++)) ++failures;
    char vol[32];
    std::snprintf(vol, sizeof vol, "%.2f", e.volume);
    ini += std::string("[") + e.name + "]\nvolume=" + vol + "\nfile0=Sound\\" + e.name + ".ogg\n\n";
  }
  MenuSounds(game, failures, serial);
  for (const AnimalClass& c : classes) {
    const std::string file = "Sound/animal_" + c.name + ".ogg";
    if (!AnimalSound(kStampDir + c.sound + ".ogg", Join(game, file), serial++)) ++failures;
    ini += "[animal_" + c.name + "]\nvolume=0.80\nfile0=Sound\\animal_" + c.name + ".ogg\n\n";
  }
  MakeParentDirs(argv[3]);
  std::ofstream(argv[3], std::ios::binary) << ini;
  return failures == 0 ? 0 : 1;
}
