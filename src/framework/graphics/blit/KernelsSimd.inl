// Vector span kernels, written once over a small set of operations that KernelsSse2.cpp
// (128-bit) and KernelsAvx2.cpp (256-bit) define before including this file. Channels are
// widened to 16 bits, so every product below fits: 255 x 256 at most.
//
// Required: type V; LANES (pixels per vector); VLOAD, VSTORE, VZERO, VSET1_32, VSET1_64,
// VAND, VANDNOT (~a & b), VOR, VADD16, VSUB16, VMULLO16, VMULHI16 (signed), VSRLI16, VSLLI16, VUNPACKLO8,
// VUNPACKHI8, VPACKUS16, VCMPEQ32, VMOVEMASK8, VFULLMASK, VADDSU8, VBCASTALPHA16 (the alpha
// lane of each pixel copied to its four lanes), VTARGET (the target attribute every function
// and lambda that uses the operations carries; empty for the baseline set).

namespace {

VTARGET inline V ColorVector16(uint32_t b, uint32_t g, uint32_t r, uint32_t a) {
    return VSET1_64(static_cast<long long>((uint64_t(a) << 48) | (uint64_t(r) << 32) |
                                           (uint64_t(g) << 16) | uint64_t(b)));
}

// d + floor((s - d) x a / 256) per 16-bit lane: (s x a + d x (256 - a)) / 256 exactly.
VTARGET inline V MixTowards(V d, V s, V a) {
    const V diff = VSUB16(s, d);
    return VADD16(d, VMULHI16(VSLLI16(diff, 7), VSLLI16(a, 1)));
}

// S' (colour channels x C / 256) and a = As x Ac / 255 (alpha lane), from 16-bit source lanes.
VTARGET inline V ModulateLanes(V s, V colour, V rgbMask, V alphaMask) {
    const V one = VSET1_64(0x0001000100010001LL);
    const V t = VMULLO16(s, colour);
    const V q1 = VSRLI16(t, 8);
    const V q2 = VSRLI16(VADD16(VADD16(t, one), q1), 8);
    return VOR(VAND(q1, rgbMask), VAND(q2, alphaMask));
}

// Runs step over n pixels, LANES at a time; the last partial group goes through padded
// copies (padding is transparent, so it changes nothing that is written back).
template <typename Step>
VTARGET inline void ForSpans(uint32_t* d, const uint32_t* s, int n, Step step) {
    int i = 0;
    for (; i + LANES <= n; i += LANES) step(d + i, s + i);
    if (i < n) {
        alignas(32) uint32_t dt[LANES] = {};
        alignas(32) uint32_t st[LANES] = {};
        const size_t rest = size_t(n - i);
        std::memcpy(dt, d + i, rest * sizeof(uint32_t));
        if (s) std::memcpy(st, s + i, rest * sizeof(uint32_t));
        step(dt, st);
        std::memcpy(d + i, dt, rest * sizeof(uint32_t));
    }
}

VTARGET void SimdBlendOpaque(uint32_t* d, const uint32_t* s, int n, const Modulation& m) {
    const V zero = VZERO();
    const V alpha32 = VSET1_32(static_cast<int>(0xFF000000u));
    const V colour = ColorVector16(m.b, m.g, m.r, m.a);
    const V alphaMask = VSET1_64(static_cast<long long>(0xFFFF000000000000ULL));
    const V rgbMask = VSET1_64(0x0000FFFFFFFFFFFFLL);
    ForSpans(d, s, n, [&](uint32_t* dp, const uint32_t* sp) VTARGET {
        const V sv = VLOAD(sp);
        const V sa = VAND(sv, alpha32);
        if (m.neutral) {
            const int opaque = VMOVEMASK8(VCMPEQ32(sa, alpha32));
            if (opaque == VFULLMASK) { VSTORE(dp, sv); return; }
            const int clear = VMOVEMASK8(VCMPEQ32(sa, zero));
            if (clear == VFULLMASK) return;
        } else if (VMOVEMASK8(VCMPEQ32(sa, zero)) == VFULLMASK) {
            return;
        }
        const V dv = VLOAD(dp);
        V sl = VUNPACKLO8(sv, zero), sh = VUNPACKHI8(sv, zero);
        const V dl = VUNPACKLO8(dv, zero), dh = VUNPACKHI8(dv, zero);
        if (!m.neutral) {
            sl = ModulateLanes(sl, colour, rgbMask, alphaMask);
            sh = ModulateLanes(sh, colour, rgbMask, alphaMask);
        }
        const V rl = MixTowards(dl, sl, VBCASTALPHA16(sl));
        const V rh = MixTowards(dh, sh, VBCASTALPHA16(sh));
        const V mixed = VOR(VPACKUS16(rl, rh), alpha32);
        if (m.neutral) {
            // Opaque source pixels are copied exactly.
            const V opaque = VCMPEQ32(sa, alpha32);
            VSTORE(dp, VOR(VAND(opaque, sv), VANDNOT(opaque, mixed)));
        } else {
            VSTORE(dp, mixed);
        }
    });
}

VTARGET void SimdAdd(uint32_t* d, const uint32_t* s, int n, const Modulation& m) {
    const V zero = VZERO();
    const V rgb32 = VSET1_32(0x00FFFFFF);
    // The colour's alpha scales the source alpha as in the normal mode, so a tinted
    // additive sprite fades with its colour.
    const V colour = ColorVector16(m.b, m.g, m.r, m.a);
    const V alphaMask = VSET1_64(static_cast<long long>(0xFFFF000000000000ULL));
    const V rgbMask = VSET1_64(0x0000FFFFFFFFFFFFLL);
    const V alpha32 = VSET1_32(static_cast<int>(0xFF000000u));
    ForSpans(d, s, n, [&](uint32_t* dp, const uint32_t* sp) VTARGET {
        const V sv = VLOAD(sp);
        if (VMOVEMASK8(VCMPEQ32(VAND(sv, alpha32), zero)) == VFULLMASK) return;
        V sl = VUNPACKLO8(sv, zero), sh = VUNPACKHI8(sv, zero);
        if (!m.neutral) {
            sl = ModulateLanes(sl, colour, rgbMask, alphaMask);
            sh = ModulateLanes(sh, colour, rgbMask, alphaMask);
        }
        const V al = VBCASTALPHA16(sl), ah = VBCASTALPHA16(sh);
        const V tl = VSRLI16(VMULLO16(sl, al), 8);
        const V th = VSRLI16(VMULLO16(sh, ah), 8);
        const V addend = VAND(VPACKUS16(tl, th), rgb32);
        VSTORE(dp, VADDSU8(VLOAD(dp), addend));
    });
}

VTARGET void SimdFillOpaque(uint32_t* d, int n, uint32_t color) {
    const V zero = VZERO();
    const V alpha32 = VSET1_32(static_cast<int>(0xFF000000u));
    const uint32_t a = Alpha(color);
    const V s = ColorVector16(Channel(color, 0), Channel(color, 8), Channel(color, 16), a);
    const V av = ColorVector16(a, a, a, a);
    ForSpans(d, nullptr, n, [&](uint32_t* dp, const uint32_t*) VTARGET {
        const V dv = VLOAD(dp);
        const V rl = MixTowards(VUNPACKLO8(dv, zero), s, av);
        const V rh = MixTowards(VUNPACKHI8(dv, zero), s, av);
        VSTORE(dp, VOR(VPACKUS16(rl, rh), alpha32));
    });
}

VTARGET void SimdFillAdd(uint32_t* d, int n, uint32_t color) {
    const uint32_t a = Alpha(color);
    const uint32_t addend = Pack(0, Channel(color, 16) * a / 256, Channel(color, 8) * a / 256,
                                 Channel(color, 0) * a / 256);
    const V add = VSET1_32(static_cast<int>(addend));
    ForSpans(d, nullptr, n, [&](uint32_t* dp, const uint32_t*) VTARGET {
        VSTORE(dp, VADDSU8(VLOAD(dp), add));
    });
}

VTARGET void SimdLerpRows(uint32_t* out, const uint32_t* r0, const uint32_t* r1, int n, uint32_t fy) {
    const V zero = VZERO();
    const V w0 = ColorVector16(256 - fy, 256 - fy, 256 - fy, 256 - fy);
    const V w1 = ColorVector16(fy, fy, fy, fy);
    int i = 0;
    for (; i + LANES <= n; i += LANES) {
        const V a = VLOAD(r0 + i), b = VLOAD(r1 + i);
        const V lo = VSRLI16(VADD16(VMULLO16(VUNPACKLO8(a, zero), w0),
                                    VMULLO16(VUNPACKLO8(b, zero), w1)), 8);
        const V hi = VSRLI16(VADD16(VMULLO16(VUNPACKHI8(a, zero), w0),
                                    VMULLO16(VUNPACKHI8(b, zero), w1)), 8);
        VSTORE(out + i, VPACKUS16(lo, hi));
    }
    if (i < n) PlainKernels().lerpRows(out + i, r0 + i, r1 + i, n - i, fy);
}

}  // namespace
