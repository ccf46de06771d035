#include <gtest/gtest.h>

#include <memory>

#include "engine2d/bitmap.h"
#include "engine2d/image.h"
#include "engine2d/menuslider.h"
#include "tests/support/draw_recorder.h"

using Stelkor::Bitmap;
using Stelkor::Image;
using Stelkor::MenuSlider;
using Stelkor::Sprite;

namespace {

// A bar of the given width and an opaque 8 x 8 handle.
class MenuSliderTest : public ::testing::Test {
protected:
    explicit MenuSliderTest(int barWidth = 100)
        : bar(bitmap, Quib::AABB2<int>(0, 0, barWidth, 4), Vector2<int>(0, 0), false),
          knob(bitmap, Quib::AABB2<int>(0, 8, 8, 16), Vector2<int>(0, 0), false) {
        barSprite.image(bar);
        handleSprite.image(knob);
        handleSprite.pos(0, 5);
    }

    testsupport::DrawRecorder renderer;
    Bitmap bitmap{Vector2<unsigned int>(256, 16), renderer, RGBA<float>(1, 1, 1, 1)};
    Image bar;
    Image knob;
    Sprite handleSprite;
    Sprite barSprite;
};

struct WideBarSliderTest : MenuSliderTest {
    WideBarSliderTest() : MenuSliderTest(128) {}
};

struct NarrowBarSliderTest : MenuSliderTest {
    NarrowBarSliderTest() : MenuSliderTest(6) {}
};

}  // namespace

TEST_F(MenuSliderTest, ValuesArePlacedInWholeStepsWithinTheRange) {
    MenuSlider s(handleSprite, barSprite);
    EXPECT_EQ(s.pixelsPerStep(), 10);
    EXPECT_EQ(s.handle()->pos(), Vector2<float>(0, 5));  // keeps the given sprite's place

    s.value(3);
    EXPECT_EQ(s.handle()->pos(), Vector2<float>(30, 0));
    EXPECT_EQ(s.value(), 3);
    s.value(15);
    EXPECT_EQ(s.handle()->pos().x, 100);
    EXPECT_EQ(s.value(), 10);
    s.value(-2);
    EXPECT_EQ(s.handle()->pos().x, 0);

    s.range(0, 10, 3.0f);
    EXPECT_EQ(s.stepCount(), 3);
    EXPECT_EQ(s.pixelsPerStep(), 33);
}

TEST_F(MenuSliderTest, DraggingAccumulatesPastTheEndsAndSnapsDown) {
    MenuSlider s(handleSprite, barSprite);
    s.drag(Vector2<float>(50, 0));
    EXPECT_EQ(s.value(), 0);  // not dragging

    s.value(9);
    s.startDrag();
    s.drag(Vector2<float>(60, 7));  // 50 past the right end
    EXPECT_EQ(s.handle()->pos().x, 100);
    s.drag(Vector2<float>(-30, 0));
    EXPECT_EQ(s.handle()->pos().x, 100);
    s.drag(Vector2<float>(-25, 0));
    EXPECT_EQ(s.handle()->pos().x, 90);  // 95 snaps down
    s.stopDrag();
    EXPECT_FALSE(s.dragging());
}

TEST_F(WideBarSliderTest, RangeSetsTheStepsAlongTheBar) {
    MenuSlider s(handleSprite, barSprite);
    s.range(0, 11, 1.0f);
    EXPECT_EQ(s.stepCount(), 11);
    EXPECT_EQ(s.pixelsPerStep(), 11);
    s.startDrag();
    s.drag(Vector2<float>(500, 0));
    EXPECT_EQ(s.handle()->pos().x, 121);
    EXPECT_EQ(s.value(), 11);
}

TEST_F(NarrowBarSliderTest, BarsNarrowerThanTheirStepsKeepOnePixelPerStep) {
    MenuSlider s(handleSprite, barSprite);
    EXPECT_EQ(s.pixelsPerStep(), 1);
    s.value(4);
    EXPECT_EQ(s.value(), 4);
    s.steps(0);
    EXPECT_EQ(s.stepCount(), 1);
    s.range(5, 5, 1.0f);
    s.range(0, 10, 0.0f);
    EXPECT_GE(s.pixelsPerStep(), 1);
    EXPECT_GE(s.value(), 0);
}

TEST_F(MenuSliderTest, HandleHitAndBoxFollowTheOrigin) {
    MenuSlider s(handleSprite, barSprite);
    s.origin(Vector2<float>(200, 100));
    s.pos(170, 0);
    s.value(2);
    s.animate(0);
    const Vector2<float> handleAt = s.handle()->posAbs();
    EXPECT_EQ(handleAt, Vector2<float>(390, 100));
    EXPECT_FALSE(s.mouseHitHandle(Vector2<float>(handleAt.x - 6, handleAt.y + 4)));
    EXPECT_TRUE(s.mouseHitHandle(Vector2<float>(handleAt.x - 2, handleAt.y + 4)));
    EXPECT_EQ(s.bbox(), Quib::AABB2<float>(370, 100, 470, 108));

    renderer.calls.clear();
    s.draw();
    EXPECT_EQ(renderer.calls.size(), 2u);
}

TEST_F(MenuSliderTest, CopiesOwnTheirSpritesAndAssignmentReplacesThem) {
    std::unique_ptr<MenuSlider> original(new MenuSlider(handleSprite, barSprite));
    original->pos(170, 0);
    original->range(0, 5, 1.0f);
    original->value(4);

    MenuSlider copy(*original);
    EXPECT_NE(copy.handle(), original->handle());
    EXPECT_EQ(copy.pos(), Vector2<float>(170, 0));
    EXPECT_EQ(copy.pixelsPerStep(), 20);
    copy.value(2);
    EXPECT_EQ(original->value(), 4);

    MenuSlider assigned(handleSprite, barSprite);
    assigned = *original;
    assigned = assigned;
    EXPECT_EQ(assigned.stepCount(), 5);
    original.reset();
    assigned.value(1);
    assigned.animate(0);
    EXPECT_EQ(assigned.value(), 1);
}
