#include <gtest/gtest.h>

#include <memory>

#include "engine2d/bitmap.h"
#include "engine2d/image.h"
#include "engine2d/sprite.h"
#include "tests/support/draw_recorder.h"

using Stelkor::Bitmap;
using Stelkor::Image;
using Stelkor::Sprite;

namespace {

class SpriteTest : public ::testing::Test {
protected:
    testsupport::DrawRecorder renderer;
    Bitmap bitmap{Vector2<unsigned int>(16, 16), renderer, RGBA<float>(1, 1, 1, 1)};
    Image imageA{bitmap, Quib::AABB2<int>(0, 0, 8, 8), Vector2<int>(0, 0), false};
    Image imageB{bitmap, Quib::AABB2<int>(8, 8, 16, 16), Vector2<int>(0, 0), false};
};

// A sprite that counts its deletions, to see that trees free each node exactly once.
struct Counted : Sprite {
    explicit Counted(int& deaths) : deaths(deaths) {}
    ~Counted() override { ++deaths; }
    Sprite* duplicate() const override {
        Counted* copy = new Counted(deaths);
        copyTo(copy);
        return copy;
    }
    int& deaths;
};

}  // namespace

TEST_F(SpriteTest, ChildrenFollowTheirParentsAbsolutePosition) {
    Sprite root;
    Sprite* child = new Sprite;
    Sprite* grandchild = new Sprite;
    root.pos(100, 50);
    child->pos(10, 0).posBy(0, 5);
    grandchild->pos(1, 1);
    child->parent(&root);
    grandchild->parent(child);

    root.animate(0.0);
    EXPECT_EQ(child->posAbs(), Vector2<float>(110, 55));
    EXPECT_EQ(grandchild->posAbs(), Vector2<float>(111, 56));

    root.vel(10, 0);  // moves 10 to the right per second, children along
    root.animate(1.0);
    EXPECT_FLOAT_EQ(grandchild->posAbs().x, 121);
    EXPECT_FLOAT_EQ(root.distance(), 10);
    EXPECT_FLOAT_EQ(child->age(), 1);
}

TEST_F(SpriteTest, SpeedAndScaleStopAtZero) {
    Sprite s;
    s.vel(10, 0);
    s._acceleration = -20;
    s._scaleVel.set(-2, 0);
    s._spin = 0.5f;
    s.animate(1.0);
    EXPECT_FLOAT_EQ(s.vel().length, 0);
    EXPECT_EQ(s._scale, Vector2<float>(0, 1));
    EXPECT_FLOAT_EQ(s._rotation, 0.5f);
    EXPECT_FLOAT_EQ(s.pos().x, 0);  // the new speed, 0, is the one applied
    s.animate(1.0);
    EXPECT_FLOAT_EQ(s.vel().length, 0);
    EXPECT_EQ(s._scale, Vector2<float>(0, 1));

    s.vel(2, 1.5707963f).velBy(RadVector2<float>(1, 0));
    s._acceleration = 0;
    s.animate(1.0);
    EXPECT_NEAR(s.pos().x, 0, 1e-5);
    EXPECT_NEAR(s.pos().y, 3, 1e-5);
}

TEST_F(SpriteTest, DrawsChildrenUnderTheImageUnlessAskedOtherwise) {
    Sprite root;
    root.image(imageA);
    root.color(0.5f, 0.25f, 1, 1);
    root.pos(3, 4);
    Sprite* child = new Sprite;
    child->image(imageB);
    child->parent(&root);
    root.animate(0);

    root.draw();
    ASSERT_EQ(renderer.calls.size(), 2u);
    EXPECT_EQ(renderer.calls[0].image, &imageB);
    EXPECT_EQ(renderer.calls[1].image, &imageA);
    EXPECT_EQ(renderer.calls[1].pos, Vector2<float>(3, 4));
    EXPECT_EQ(renderer.calls[1].color, RGBA<float>(0.5f, 0.25f, 1, 1));

    renderer.calls.clear();
    root.drawImageFirst = true;
    root.draw();
    ASSERT_EQ(renderer.calls.size(), 2u);
    EXPECT_EQ(renderer.calls[0].image, &imageA);

    renderer.calls.clear();
    root._visible = false;
    root.draw();
    EXPECT_TRUE(renderer.calls.empty());  // the visible child is hidden with its parent
}

TEST_F(SpriteTest, ReparentingKeepsOneEntryInOneList) {
    Sprite a;
    Sprite b;
    Sprite child;
    child.parent(&a);
    child.parent(&a);
    EXPECT_EQ(a.children().size(), 1u);
    child.parent(&b);
    EXPECT_TRUE(a.children().empty());
    EXPECT_EQ(b.children().size(), 1u);
    child.parent(nullptr);
    EXPECT_TRUE(b.children().empty());
}

TEST_F(SpriteTest, CopyReplacesTheTargetsChildrenWithDuplicatesInOrder) {
    int deaths = 0;
    Sprite source;
    source.pos(5, 6);
    source.image(imageA);
    source._spin = 2;
    Sprite* first = new Counted(deaths);
    Sprite* second = new Counted(deaths);
    first->pos(1, 0);
    second->pos(2, 0);
    first->parent(&source);
    second->parent(&source);
    (new Counted(deaths))->pos(9, 9).parent(first);

    Sprite target;
    (new Counted(deaths))->parent(&target);

    source.copyTo(&target);
    EXPECT_EQ(deaths, 1);
    ASSERT_EQ(target.children().size(), 2u);
    EXPECT_EQ(target.children().front()->pos(), Vector2<float>(1, 0));
    EXPECT_EQ(target.children().back()->pos(), Vector2<float>(2, 0));
    EXPECT_EQ(target.children().front()->children().size(), 1u);
    EXPECT_EQ(target.children().front()->parent(), &target);
    EXPECT_EQ(target.pos(), Vector2<float>(5, 6));
    EXPECT_EQ(target.image(), &imageA);

    // Onto itself or an ancestor nothing changes (the source would be among what is replaced).
    source.copyTo(&source);
    second->copyTo(&source);
    first->children().front()->copyTo(&source);
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(source.pos(), Vector2<float>(5, 6));
    EXPECT_EQ(source.children().size(), 2u);
    EXPECT_EQ(source.children().front(), first);
}

TEST_F(SpriteTest, DuplicatesOfChildrenAreRootsAndTreesFreeEveryNodeOnce) {
    int deaths = 0;
    {
        Sprite parent;
        parent.pos(100, 0);
        Counted* child = new Counted(deaths);
        child->parent(&parent);
        (new Counted(deaths))->parent(child);

        std::unique_ptr<Sprite> copy(child->duplicate());
        EXPECT_EQ(copy->parent(), nullptr);
        copy->animate(0);
        EXPECT_EQ(copy->posAbs(), Vector2<float>(0, 0));
        EXPECT_EQ(parent.children().size(), 1u);

        Sprite* tree = parent.duplicate();
        delete tree;
        EXPECT_EQ(deaths, 2);
        deaths = 0;
    }
    EXPECT_EQ(deaths, 4);  // the original pair and the copied pair
}

TEST_F(SpriteTest, RendererDrawsASpriteAtItsOwnPositionWithItsColourForTheCallOnly) {
    Sprite s;
    s.pos(7, 8);
    renderer._color.set(0.1f, 0.2f, 0.3f, 0.4f);
    renderer.drawSprite(s);
    EXPECT_TRUE(renderer.calls.empty());

    s.image(imageA);
    s._visible = false;
    renderer.drawSprite(s);
    EXPECT_TRUE(renderer.calls.empty());

    s._visible = true;
    s.color(1, 0, 0, 1);
    s._scale.set(2, 3);
    renderer.drawSprite(s);
    ASSERT_EQ(renderer.calls.size(), 1u);
    EXPECT_EQ(renderer.calls[0].pos, Vector2<float>(7, 8));
    EXPECT_EQ(renderer.calls[0].color, RGBA<float>(1, 0, 0, 1));
    EXPECT_EQ(renderer.calls[0].scale, Vector2<float>(2, 3));
    EXPECT_EQ(renderer._color, RGBA<float>(0.1f, 0.2f, 0.3f, 0.4f));
}
