// The game's meshes: one unit is one cell, +z forward, +y up, every hull closed and wound
// counter-clockwise seen from outside.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/assetgen/generators.h"
#include "tools/assetgen/meshbuilder.h"

namespace assetgen {

namespace {

using Ring = std::vector<int>;
using Shading = MeshBuilder::Shading;

// A closed convex polygon given in order round its edge, fanned from its first corner and
// turned to face away from inside.
void convexPolygon(MeshBuilder& m, const std::vector<int>& corners, Vec3 inside, const std::vector<Vec2>& uv)
{
    for (size_t i = 1; i + 1 < corners.size(); ++i)
        m.triangleFacingAway(corners[0], corners[i], corners[i + 1], inside, uv[0], uv[i], uv[i + 1]);
}

// An axis-aligned box from its centre and half sizes, each face mapped to the whole texture.
void box(MeshBuilder& m, Vec3 centre, Vec3 half)
{
    for (int axis = 0; axis < 3; ++axis)
        for (int side = -1; side <= 1; side += 2) {
            const int u = (axis + 1) % 3, v = (axis + 2) % 3;
            std::vector<int> corners;
            std::vector<Vec2> uv;
            const double su[4] = {-1, 1, 1, -1}, sv[4] = {-1, -1, 1, 1};
            for (int k = 0; k < 4; ++k) {
                double c[3];
                const double h[3] = {half.x, half.y, half.z};
                c[axis] = side * h[axis];
                c[u] = su[k] * h[u];
                c[v] = sv[k] * h[v];
                corners.push_back(m.position(centre + Vec3{c[0], c[1], c[2]}));
                uv.push_back({(su[k] + 1) * 0.5, (sv[k] + 1) * 0.5});
            }
            convexPolygon(m, corners, centre, uv);
        }
}

// A ring of n points round the z axis at height z (radius rx by ry, centre cx, cy).
Ring ellipseRing(MeshBuilder& m, int n, double z, double rx, double ry, double cx = 0.0, double cy = 0.0)
{
    Ring ring;
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * kPi * i / n;
        ring.push_back(m.position({cx + rx * std::cos(a), cy + ry * std::sin(a), z}));
    }
    return ring;
}

Vec2 cylinderUv(double t, double around) { return {around, t}; }

// A prism along z with flat caps.
void rod(MeshBuilder& m, int sides, double cx, double cy, double z0, double z1, double radius)
{
    const std::vector<Ring> rings = {ellipseRing(m, sides, z0, radius, radius, cx, cy),
                                     ellipseRing(m, sides, z1, radius, radius, cx, cy)};
    m.stitchRings(rings, true, cylinderUv);
    m.fan(rings.front(), true, m.position({cx, cy, z0}), {0.5, 0.5});
    m.fan(rings.back(), false, m.position({cx, cy, z1}), {0.5, 0.5});
}

void writeCube(const Output& out)
{
    MeshBuilder m(Shading::Flat);
    box(m, {0, 0, 0}, {0.5, 0.5, 0.5});
    m.write(out.path("mesh/cube.obj"));
}

// A cube with its edges and corners cut off.
void writeBevelCube(const Output& out)
{
    MeshBuilder m(Shading::Flat);
    const double a = 0.44, h = 0.5;
    const Vec3 inside{0, 0, 0};
    auto corner = [&](double sx, double sy, double sz, int axis) {
        Vec3 p{sx * a, sy * a, sz * a};
        (axis == 0 ? p.x : axis == 1 ? p.y : p.z) = (axis == 0 ? sx : axis == 1 ? sy : sz) * h;
        return m.position(p);
    };
    // Main faces: the four corner points that lie on each face.
    for (int axis = 0; axis < 3; ++axis)
        for (int side = -1; side <= 1; side += 2) {
            const double s[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
            std::vector<int> corners;
            std::vector<Vec2> uv;
            for (const auto& k : s) {
                double c[3];
                c[axis] = side;
                c[(axis + 1) % 3] = k[0];
                c[(axis + 2) % 3] = k[1];
                corners.push_back(corner(c[0], c[1], c[2], axis));
                uv.push_back({(k[0] + 1) * 0.5, (k[1] + 1) * 0.5});
            }
            convexPolygon(m, corners, inside, uv);
        }
    // Edge strips: along each axis, for each of the four edges, a quad between two faces.
    for (int axis = 0; axis < 3; ++axis) {
        const int u = (axis + 1) % 3, v = (axis + 2) % 3;
        for (int su = -1; su <= 1; su += 2)
            for (int sv = -1; sv <= 1; sv += 2) {
                std::vector<int> corners;
                for (int end : {-1, 1}) {
                    double c[3];
                    c[axis] = end;
                    c[u] = su;
                    c[v] = sv;
                    corners.push_back(corner(c[0], c[1], c[2], u));
                }
                for (int end : {1, -1}) {
                    double c[3];
                    c[axis] = end;
                    c[u] = su;
                    c[v] = sv;
                    corners.push_back(corner(c[0], c[1], c[2], v));
                }
                convexPolygon(m, corners, inside, {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
            }
    }
    // Corner triangles.
    for (int sx = -1; sx <= 1; sx += 2)
        for (int sy = -1; sy <= 1; sy += 2)
            for (int sz = -1; sz <= 1; sz += 2)
                convexPolygon(m, {corner(sx, sy, sz, 0), corner(sx, sy, sz, 1), corner(sx, sy, sz, 2)}, inside,
                              {{0, 0}, {1, 0}, {0, 1}});
    m.write(out.path("mesh/cube_bevel.obj"));
}

Vec2 sphereUv(double t, double around) { return {around, t}; }

// A globe of rings from pole to pole; the poles collapse into single points.
void globe(MeshBuilder& m, Vec3 centre, double radius, int rings, int segments)
{
    std::vector<Ring> all;
    for (int r = 0; r <= rings; ++r) {
        const double lat = -kPi / 2 + kPi * r / rings;
        Ring ring;
        for (int s = 0; s < segments; ++s) {
            const double lon = 2.0 * kPi * s / segments;
            ring.push_back(m.position(centre + Vec3{radius * std::cos(lat) * std::cos(lon), radius * std::sin(lat),
                                                    -radius * std::cos(lat) * std::sin(lon)}));
        }
        all.push_back(ring);
    }
    m.stitchRings(all, true, sphereUv);
}

void writeSphere(const Output& out)
{
    MeshBuilder m(Shading::Smooth);
    globe(m, {0, 0, 0}, 0.5, 12, 20);
    m.orientOutwards();
    m.write(out.path("mesh/sphere.obj"));
}

// The craft: a swept dart lofted from tail to nose. Each cross-section runs over the top from
// the left wing tip to the right one and back underneath; wings shrink into the body towards
// the nose.
Vec2 dartUv(double t, double around) { return {around, t}; }

void writeDart(const Output& out)
{
    MeshBuilder m(Shading::Smooth);
    const int sections = 12;
    const double ts[9] = {-1, -0.75, -0.5, -0.25, 0, 0.25, 0.5, 0.75, 1};
    std::vector<Ring> rings;
    for (int s = 0; s < sections; ++s) {
        const double u = 0.93 * s / (sections - 1);  // 0 at the tail, towards the nose
        const double z = -0.5 + u;
        const double body = 0.1 * std::sqrt(1.0 - u);
        const double span = std::max(body * 1.05, 0.45 * (1.0 - u / 0.8));
        const double hump = 0.14 * std::sin(kPi * std::min(1.0, 0.15 + u * 0.95)) + 0.015;
        const double keel = 0.085 * std::sin(kPi * std::min(1.0, 0.1 + u)) + 0.015;
        auto x = [&](double t) {
            const double a = std::abs(t);
            const double mag = a <= 0.5 ? body * (a / 0.5) : body + (span - body) * ((a - 0.5) / 0.5);
            return t < 0 ? -mag : mag;
        };
        auto profile = [&](double xv, double height, double wing) {
            const double a = std::abs(xv);
            if (a <= body)
                return wing + height * (1.0 - (a / body) * (a / body));
            const double w = (span - a) / std::max(1e-6, span - body);
            return wing * w;
        };
        const double droop = -0.03 * (1.0 - u);  // the wing tips hang a little
        Ring ring;
        for (double t : ts) {
            const double xv = x(t);
            const double tip = std::abs(t) > 0.99 ? droop : 0.0;
            ring.push_back(m.position({xv, tip + profile(xv, hump, 0.025), z}));
        }
        for (int k = 7; k >= 1; --k) {
            const double xv = x(ts[k]);
            ring.push_back(m.position({xv, -profile(xv, keel, 0.018), z}));
        }
        rings.push_back(ring);
    }
    m.stitchRings(rings, true, dartUv);
    m.fan(rings.back(), false, m.position({0, 0.01, 0.5}), {0.5, 1.0}, dartUv, 1.0);
    // Tail plate: fanned from the middle of the body.
    m.fan(rings.front(), true, m.position({0, 0.02, -0.5}), {0.5, 0.0}, dartUv, 0.0);
    m.orientOutwards();
    m.write(out.path("mesh/shiva.obj"));
}

Vec2 latheUv(double t, double around) { return {around, t}; }

// A surface of revolution round the y axis from a profile of (radius, height) pairs from bottom
// to top; the ends close at the axis.
void lathe(MeshBuilder& m, const std::vector<Vec2>& profile, int segments, Vec3 centre = {})
{
    std::vector<Ring> rings;
    for (const Vec2& p : profile) {
        Ring ring;
        for (int s = 0; s < segments; ++s) {
            const double a = 2.0 * kPi * s / segments;
            ring.push_back(m.position(centre + Vec3{p.x * std::cos(a), p.y, -p.x * std::sin(a)}));
        }
        rings.push_back(ring);
    }
    m.stitchRings(rings, true, latheUv);
    m.fan(rings.front(), true, m.position(centre + Vec3{0, profile.front().y, 0}), {0.5, 0.0});
    m.fan(rings.back(), false, m.position(centre + Vec3{0, profile.back().y, 0}), {0.5, 1.0});
}

// A spinning top with a ridge round its waist.
void writeRocker(const Output& out)
{
    MeshBuilder m(Shading::Smooth);
    lathe(m,
          {{0.04, -0.48}, {0.18, -0.36}, {0.34, -0.16}, {0.46, -0.04}, {0.48, 0.0}, {0.46, 0.04}, {0.3, 0.12},
           {0.16, 0.24}, {0.12, 0.36}, {0.06, 0.46}},
          24);
    m.orientOutwards();
    m.write(out.path("mesh/rocker.obj"));
}

// Two crossed quads, each with a back face so the flare shows from every side.
void writeFlare(const Output& out)
{
    MeshBuilder m(Shading::Flat);
    const double h = 0.25;
    const Vec3 planes[2][4] = {{{0, -h, -h}, {0, -h, h}, {0, h, h}, {0, h, -h}},
                               {{-h, 0, -h}, {h, 0, -h}, {h, 0, h}, {-h, 0, h}}};
    const Vec2 uv[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& q : planes) {
        int c[4];
        for (int k = 0; k < 4; ++k)
            c[k] = m.position(q[k]);
        m.quad(c[0], c[1], c[2], c[3], uv[0], uv[1], uv[2], uv[3]);
        m.quad(c[3], c[2], c[1], c[0], uv[3], uv[2], uv[1], uv[0]);
    }
    m.write(out.path("mesh/flare.obj"));
}

// Two barrels along +z on a small breech block.
void writeGun(const Output& out)
{
    MeshBuilder m(Shading::Flat);
    rod(m, 8, -0.14, 0.0, -0.2, 0.5, 0.045);
    rod(m, 8, 0.14, 0.0, -0.2, 0.5, 0.045);
    box(m, {0, 0, -0.3}, {0.22, 0.08, 0.12});
    m.write(out.path("mesh/gun1.obj"));
}

// A flat torus in the XZ plane, radius 1, tube 0.06.
void writeExplosionRing(const Output& out)
{
    MeshBuilder m(Shading::Smooth);
    const int major = 40, minor = 8;
    std::vector<Ring> rings;
    for (int i = 0; i <= major; ++i) {
        const double a = 2.0 * kPi * (i % major) / major;
        Ring ring;
        for (int j = 0; j < minor; ++j) {
            const double b = 2.0 * kPi * j / minor;
            const double r = 1.0 + 0.06 * std::cos(b);
            ring.push_back(m.position({r * std::cos(a), 0.06 * std::sin(b), -r * std::sin(a)}));
        }
        rings.push_back(ring);
    }
    m.stitchRings(rings, true);
    m.orientOutwards();
    m.write(out.path("mesh/explosionRing.obj"), false);
}

// Score: a thick coin facing +z, the texture on both faces.
void writeScorePickup(const Output& out)
{
    MeshBuilder m(Shading::Flat);
    const int n = 20;
    const double r = 0.36, t = 0.06;
    const std::vector<Ring> rings = {ellipseRing(m, n, -t, r, r), ellipseRing(m, n, t, r, r)};
    m.stitchRings(rings, true, cylinderUv);
    for (int side = 0; side < 2; ++side) {
        const Ring& ring = rings[static_cast<size_t>(side)];
        const int centre = m.position({0, 0, side ? t : -t});
        for (int i = 0; i < n; ++i) {
            const int a = ring[static_cast<size_t>(i)], b = ring[static_cast<size_t>((i + 1) % n)];
            const Vec3 pa = m.positionAt(a), pb = m.positionAt(b);
            const double flip = side ? 1.0 : -1.0;
            m.triangleFacingAway(a, b, centre, {0, 0, -flip}, {0.5 + flip * pa.x / (2 * r), 0.5 + pa.y / (2 * r)},
                                 {0.5 + flip * pb.x / (2 * r), 0.5 + pb.y / (2 * r)}, {0.5, 0.5});
        }
    }
    m.orientOutwards();
    m.write(out.path("mesh/pow_score.obj"));
}

// Shields: a six-sided gem, two pyramids base to base.
void writeShieldsPickup(const Output& out)
{
    MeshBuilder m(Shading::Flat);
    const int n = 6;
    const Ring ring = [&] {
        Ring r;
        for (int i = 0; i < n; ++i) {
            const double a = 2.0 * kPi * i / n;
            r.push_back(m.position({0.3 * std::cos(a), 0.0, -0.3 * std::sin(a)}));
        }
        return r;
    }();
    const int top = m.position({0, 0.42, 0}), bottom = m.position({0, -0.42, 0});
    for (int i = 0; i < n; ++i) {
        const int a = ring[static_cast<size_t>(i)], b = ring[static_cast<size_t>((i + 1) % n)];
        const double u0 = static_cast<double>(i) / n, u1 = static_cast<double>(i + 1) / n;
        m.triangleFacingAway(a, b, top, {0, 0, 0}, {u0, 0.5}, {u1, 0.5}, {(u0 + u1) / 2, 1.0});
        m.triangleFacingAway(a, b, bottom, {0, 0, 0}, {u0, 0.5}, {u1, 0.5}, {(u0 + u1) / 2, 0.0});
    }
    m.write(out.path("mesh/pow_shields.obj"));
}

// Ammunition: a small crate.
void writeAmmoPickup(const Output& out)
{
    MeshBuilder m(Shading::Flat);
    box(m, {0, 0, 0}, {0.3, 0.3, 0.3});
    m.write(out.path("mesh/pow_ammo.obj"));
}

// EMP: a ball.
void writeEmpPickup(const Output& out)
{
    MeshBuilder m(Shading::Smooth);
    globe(m, {0, 0, 0}, 0.34, 8, 12);
    m.orientOutwards();
    m.write(out.path("mesh/pow_emp.obj"));
}

Vec2 bulletUv(double t, double around) { return {t, around}; }

// A bullet: a thin rod along z with pointed ends.
void writeBullet(const Output& out)
{
    MeshBuilder m(Shading::Smooth);
    const int n = 6;
    const double r = 0.035;
    const std::vector<Ring> rings = {ellipseRing(m, n, -0.45, r * 0.7, r * 0.7), ellipseRing(m, n, 0.35, r, r),
                                     ellipseRing(m, n, 0.5, r * 0.8, r * 0.8)};
    m.stitchRings(rings, true, bulletUv);
    m.fan(rings.front(), true, m.position({0, 0, -0.6}), {0.0, 0.5});
    m.fan(rings.back(), false, m.position({0, 0, 0.6}), {1.0, 0.5});
    m.orientOutwards();
    m.write(out.path("mesh/bullet.obj"));
}

}  // namespace

void writeMeshes(const Output& out)
{
    writeCube(out);
    writeBevelCube(out);
    writeSphere(out);
    writeDart(out);
    writeRocker(out);
    writeFlare(out);
    writeGun(out);
    writeExplosionRing(out);
    writeScorePickup(out);
    writeShieldsPickup(out);
    writeAmmoPickup(out);
    writeEmpPickup(out);
    writeBullet(out);
}

}  // namespace assetgen
