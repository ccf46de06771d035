#ifndef QUELLARIS_PLATFORM_RGBA_H
#define QUELLARIS_PLATFORM_RGBA_H

// A colour in r, g, b, a order: RGBA<float> (0..1) for drawing calls,
// RGBA<unsigned char> (0..255) for batched vertex colours.
template <typename T>
struct RGBA {
    T r;
    T g;
    T b;
    T a;

    constexpr RGBA() : r(0), g(0), b(0), a(0) {}
    constexpr RGBA(T r_, T g_, T b_, T a_) : r(r_), g(g_), b(b_), a(a_) {}

    void set(T r_, T g_, T b_, T a_) {
        r = r_;
        g = g_;
        b = b_;
        a = a_;
    }

    constexpr bool operator==(const RGBA& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    constexpr bool operator!=(const RGBA& o) const { return !(*this == o); }
};

#endif
