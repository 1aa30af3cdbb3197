// The SSE2 kernel set (the x86-64 baseline).
#include "framework/graphics/blit/Kernels.h"

#include <emmintrin.h>

#include <cstring>

namespace Orvane::Blit {
namespace sse2 {

using V = __m128i;
constexpr int LANES = 4;
constexpr int VFULLMASK = 0xFFFF;
#define VTARGET
#define VLOAD(p) _mm_loadu_si128(reinterpret_cast<const __m128i*>(p))
#define VSTORE(p, v) _mm_storeu_si128(reinterpret_cast<__m128i*>(p), (v))
#define VZERO() _mm_setzero_si128()
#define VSET1_32(x) _mm_set1_epi32(x)
#define VSET1_64(x) _mm_set1_epi64x(x)
#define VAND(a, b) _mm_and_si128((a), (b))
#define VOR(a, b) _mm_or_si128((a), (b))
#define VANDNOT(a, b) _mm_andnot_si128((a), (b))
#define VADD16(a, b) _mm_add_epi16((a), (b))
#define VSUB16(a, b) _mm_sub_epi16((a), (b))
#define VMULLO16(a, b) _mm_mullo_epi16((a), (b))
#define VMULHI16(a, b) _mm_mulhi_epi16((a), (b))
#define VSRLI16(a, n) _mm_srli_epi16((a), (n))
#define VSLLI16(a, n) _mm_slli_epi16((a), (n))
#define VUNPACKLO8(a, b) _mm_unpacklo_epi8((a), (b))
#define VUNPACKHI8(a, b) _mm_unpackhi_epi8((a), (b))
#define VPACKUS16(a, b) _mm_packus_epi16((a), (b))
#define VCMPEQ32(a, b) _mm_cmpeq_epi32((a), (b))
#define VMOVEMASK8(a) _mm_movemask_epi8(a)
#define VADDSU8(a, b) _mm_adds_epu8((a), (b))
#define VBCASTALPHA16(a) _mm_shufflehi_epi16(_mm_shufflelo_epi16((a), 0xFF), 0xFF)

#include "framework/graphics/blit/KernelsSimd.inl"

// One pixel from its two horizontal neighbours a, b (as 16-bit lanes a then b) and weights.
inline __m128i LerpPair(__m128i ab16, __m128i weights) {
    const __m128i p = _mm_mullo_epi16(ab16, weights);
    return _mm_srli_epi16(_mm_add_epi16(p, _mm_srli_si128(p, 8)), 8);   // lanes 0..3
}

void LerpColumns(uint32_t* out, const uint32_t* row, const int32_t* x0, const uint16_t* weights,
                 int n) {
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 2 <= n; i += 2) {
        const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + x0[i]));
        const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + x0[i + 1]));
        const __m128i ra = LerpPair(_mm_unpacklo_epi8(a, zero),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + 8 * i)));
        const __m128i rb = LerpPair(_mm_unpacklo_epi8(b, zero),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + 8 * i + 8)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i),
                         _mm_packus_epi16(_mm_unpacklo_epi64(ra, rb), zero));
    }
    if (i < n) PlainKernels().lerpColumns(out + i, row, x0 + i, weights + 8 * i, n - i);
}

void SampleLinearSpan(uint32_t* out, const SourceWindow& w, int64_t u, int64_t v, int64_t du,
                      int64_t dv, int n) {
    const __m128i zero = _mm_setzero_si128();
    // A tap outside the window: the nearest edge pixel's colour with alpha 0.
    auto tap = [&w](int64_t x, int64_t y) -> int {
        const bool inside = x >= 0 && y >= 0 && x < w.width && y < w.height;
        const int cx = static_cast<int>(x < 0 ? 0 : (x >= w.width ? w.width - 1 : x));
        const int cy = static_cast<int>(y < 0 ? 0 : (y >= w.height ? w.height - 1 : y));
        const uint32_t p = w.At(cx, cy);
        return static_cast<int>(inside ? p : (p & 0x00FFFFFFu));
    };
    for (int i = 0; i < n; ++i, u += du, v += dv) {
        const int64_t uu = u - 0x8000, vv = v - 0x8000;
        const int64_t x0 = uu >> 16, y0 = vv >> 16;
        if (x0 < -1 || y0 < -1 || x0 >= w.width || y0 >= w.height) {
            out[i] = 0;   // wholly outside
            continue;
        }
        __m128i top, bottom;
        if (x0 >= 0 && y0 >= 0 && x0 + 1 < w.width && y0 + 1 < w.height) {
            const uint32_t* p = w.pixels + y0 * w.stride + x0;
            top = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
            bottom = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + w.stride));
        } else {
            top = _mm_set_epi32(0, 0, tap(x0 + 1, y0), tap(x0, y0));
            bottom = _mm_set_epi32(0, 0, tap(x0 + 1, y0 + 1), tap(x0, y0 + 1));
        }
        const short fx = static_cast<short>(FixedFraction8(uu));
        const short fy = static_cast<short>(FixedFraction8(vv));
        const __m128i vert = _mm_srli_epi16(
            _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(top, zero), _mm_set1_epi16(short(256 - fy))),
                          _mm_mullo_epi16(_mm_unpacklo_epi8(bottom, zero), _mm_set1_epi16(fy))), 8);
        const __m128i wx = _mm_unpacklo_epi64(_mm_set1_epi16(short(256 - fx)), _mm_set1_epi16(fx));
        out[i] = static_cast<uint32_t>(
            _mm_cvtsi128_si32(_mm_packus_epi16(LerpPair(vert, wx), zero)));
    }
}

const KernelSet kSet = {
    "sse2", Isa::Sse2, SimdBlendOpaque, BlendAlphaDestScalar, SimdAdd,
    SimdFillOpaque, FillAlphaDestScalar, SimdFillAdd, SimdLerpRows, LerpColumns,
    SampleLinearSpan,
};

}  // namespace sse2

const KernelSet& Sse2Kernels() { return sse2::kSet; }

}  // namespace Orvane::Blit
