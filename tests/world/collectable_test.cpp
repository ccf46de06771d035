#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "tests/support/gl_fixture.h"
#include "world/collectable.h"

using Vortel::Collectable;

TEST(Collectable, StartsWithTheDefaults) {
    const Collectable pickUp;
    EXPECT_EQ(pickUp._scoreAmount + pickUp._bombAmount + pickUp._ammoAmount + pickUp._shieldAmount, 0);
    EXPECT_EQ(pickUp._amountScale, 0.0f);
    EXPECT_EQ(pickUp.pos(), Vector3<int>(0, 0, 0));
    EXPECT_EQ(pickUp._mesh, nullptr);
    EXPECT_EQ(pickUp._lifeTime, 5.0);
    EXPECT_EQ(pickUp._fadeTime, 1.0);
    EXPECT_EQ(pickUp._age, 0.0);
    EXPECT_EQ(pickUp._alpha, 1.0f);
}

TEST(Collectable, FadesOutOverTheEndOfItsLife) {
    Collectable pickUp;
    pickUp.animate(3.9);
    EXPECT_FLOAT_EQ(pickUp._alpha, 1.0f);
    pickUp.animate(0.1);
    EXPECT_FLOAT_EQ(pickUp._alpha, 1.0f);
    pickUp.animate(0.5);
    EXPECT_FLOAT_EQ(pickUp._alpha, 0.5f);
    pickUp.animate(0.5);
    EXPECT_FLOAT_EQ(pickUp._alpha, 0.0f);
    pickUp.animate(2.0);
    EXPECT_FLOAT_EQ(pickUp._alpha, 0.0f);
    EXPECT_DOUBLE_EQ(pickUp._age, 7.0);
}

TEST(Collectable, AFadeOfNoLengthEndsAtTheLifeTimeWithoutDividingByZero) {
    Collectable pickUp;
    pickUp._fadeTime = 0.0;
    pickUp.animate(4.99);
    EXPECT_EQ(pickUp._alpha, 1.0f);
    pickUp.animate(0.01);
    EXPECT_FALSE(std::isnan(pickUp._alpha));
    EXPECT_EQ(pickUp._alpha, 0.0f);
}

TEST(Collectable, GrowsToSevenTenthsOfACellWhileSpinning) {
    Collectable pickUp;
    EXPECT_EQ(pickUp.scale(), 0.0f);
    pickUp.animate(0.35);
    EXPECT_FLOAT_EQ(pickUp.scale(), 0.35f);
    EXPECT_FLOAT_EQ(pickUp.spin(), 31.5f);
    pickUp.animate(1.65);
    EXPECT_FLOAT_EQ(pickUp.scale(), 0.7f);
    EXPECT_FLOAT_EQ(pickUp.spin(), 180.0f);
}

using CollectableGL = testsupport::GlFixture;

TEST_F(CollectableGL, DrawsNothingAndChangesNoStateWithoutAMesh) {
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    Collectable pickUp;
    pickUp.animate(1.0);
    pickUp.draw();
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLfloat color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_FLOAT_EQ(color[0], 0.25f);
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
