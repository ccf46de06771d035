#include <gtest/gtest.h>

#include "platform/math.h"

TEST(VectorTest, ConversionsTruncateTowardZero) {
    const Vector3<int> cell(Vector3<float>(-0.5f, 0.5f, -1.0f));
    EXPECT_EQ(cell, Vector3<int>(0, 0, -1));
    const Vector3<int> other(Vector3<float>(-1.7f, 2.9f, 0.0f));
    EXPECT_EQ(other, Vector3<int>(-1, 2, 0));
    const Vector3<float> back(Vector3<int>(3, -4, 5));
    EXPECT_FLOAT_EQ(back.y, -4.0f);
}

TEST(VectorTest, LengthAndDirections) {
    EXPECT_FLOAT_EQ(Vector2<float>(3, 4).abs(), 5.0f);
    EXPECT_EQ(Vector3<int>::Y_PLUS, Vector3<int>(0, 1, 0));
    EXPECT_EQ(Vector3<int>::Z_MINUS, Vector3<int>(0, 0, -1));
}

TEST(AABB2Test, ContainmentIsMinInclusiveMaxExclusive) {
    const Quib::AABB2<float> box(0, 0, 10, 10);
    EXPECT_TRUE(box.pointInside(Vector2<float>(0, 0)));
    EXPECT_TRUE(box.pointInside(Vector2<float>(9.99f, 5)));
    EXPECT_FALSE(box.pointInside(Vector2<float>(10, 5)));
    EXPECT_FALSE(box.pointInside(Vector2<float>(5, 10)));
    EXPECT_FALSE(box.pointInside(Vector2<float>(-0.01f, 5)));
}

TEST(AABB2Test, DisjointIntersectionIsInvalid) {
    const Quib::AABB2<int> a(0, 0, 5, 5);
    const Quib::AABB2<int> b(10, 10, 20, 20);
    const Quib::AABB2<int> cut = a & b;
    EXPECT_EQ(cut, Quib::AABB2<int>(10, 10, 5, 5));
    EXPECT_FALSE(cut.isValid());
    EXPECT_EQ(cut.size(), Vector2<int>(-5, -5));

    const Quib::AABB2<int> overlap = a & Quib::AABB2<int>(3, -2, 8, 4);
    EXPECT_EQ(overlap, Quib::AABB2<int>(3, 0, 5, 4));
    EXPECT_TRUE(overlap.isValid());
    // Touching boxes give a zero-width box, which is valid.
    EXPECT_TRUE((a & Quib::AABB2<int>(5, 0, 9, 5)).isValid());
}

TEST(AABB2Test, OffsetMovesBothCorners) {
    const Quib::AABB2<int> box(1, 2, 3, 4);
    EXPECT_EQ(box + Vector2<int>(10, 20), Quib::AABB2<int>(11, 22, 13, 24));
    EXPECT_EQ(box - Vector2<int>(1, 2), Quib::AABB2<int>(0, 0, 2, 2));
}

TEST(AABB3Test, CenterAndConversion) {
    const AABB3<float> box(AABB3<int>(0, 2, -4, 10, 4, 4));
    const Vector3<float> c = box.center();
    EXPECT_FLOAT_EQ(c.x, 5.0f);
    EXPECT_FLOAT_EQ(c.y, 3.0f);
    EXPECT_FLOAT_EQ(c.z, 0.0f);
}

TEST(PolygonTest, EdgesFollowTheHalfOpenRule) {
    const std::vector<Vector2<float> > square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_TRUE(Vector2<float>(5, 5).pointInsidePolygon(square));
    EXPECT_TRUE(Vector2<float>(5, 0).pointInsidePolygon(square));
    EXPECT_FALSE(Vector2<float>(5, 10).pointInsidePolygon(square));
    EXPECT_TRUE(Vector2<float>(0, 5).pointInsidePolygon(square));
    EXPECT_FALSE(Vector2<float>(10, 5).pointInsidePolygon(square));
    EXPECT_FALSE(Vector2<float>(15, 5).pointInsidePolygon(square));
    EXPECT_FALSE(Vector2<float>(5, 5).pointInsidePolygon({}));
}

TEST(PolygonTest, ConcavePolygon) {
    // A U shape: the notch between the arms is outside.
    const std::vector<Vector2<float> > u = {{0, 0}, {9, 0}, {9, 9}, {6, 9}, {6, 3}, {3, 3}, {3, 9}, {0, 9}};
    EXPECT_TRUE(Vector2<float>(1, 6).pointInsidePolygon(u));
    EXPECT_FALSE(Vector2<float>(4.5f, 6).pointInsidePolygon(u));
    EXPECT_TRUE(Vector2<float>(7, 6).pointInsidePolygon(u));
    EXPECT_TRUE(Vector2<float>(4.5f, 1).pointInsidePolygon(u));
}
