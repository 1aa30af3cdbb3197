// The AVX2 kernel set, compiled for AVX2 in this file only and chosen at run time when the
// processor has it. Filtering kernels are shared with the SSE2 set.
#pragma GCC target("avx2")

#include "framework/graphics/blit/Kernels.h"

#include <immintrin.h>

#include <cstring>

namespace Orvane::Blit {
namespace avx2 {

using V = __m256i;
constexpr int LANES = 8;
constexpr int VFULLMASK = -1;
#define VLOAD(p) _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))
#define VSTORE(p, v) _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), (v))
#define VZERO() _mm256_setzero_si256()
#define VSET1_32(x) _mm256_set1_epi32(x)
#define VSET1_64(x) _mm256_set1_epi64x(x)
#define VAND(a, b) _mm256_and_si256((a), (b))
#define VOR(a, b) _mm256_or_si256((a), (b))
#define VANDNOT(a, b) _mm256_andnot_si256((a), (b))
#define VADD16(a, b) _mm256_add_epi16((a), (b))
#define VSUB16(a, b) _mm256_sub_epi16((a), (b))
#define VMULLO16(a, b) _mm256_mullo_epi16((a), (b))
#define VMULHI16(a, b) _mm256_mulhi_epi16((a), (b))
#define VSRLI16(a, n) _mm256_srli_epi16((a), (n))
#define VSLLI16(a, n) _mm256_slli_epi16((a), (n))
#define VUNPACKLO8(a, b) _mm256_unpacklo_epi8((a), (b))
#define VUNPACKHI8(a, b) _mm256_unpackhi_epi8((a), (b))
#define VPACKUS16(a, b) _mm256_packus_epi16((a), (b))
#define VCMPEQ32(a, b) _mm256_cmpeq_epi32((a), (b))
#define VMOVEMASK8(a) _mm256_movemask_epi8(a)
#define VADDSU8(a, b) _mm256_adds_epu8((a), (b))
#define VBCASTALPHA16(a) _mm256_shufflehi_epi16(_mm256_shufflelo_epi16((a), 0xFF), 0xFF)

#include "framework/graphics/blit/KernelsSimd.inl"

KernelSet MakeSet() {
    KernelSet set = Sse2Kernels();
    set.name = "avx2";
    set.isa = Isa::Avx2;
    set.blendOpaque = SimdBlendOpaque;
    set.add = SimdAdd;
    set.fillOpaque = SimdFillOpaque;
    set.fillAdd = SimdFillAdd;
    set.lerpRows = SimdLerpRows;
    return set;
}

}  // namespace avx2

const KernelSet* Avx2KernelsIfSupported() {
    if (!__builtin_cpu_supports("avx2")) return nullptr;
    static const KernelSet set = avx2::MakeSet();
    return &set;
}

}  // namespace Orvane::Blit
