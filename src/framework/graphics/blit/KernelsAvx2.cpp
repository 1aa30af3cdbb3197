// The AVX2 kernel set, chosen at run time when the processor has it. Only the functions that
// carry VTARGET are compiled for AVX2 (a per-function attribute, which every compiler of the
// project honours); the rest of the file stays baseline. Sampling along rotated lines is
// shared with the SSE2 set.

#include "framework/graphics/blit/Kernels.h"

#include <immintrin.h>

#include <cstring>

namespace Orvane::Blit {
namespace avx2 {

using V = __m256i;
constexpr int LANES = 8;
constexpr int VFULLMASK = -1;
#define VTARGET __attribute__((target("avx2")))
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

// Four pixels at a time: each 128-bit lane mixes two pixels from their neighbour pairs.
VTARGET void LerpColumns(uint32_t* out, const uint32_t* row, const int32_t* x0, const uint16_t* weights,
                 int n) {
    const __m256i zero = _mm256_setzero_si256();
    auto pair = [row](int32_t x) VTARGET {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + x));
    };
    auto weight = [weights](int i) VTARGET {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + 8 * i));
    };
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m256i taps = _mm256_set_m128i(_mm_unpacklo_epi64(pair(x0[i + 2]), pair(x0[i + 3])),
                                              _mm_unpacklo_epi64(pair(x0[i]), pair(x0[i + 1])));
        const __m256i even = _mm256_unpacklo_epi8(taps, zero);   // pixels i, i + 2
        const __m256i odd = _mm256_unpackhi_epi8(taps, zero);    // pixels i + 1, i + 3
        const __m256i pe = _mm256_mullo_epi16(even, _mm256_set_m128i(weight(i + 2), weight(i)));
        const __m256i po = _mm256_mullo_epi16(odd, _mm256_set_m128i(weight(i + 3), weight(i + 1)));
        const __m256i se = _mm256_srli_epi16(_mm256_add_epi16(pe, _mm256_srli_si256(pe, 8)), 8);
        const __m256i so = _mm256_srli_epi16(_mm256_add_epi16(po, _mm256_srli_si256(po, 8)), 8);
        const __m256i packed = _mm256_packus_epi16(_mm256_unpacklo_epi64(se, so), zero);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, 0x08)));
    }
    if (i < n) Sse2Kernels().lerpColumns(out + i, row, x0 + i, weights + 8 * i, n - i);
}

KernelSet MakeSet() {
    KernelSet set = Sse2Kernels();
    set.name = "avx2";
    set.isa = Isa::Avx2;
    set.blendOpaque = SimdBlendOpaque;
    set.add = SimdAdd;
    set.fillOpaque = SimdFillOpaque;
    set.fillAdd = SimdFillAdd;
    set.lerpRows = SimdLerpRows;
    set.lerpColumns = LerpColumns;
    return set;
}

}  // namespace avx2

const KernelSet* Avx2KernelsIfSupported() {
    if (!__builtin_cpu_supports("avx2")) return nullptr;
    static const KernelSet set = avx2::MakeSet();
    return &set;
}

}  // namespace Orvane::Blit
