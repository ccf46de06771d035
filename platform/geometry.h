#ifndef QUELLARIS_PLATFORM_GEOMETRY_H
#define QUELLARIS_PLATFORM_GEOMETRY_H

#include "platform/aabb3.h"
#include "platform/matrix.h"
#include "platform/ray3.h"
#include "platform/triangle.h"
#include "platform/vector3.h"

// View-frustum culling and ray hit tests: pure functions, no GL. Matrices arrive as
// sixteen doubles in column order (GL's own layout); everything else is single precision.
//
// Frustum planes are six rows (a, b, c, d) in the order right, left, bottom, top, far,
// near. A point p is inside a plane when a.p.x + b.p.y + c.p.z + d > 0. The planes are
// not normalised: only the sign of that expression is ever used.

// Results of AABBinFrustum.
enum { FRUSTUM_OUTSIDE = 0, FRUSTUM_CROSSING = 1, FRUSTUM_INSIDE = 2 };

void GetFrustum(const double* projection, const double* modelview, float planes[6][4]);

// 0 outside, 1 crossing, 2 wholly inside. A corner exactly on a plane is outside it.
// Integer corners are used as they stand (the max corner is not widened by a cell).
int AABBinFrustum(const Vector3<float>& min, const Vector3<float>& max, const float planes[6][4]);
int AABBinFrustum(const AABB3<int>& box, const float planes[6][4]);

// Slab test. A ray starting inside the box hits, and so do rays that only touch it.
bool RayAABBintersection(const Vector3<float>& min, const Vector3<float>& max, const Ray3<float>& ray);
bool RayAABBintersection(const Vector3<int>& min, const Vector3<int>& max, const Ray3<float>& ray);

// True when every ray from the eye to a corner of the box meets the occluder somewhere
// ahead of the eye (also beyond the corner).
bool AABBoccludedByAABB(const Vector3<int>& boxMin, const Vector3<int>& boxMax, const Vector3<int>& occluderMin,
                        const Vector3<int>& occluderMax, Vector3<float> eye);

// Hits only from the front side (b - a) x (b - c); points on an edge or corner are inside.
// There is no test on the sign of t: a triangle behind the origin hits with a negative t.
// t is written as soon as the plane is met, also when the point then proves to lie outside.
bool RayTriangleIntersection(const Triangle& triangle, const Ray3<float>& ray, Vector3<float>* hitPoint = nullptr,
                             float* t = nullptr);

// The first three rows of M.(v, w), without division by the fourth.
Vector3<float> MatrixVertexMultiply(const Matrix& m, const Vector3<float>& v, float w);

#endif
