#include "framework/sound/AudioHost.h"

#include <atomic>

namespace Orvane {

namespace {
std::atomic<AudioHost*> g_host{nullptr};
}

AudioHost* GetAudioHost() { return g_host.load(); }
void SetAudioHost(AudioHost* host) { g_host.store(host); }

}  // namespace Orvane
