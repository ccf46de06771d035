#include <gtest/gtest.h>

#include "platform/picturefit.h"

namespace {

struct Point {
    int x;
    int y;
};

// The 800 x 600 picture on screens of every shape: its box, y counted both ways, and where
// screen points land on it (bars and the far corner come to the picture's edges).
TEST(PictureFit, FillsTheScreenCentredWithBarsAndMapsPointsBack) {
    const struct {
        int width;
        int height;
        float scale;
        Quib::AABB2<int> box;
        Quib::AABB2<int> fromBottom;
        Point screen[4];
        Point picture[4];
    } cases[] = {
        {800, 600, 1.0f, {0, 0, 800, 600}, {0, 0, 800, 600},
         {{0, 0}, {799, 599}, {400, 300}, {-5, 900}},
         {{0, 0}, {799, 599}, {400, 300}, {0, 599}}},
        // 4:3: no bars.
        {1024, 768, 1.28f, {0, 0, 1024, 768}, {0, 0, 1024, 768},
         {{0, 0}, {1023, 767}, {512, 384}, {1, 1}},
         {{0, 0}, {799, 599}, {400, 300}, {0, 0}}},
        // 16:9: bars left and right; a point on a bar comes to the picture's side.
        {1280, 720, 1.2f, {160, 0, 1120, 720}, {160, 0, 1120, 720},
         {{100, 60}, {1200, 719}, {640, 360}, {160, 0}},
         {{0, 50}, {799, 599}, {400, 300}, {0, 0}}},
        {1366, 768, 1.28f, {171, 0, 1195, 768}, {171, 0, 1195, 768},
         {{170, 0}, {1194, 767}, {683, 384}, {1300, 100}},
         {{0, 0}, {799, 599}, {400, 300}, {799, 78}}},
        // 5:4: bars above and below.
        {1280, 1024, 1.6f, {0, 32, 1280, 992}, {0, 32, 1280, 992},
         {{640, 10}, {640, 1000}, {640, 512}, {0, 32}},
         {{400, 0}, {400, 599}, {400, 300}, {0, 0}}},
        // An odd leftover: the bottom bar is the wider one, counted from either edge.
        {1024, 777, 1.28f, {0, 4, 1024, 772}, {0, 5, 1024, 773},
         {{0, 4}, {1023, 771}, {512, 388}, {0, 776}},
         {{0, 0}, {799, 599}, {400, 300}, {0, 599}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const PictureFit fit(800, 600, c.width, c.height);
        EXPECT_FLOAT_EQ(fit.scale(), c.scale);
        EXPECT_EQ(fit.box(), c.box);
        EXPECT_EQ(fit.boxFromBottom(), c.fromBottom);
        for (int i = 0; i < 4; ++i) {
            int x = c.screen[i].x;
            int y = c.screen[i].y;
            fit.toPicture(x, y);
            EXPECT_EQ(x, c.picture[i].x) << "screen point " << i;
            EXPECT_EQ(y, c.picture[i].y) << "screen point " << i;
        }
    }
}

}  // namespace
