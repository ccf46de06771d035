#include <gtest/gtest.h>

#include <memory>

#include "engine2d/font.h"
#include "engine2d/textsprite.h"
#include "tests/support/draw_recorder.h"
#include "tests/support/png_writer.h"

using Stelkor::Font;
using Stelkor::Renderer2D;
using Stelkor::Sprite;
using Stelkor::TextSprite;
using Stelkor::Timeline;

namespace {

// "A" 10 wide and "B" 12 wide, rows of 20, spacing 2: "AB" measures 26 x 20.
class TextSpriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::RgbaPicture sheet(64, 32);
        for (int x : {10, 23, 24}) {
            sheet.set(x, 31, 255, 0, 0, 255);
        }
        testsupport::writePng("textsprite_font.png", sheet);
        font.reset(new Font("textsprite_font.png", "AB", 4, 20, 2, renderer, false));
    }

    testsupport::DrawRecorder renderer;
    std::unique_ptr<Font> font;
};

}  // namespace

TEST_F(TextSpriteTest, BoundingBoxFollowsTheAlignmentButNotTheScale) {
    TextSprite s;
    s.text = "AB";
    s.pos(50, 300);
    s.offset.set(0, 0);
    s._scale.set(2, 2);
    s.animate(0);
    EXPECT_EQ(s.boundingBox(), Quib::AABB2<float>(0, 0, 0, 0));  // no font: unchanged

    s.font = font.get();
    EXPECT_EQ(s.boundingBox(), Quib::AABB2<float>(50, 280, 76, 300));

    s.hAlign = Renderer2D::ALIGN_RIGHT;
    s.vAlign = Renderer2D::ALIGN_BOTTOM;
    EXPECT_EQ(s.boundingBox(), Quib::AABB2<float>(24, 300, 50, 320));

    s.hAlign = Renderer2D::ALIGN_CENTER;
    s.vAlign = Renderer2D::ALIGN_CENTER;
    s.offset.set(10, 0);
    EXPECT_EQ(s.boundingBox(), Quib::AABB2<float>(47, 290, 73, 310));

    s.font = nullptr;
    s.pos(0, 0);
    s.animate(0);
    EXPECT_EQ(s.boundingBox(), Quib::AABB2<float>(47, 290, 73, 310));
}

TEST_F(TextSpriteTest, PrintsAfterItsTreeInItsOwnColourAndScale) {
    TextSprite s;
    s.text = "B";
    s.textColor = RGBA<float>(0, 1, 0, 1);
    s._scale.set(2, 2);
    s.pos(10, 100);
    s.animate(0);
    s.draw();
    EXPECT_TRUE(renderer.calls.empty());  // no font, no text

    s.font = font.get();
    s.draw();
    ASSERT_EQ(renderer.calls.size(), 1u);
    EXPECT_EQ(renderer.calls[0].image, font->charImage('B'));
    EXPECT_EQ(renderer.calls[0].color, RGBA<float>(0, 1, 0, 1));
    EXPECT_EQ(renderer.calls[0].scale, Vector2<float>(2, 2));

    s._visible = false;
    s.draw();
    EXPECT_EQ(renderer.calls.size(), 1u);
}

TEST_F(TextSpriteTest, DuplicateCopiesTheTextAndFadesItsOwnColour) {
    TextSprite source;
    source.text = "A";
    source.font = font.get();
    source.hAlign = Renderer2D::ALIGN_CENTER;
    source.offset.set(1, 2);
    Timeline<float> fade;
    fade.loop = false;
    fade.addKey({0, 1, 1});
    fade.addKey({1, 0, 1});
    source.setTimeline(source.textColor.a, fade);

    std::unique_ptr<Sprite> copy(source.duplicate());
    TextSprite* text = dynamic_cast<TextSprite*>(copy.get());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text, "A");
    EXPECT_EQ(text->font, font.get());
    EXPECT_EQ(text->hAlign, Renderer2D::ALIGN_CENTER);
    EXPECT_EQ(text->offset, Vector2<float>(1, 2));

    copy->animate(0.5);
    EXPECT_FLOAT_EQ(text->textColor.a, 0.5f);
    EXPECT_FLOAT_EQ(source.textColor.a, 1);
}
