// Span kernels: the inner loops of every software draw, one row segment at a time. Several
// sets exist (plain, SSE2, AVX2); the best one the processor supports is chosen at run time.
// Every set follows the formulas of PixelMath.h to within one unit per channel.
#pragma once

#include "framework/graphics/blit/PixelMath.h"
#include "framework/graphics/blit/Sampling.h"

#include <cstdint>
#include <vector>

namespace Orvane::Blit {

enum class Isa { Plain, Sse2, Avx2 };

struct KernelSet {
    const char* name;
    Isa isa;
    // Normal mode onto a destination without alpha (the result alpha is 255).
    void (*blendOpaque)(uint32_t* d, const uint32_t* s, int n, const Modulation& m);
    // Normal mode onto a destination with alpha.
    void (*blendAlpha)(uint32_t* d, const uint32_t* s, int n, const Modulation& m);
    // Additive mode (the destination alpha is kept).
    void (*add)(uint32_t* d, const uint32_t* s, int n, const Modulation& m);
    // Fills with a colour of alpha below 255 in normal mode (destination without / with alpha).
    void (*fillOpaque)(uint32_t* d, int n, uint32_t color);
    void (*fillAlpha)(uint32_t* d, int n, uint32_t color);
    // Additive fill.
    void (*fillAdd)(uint32_t* d, int n, uint32_t color);
    // Linear filtering: out[i] = rows r0 and r1 mixed with weight fy (of r1), per channel.
    void (*lerpRows)(uint32_t* out, const uint32_t* r0, const uint32_t* r1, int n, uint32_t fy);
    // out[i] = row[x0[i]] and row[x0[i] + 1] mixed per channel; weights holds 8 values per
    // pixel: four times 256 - fx, then four times fx. row[x0[i] + 1] must be readable.
    void (*lerpColumns)(uint32_t* out, const uint32_t* row, const int32_t* x0,
                        const uint16_t* weights, int n);
    // n linear samples along a line of fixed-point source positions (Sampling.h rules).
    void (*sampleLinear)(uint32_t* out, const SourceWindow& w, int64_t u, int64_t v, int64_t du,
                         int64_t dv, int n);
};

// Every kernel set the processor supports, the plain one first.
std::vector<const KernelSet*> SupportedKernelSets();
const KernelSet& PlainKernels();
// The set in use; the fastest supported one unless overridden (NOOKVALE_BLIT=plain|sse2|avx2
// in the environment, or SelectKernels for tests and benchmarks).
const KernelSet& ActiveKernels();
// False (and nothing changes) when the processor lacks the instruction set.
bool SelectKernels(Isa isa);

// Sets of one instruction set (defined in their own files).
const KernelSet& Sse2Kernels();
const KernelSet* Avx2KernelsIfSupported();

// Shared scalar pieces.
void BlendAlphaDestScalar(uint32_t* d, const uint32_t* s, int n, const Modulation& m);
void FillAlphaDestScalar(uint32_t* d, int n, uint32_t color);

}  // namespace Orvane::Blit
