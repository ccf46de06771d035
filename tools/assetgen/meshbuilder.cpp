#include "tools/assetgen/meshbuilder.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace assetgen {

namespace {

long quantize(double v) { return std::lround(v * 100000.0); }

// Fixed precision and no negative zero, so the text is the same on every run.
std::string number(double v)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.5f", v);
    std::string s = buffer;
    if (s == "-0.00000")
        s = "0.00000";
    return s;
}

Vec3 faceNormal(Vec3 a, Vec3 b, Vec3 c) { return normalize(cross(b - a, c - a)); }

// Index of a vector in a list of unique text records.
int record(std::map<std::string, int>& index, std::vector<std::string>& lines, const std::string& text)
{
    const auto found = index.find(text);
    if (found != index.end())
        return found->second;
    lines.push_back(text);
    const int i = static_cast<int>(lines.size());
    index.emplace(text, i);
    return i;
}

}  // namespace

int MeshBuilder::position(Vec3 p)
{
    const auto key = std::make_tuple(quantize(p.x), quantize(p.y), quantize(p.z));
    const auto found = _positionIndex.find(key);
    if (found != _positionIndex.end())
        return found->second;
    _positions.push_back(p);
    const int i = static_cast<int>(_positions.size()) - 1;
    _positionIndex.emplace(key, i);
    return i;
}

void MeshBuilder::triangle(int a, int b, int c, Vec2 ta, Vec2 tb, Vec2 tc)
{
    if (a == b || b == c || a == c)
        return;
    _triangles.push_back(Triangle{{a, b, c}, {ta, tb, tc}});
}

void MeshBuilder::quad(int a, int b, int c, int d, Vec2 ta, Vec2 tb, Vec2 tc, Vec2 td)
{
    triangle(a, b, c, ta, tb, tc);
    triangle(a, c, d, ta, tc, td);
}

void MeshBuilder::triangleFacingAway(int a, int b, int c, Vec3 inside, Vec2 ta, Vec2 tb, Vec2 tc)
{
    const Vec3 pa = positionAt(a), pb = positionAt(b), pc = positionAt(c);
    const Vec3 n = cross(pb - pa, pc - pa);
    const Vec3 centre = (pa + pb + pc) * (1.0 / 3.0);
    if (dot(n, centre - inside) >= 0)
        triangle(a, b, c, ta, tb, tc);
    else
        triangle(a, c, b, ta, tc, tb);
}

void MeshBuilder::stitchRings(const std::vector<std::vector<int>>& rings, bool closeAround, UvFn uv)
{
    const size_t n = rings.front().size();
    const size_t segments = closeAround ? n : n - 1;
    for (size_t r = 0; r + 1 < rings.size(); ++r) {
        const double t0 = static_cast<double>(r) / static_cast<double>(rings.size() - 1);
        const double t1 = static_cast<double>(r + 1) / static_cast<double>(rings.size() - 1);
        for (size_t i = 0; i < segments; ++i) {
            const size_t j = (i + 1) % n;
            const double a0 = static_cast<double>(i) / static_cast<double>(segments);
            const double a1 = static_cast<double>(i + 1) / static_cast<double>(segments);
            Vec2 u00, u01, u10, u11;
            if (uv) {
                u00 = uv(t0, a0);
                u01 = uv(t0, a1);
                u10 = uv(t1, a0);
                u11 = uv(t1, a1);
            }
            quad(rings[r][i], rings[r][j], rings[r + 1][j], rings[r + 1][i], u00, u01, u11, u10);
        }
    }
}

void MeshBuilder::fan(const std::vector<int>& ring, bool firstRing, int apex, Vec2 apexUv, UvFn uv, double ringT)
{
    const size_t n = ring.size();
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        Vec2 ui, uj;
        if (uv) {
            ui = uv(ringT, static_cast<double>(i) / static_cast<double>(n));
            uj = uv(ringT, static_cast<double>(i + 1) / static_cast<double>(n));
        }
        if (firstRing)
            triangle(ring[j], ring[i], apex, uj, ui, apexUv);
        else
            triangle(ring[i], ring[j], apex, ui, uj, apexUv);
    }
}

void MeshBuilder::orientOutwards()
{
    double volume = 0.0;
    for (const Triangle& t : _triangles)
        volume += dot(positionAt(t.p[0]), cross(positionAt(t.p[1]), positionAt(t.p[2])));
    if (volume >= 0.0)
        return;
    for (Triangle& t : _triangles) {
        std::swap(t.p[1], t.p[2]);
        std::swap(t.t[1], t.t[2]);
    }
}

void MeshBuilder::write(const std::string& path, bool textured) const
{
    std::vector<Vec3> smooth(_positions.size());
    for (const Triangle& t : _triangles) {
        const Vec3 a = positionAt(t.p[0]), b = positionAt(t.p[1]), c = positionAt(t.p[2]);
        const Vec3 areaNormal = cross(b - a, c - a);
        for (int k = 0; k < 3; ++k)
            smooth[static_cast<size_t>(t.p[k])] = smooth[static_cast<size_t>(t.p[k])] + areaNormal;
    }

    std::map<std::string, int> normalIndex, uvIndex;
    std::vector<std::string> normals, uvs;
    std::string faces;
    for (const Triangle& t : _triangles) {
        const Vec3 flat = faceNormal(positionAt(t.p[0]), positionAt(t.p[1]), positionAt(t.p[2]));
        faces += "f";
        for (int k = 0; k < 3; ++k) {
            const Vec3 n = _shading == Shading::Flat ? flat : normalize(smooth[static_cast<size_t>(t.p[k])]);
            const int ni = record(normalIndex, normals, number(n.x) + " " + number(n.y) + " " + number(n.z));
            const Vec2 uv = textured ? t.t[k] : Vec2{};
            const int ti = record(uvIndex, uvs, number(uv.x) + " " + number(uv.y));
            faces += " " + std::to_string(t.p[k] + 1) + "/" + std::to_string(ti) + "/" + std::to_string(ni);
        }
        faces += "\n";
    }

    std::string text;
    for (const Vec3& p : _positions)
        text += "v " + number(p.x) + " " + number(p.y) + " " + number(p.z) + "\n";
    for (const std::string& uv : uvs)
        text += "vt " + uv + "\n";
    for (const std::string& n : normals)
        text += "vn " + n + "\n";
    text += faces;

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write '" + path + "'");
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written)
        throw std::runtime_error("cannot write '" + path + "'");
}

}  // namespace assetgen
