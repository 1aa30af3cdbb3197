// Chooses the kernel set once: the fastest the processor supports, unless the environment
// (NOOKVALE_BLIT=plain|sse2|avx2) or a test asks for another.
#include "framework/graphics/blit/Kernels.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace Orvane::Blit {

namespace {

const KernelSet* Find(Isa isa) {
    switch (isa) {
    case Isa::Plain: return &PlainKernels();
    case Isa::Sse2: return &Sse2Kernels();
    case Isa::Avx2: return Avx2KernelsIfSupported();
    }
    return nullptr;
}

const KernelSet* Initial() {
    if (const char* want = std::getenv("NOOKVALE_BLIT")) {
        const KernelSet* chosen = nullptr;
        if (std::strcmp(want, "plain") == 0) chosen = Find(Isa::Plain);
        else if (std::strcmp(want, "sse2") == 0) chosen = Find(Isa::Sse2);
        else if (std::strcmp(want, "avx2") == 0) chosen = Find(Isa::Avx2);
        if (chosen) return chosen;
    }
    if (const KernelSet* best = Avx2KernelsIfSupported()) return best;
    return &Sse2Kernels();
}

std::atomic<const KernelSet*>& Active() {
    static std::atomic<const KernelSet*> active{Initial()};
    return active;
}

}  // namespace

std::vector<const KernelSet*> SupportedKernelSets() {
    std::vector<const KernelSet*> sets{&PlainKernels(), &Sse2Kernels()};
    if (const KernelSet* avx = Avx2KernelsIfSupported()) sets.push_back(avx);
    return sets;
}

const KernelSet& ActiveKernels() { return *Active().load(std::memory_order_relaxed); }

bool SelectKernels(Isa isa) {
    const KernelSet* set = Find(isa);
    if (!set) return false;
    Active().store(set, std::memory_order_relaxed);
    return true;
}

}  // namespace Orvane::Blit
