#include "platform/geometry.h"

#include <algorithm>
#include <utility>

namespace {

Vector3<float> sub(const Vector3<float>& a, const Vector3<float>& b) {
    return Vector3<float>(a.x - b.x, a.y - b.y, a.z - b.z);
}

Vector3<float> cross(const Vector3<float>& a, const Vector3<float>& b) {
    return Vector3<float>(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float dot(const Vector3<float>& a, const Vector3<float>& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The slab test of one axis; false when the ray misses.
bool clipSlab(float origin, float direction, float min, float max, float& tnear, float& tfar) {
    if (direction == 0.0f) {
        return min <= origin && origin <= max;
    }
    float t1 = (min - origin) / direction;
    float t2 = (max - origin) / direction;
    if (t1 > t2) {
        std::swap(t1, t2);
    }
    tnear = std::max(tnear, t1);
    tfar = std::min(tfar, t2);
    return !(tfar < tnear || tfar < 0.0f);
}

// Whether (h - from) lies on the same side of the edge (to - from) as the third corner.
bool sameSide(const Vector3<float>& from, const Vector3<float>& to, const Vector3<float>& h,
              const Vector3<float>& third) {
    const Vector3<float> edge = sub(to, from);
    return dot(cross(edge, sub(h, from)), cross(edge, sub(third, from))) >= 0.0f;
}

}  // namespace

void GetFrustum(const double* projection, const double* modelview, float planes[6][4]) {
    double clip[16];
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += projection[4 * k + i] * modelview[4 * j + k];
            }
            clip[4 * j + i] = sum;
        }
    }
    // Plane p = row 3 + sign * row `row`, in the order right, left, bottom, top, far, near.
    const int rows[6] = {0, 0, 1, 1, 2, 2};
    const double signs[6] = {-1, 1, 1, -1, -1, 1};
    for (int p = 0; p < 6; ++p) {
        for (int c = 0; c < 4; ++c) {
            planes[p][c] = static_cast<float>(clip[4 * c + 3] + signs[p] * clip[4 * c + rows[p]]);
        }
    }
}

int AABBinFrustum(const Vector3<float>& min, const Vector3<float>& max, const float planes[6][4]) {
    // Per plane only the corner furthest along its normal and the one furthest against it
    // matter: rounding is monotonic, so their plane values are exactly the largest and the
    // smallest of the eight corners' (even for a box whose corners are swapped).
    int planesWhollyInside = 0;
    for (int p = 0; p < 6; ++p) {
        const float* plane = planes[p];
        const float x0 = plane[0] * min.x;
        const float x1 = plane[0] * max.x;
        const float y0 = plane[1] * min.y;
        const float y1 = plane[1] * max.y;
        const float z0 = plane[2] * min.z;
        const float z1 = plane[2] * max.z;
        const float highest = std::max(x0, x1) + std::max(y0, y1) + std::max(z0, z1) + plane[3];
        if (!(highest > 0.0f)) {
            return FRUSTUM_OUTSIDE;
        }
        const float lowest = std::min(x0, x1) + std::min(y0, y1) + std::min(z0, z1) + plane[3];
        if (lowest > 0.0f) {
            ++planesWhollyInside;
        }
    }
    return planesWhollyInside == 6 ? FRUSTUM_INSIDE : FRUSTUM_CROSSING;
}

int AABBinFrustum(const AABB3<int>& box, const float planes[6][4]) {
    return AABBinFrustum(Vector3<float>(box.min), Vector3<float>(box.max), planes);
}

bool RayAABBintersection(const Vector3<float>& min, const Vector3<float>& max, const Ray3<float>& ray) {
    float tnear = -1e8f;
    float tfar = 1e8f;
    return clipSlab(ray.origin.x, ray.direction.x, min.x, max.x, tnear, tfar) &&
           clipSlab(ray.origin.y, ray.direction.y, min.y, max.y, tnear, tfar) &&
           clipSlab(ray.origin.z, ray.direction.z, min.z, max.z, tnear, tfar);
}

bool RayAABBintersection(const Vector3<int>& min, const Vector3<int>& max, const Ray3<float>& ray) {
    return RayAABBintersection(Vector3<float>(min), Vector3<float>(max), ray);
}

bool AABBoccludedByAABB(const Vector3<int>& boxMin, const Vector3<int>& boxMax, const Vector3<int>& occluderMin,
                        const Vector3<int>& occluderMax, Vector3<float> eye) {
    const Vector3<float> lo(boxMin);
    const Vector3<float> hi(boxMax);
    for (int corner = 0; corner < 8; ++corner) {
        const Vector3<float> point((corner & 4) ? hi.x : lo.x, (corner & 2) ? hi.y : lo.y, (corner & 1) ? hi.z : lo.z);
        const Ray3<float> ray{eye, sub(point, eye)};
        if (!RayAABBintersection(occluderMin, occluderMax, ray)) {
            return false;
        }
    }
    return true;
}

bool RayTriangleIntersection(const Triangle& triangle, const Ray3<float>& ray, Vector3<float>* hitPoint, float* t) {
    const Vector3<float>& a = triangle.a;
    const Vector3<float>& b = triangle.b;
    const Vector3<float>& c = triangle.c;
    const Vector3<float> n = cross(sub(b, a), sub(b, c));

    // Parallel rays and rays meeting the back side never hit.
    const float denom = dot(ray.direction, n);
    if (denom >= 0.0f) {
        return false;
    }
    const float along = (dot(n, c) - dot(n, ray.origin)) / denom;
    if (t != nullptr) {
        *t = along;
    }
    const Vector3<float> h(ray.origin.x + along * ray.direction.x, ray.origin.y + along * ray.direction.y,
                           ray.origin.z + along * ray.direction.z);
    if (!sameSide(b, c, h, a) || !sameSide(a, c, h, b) || !sameSide(b, a, h, c)) {
        return false;
    }
    if (hitPoint != nullptr) {
        *hitPoint = h;
    }
    return true;
}

Vector3<float> MatrixVertexMultiply(const Matrix& m, const Vector3<float>& v, float w) {
    return m.mult(v, w);
}
