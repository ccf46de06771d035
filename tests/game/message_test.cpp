#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine2d/font.h"
#include "engine2d/renderer2d.h"
#include "game/message.h"
#include "tests/game/block_font.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/gl_readback.h"

using Stelkor::Renderer2D;
using Vortel::Message;

namespace {

// Frames of 0.1 s; through all of them the alpha must stay a real, non-negative number.
void runFrames(Message& message, int frames) {
    for (int i = 0; i < frames; ++i) {
        message.animate(0.1);
        ASSERT_TRUE(std::isfinite(message.alpha()));
        ASSERT_GE(message.alpha(), 0.0f);
    }
}

}  // namespace

TEST(MessageTest, ASecondShowRestartsOnlyWithAHoldLongerThanWhatIsLeft) {
    struct Case {
        double secondAfter;
        double timeAfterSecond;  // the clock right after the second call
        double holdAfterSecond;
        double hiddenAfter;  // seconds from the first call
    };
    const Case cases[] = {
        {0.5, 0.5, 2.0, 3.0},  // 1.5 left: 1.2 is not longer, the first hold runs on
        {1.0, 0.0, 1.2, 3.2},  // 1.0 left: 1.2 restarts the showing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.secondAfter);
        Renderer2D renderer;
        Message message(renderer);
        message._text << "FIRST\n";
        message.showText(2.0, 0.5);
        message.animate(c.secondAfter);
        message.showText(1.2, 1.0);
        EXPECT_DOUBLE_EQ(message.time(), c.timeAfterSecond);
        EXPECT_DOUBLE_EQ(message.holdTime(), c.holdAfterSecond);
        EXPECT_DOUBLE_EQ(message.fadeTime(), 1.0);

        message.animate(c.hiddenAfter - c.secondAfter - 0.01);
        EXPECT_TRUE(message.shown());
        EXPECT_EQ(message._text.str(), "FIRST\n");
        message.animate(0.02);
        EXPECT_FALSE(message.shown());
        EXPECT_EQ(message._text.str(), "");
    }
}

TEST(MessageTest, FadesLinearlyAfterTheHoldThenHidesAndEmpties) {
    Renderer2D renderer;
    Message message(renderer);
    message._text << "SCORE\n";
    message.showText(1.0, 0.5);
    runFrames(message, 10);
    EXPECT_FLOAT_EQ(message.alpha(), 1.0f);
    runFrames(message, 1);
    EXPECT_NEAR(message.alpha(), 0.8f, 1e-5);
    runFrames(message, 1);
    EXPECT_NEAR(message.alpha(), 0.6f, 1e-5);

    // A call while fading restores full alpha and holds again, whatever the hold.
    message.showText(0.1, 0.5);
    EXPECT_FLOAT_EQ(message.alpha(), 1.0f);
    EXPECT_DOUBLE_EQ(message.time(), 0.0);
    message.showText(1.0, 0.5);
    runFrames(message, 14);
    EXPECT_TRUE(message.shown());
    EXPECT_NEAR(message.alpha(), 0.2f, 1e-5);
    runFrames(message, 1);  // the clock passes 1.5 s
    EXPECT_FALSE(message.shown());
    EXPECT_EQ(message._text.str(), "");
    // The stream is still fit for the next announcement.
    EXPECT_TRUE(message._text.good());
    message._text << "STAGE " << 2;
    EXPECT_EQ(message._text.str(), "STAGE 2");
}

TEST(MessageTest, WithoutAFadeHidesOnTheFirstFramePastTheHold) {
    const double fades[] = {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()};
    for (const double fade : fades) {
        SCOPED_TRACE(fade);
        Renderer2D renderer;
        Message message(renderer);
        message._text << "GAME OVER";
        message.showText(1.0, fade);
        EXPECT_DOUBLE_EQ(message.fadeTime(), 0.0);
        runFrames(message, 10);
        EXPECT_TRUE(message.shown());
        EXPECT_FLOAT_EQ(message.alpha(), 1.0f);
        runFrames(message, 1);
        EXPECT_FALSE(message.shown());
        EXPECT_EQ(message._text.str(), "");
    }
}

namespace {

using MessageGL = testsupport::GlFixture;

const std::array<int, 3> kInk = {0, 102, 0};

}  // namespace

TEST_F(MessageGL, PrintsEachLineCentredWithTheBlockOnThePosition) {
    testsupport::writeBlockFont("font_block.png", 16);
    Renderer2D renderer;
    renderer.textureFilter(Renderer2D::FILTER_NEAREST);
    Stelkor::Font font("font_block.png", "I", 4, 16, 0, renderer, true);
    renderer.font(font);
    renderer.color(0, 0, 0, 1);
    renderer.clear();

    Message message(renderer);
    message._pos = Vector2<float>(400, 300);
    message._color = RGBA<float>(0, 1, 0, 0.8f);
    message.alphaMultiplier(0.5f);
    message._text << "I";
    message.showText(1.0, 1.0);
    message._text << "\nII";  // added while shown, no clear(): both lines are drawn
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(37, 21, 0);  // the message places itself regardless
    message.draw();

    GLfloat current[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_FLOAT_EQ(current[3], 0.4f);
    EXPECT_EQ(renderer.color(), RGBA<float>(0, 1, 0, 0.4f));

    const std::vector<unsigned char> screen = testsupport::readScreen();
    EXPECT_EQ(testsupport::pixelsOf(screen, 0, 102, 0), 8 * 16 + 16 * 16);
    // "II" from the block's bottom edge at y 300, "I" on top of it, both centred on x 400.
    EXPECT_EQ(testsupport::rgbAt(screen, 392, 300), kInk);
    EXPECT_EQ(testsupport::rgbAt(screen, 407, 315), kInk);
    EXPECT_NE(testsupport::rgbAt(screen, 392, 299), kInk);
    EXPECT_NE(testsupport::rgbAt(screen, 391, 300), kInk);
    EXPECT_EQ(testsupport::rgbAt(screen, 396, 316), kInk);
    EXPECT_EQ(testsupport::rgbAt(screen, 403, 331), kInk);
    EXPECT_NE(testsupport::rgbAt(screen, 395, 316), kInk);
    EXPECT_NE(testsupport::rgbAt(screen, 403, 332), kInk);
}
