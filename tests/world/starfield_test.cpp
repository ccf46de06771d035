#include <gtest/gtest.h>

#include "platform/crand.h"
#include "tests/world/particlepool.h"
#include "world/starfield.h"

using Vortel::Particle;
using Vortel::Starfield;

namespace {

class StarfieldTest : public particlepool::PoolTest {
protected:
    // A field drifting along +x, as the game makes it.
    Starfield make(int count) {
        return Starfield(Vector3<float>(1.0f, 2.0f, 3.0f), Vector3<float>(1.0f, 0.0f, 0.0f), 0.2f, count, 7);
    }
};

bool insideCube(const Vector3<float>& p) {
    return p.x >= -16.0f && p.x <= 16.0f && p.y >= -16.0f && p.y <= 16.0f && p.z >= -16.0f && p.z <= 16.0f;
}

float faceValue(int r) {
    return static_cast<float>(r) * 0.0009765923f - 16.0f;
}

}  // namespace

TEST_F(StarfieldTest, StartsWithItsStarsInTheCubeRoundItsOrigin) {
    Starfield field(Vector3<float>(1.0f, 2.0f, 3.0f), Vector3<float>(1.0f, 0.0f, 0.0f), 0.2f, 400, 7);
    EXPECT_EQ(field.numParticles(), 400);
    EXPECT_EQ(field.maxParticles(), 2000);
    EXPECT_FLOAT_EQ(field.starParam(), 0.2f);
    const Particle::CreateData& t = field.starTemplate();
    EXPECT_FLOAT_EQ(t.sizeBase, 0.3f);
    EXPECT_EQ(t.colorBase, RGBA<float>(0.0f, 0.0f, 0.0f, 0.33f));
    EXPECT_EQ(t.colorRange, RGBA<float>(0.1f, 0.1f, 0.1f, 0.06f));
    EXPECT_EQ(t.origin, &field.origin());
    EXPECT_EQ(t.texId, 7);
    for (const Particle* star : field.particles()) {
        EXPECT_TRUE(insideCube(star->_pos));
        EXPECT_GT(star->_color.a, 0.0f);
        EXPECT_EQ(star->_vel, Vector3<float>());
        EXPECT_EQ(star->_systemOrigin, &field.origin());
    }
}

TEST_F(StarfieldTest, DriftsAndWrapsStarsToTheOppositeFace) {
    Starfield field = make(3);
    Particle& pastX = *field.particles()[0];
    Particle& onFace = *field.particles()[1];
    Particle& pastXandY = *field.particles()[2];
    pastX._pos = Vector3<float>(16.5f, 1.0f, 2.0f);
    onFace._pos = Vector3<float>(16.0f, -16.0f, 16.0f);
    pastXandY._pos = Vector3<float>(17.0f, -17.0f, 0.0f);

    crand::srand(99);
    int r[4];
    for (int& v : r) {
        v = crand::rand();
    }
    crand::srand(99);
    field.animate(0.25);

    // Past x = 16: back at -16 with fresh y and z, then the drift of this step.
    EXPECT_FLOAT_EQ(pastX._pos.x, -16.0f + 0.25f);
    EXPECT_FLOAT_EQ(pastX._pos.y, faceValue(r[0]));
    EXPECT_FLOAT_EQ(pastX._pos.z, faceValue(r[1]));
    // Exactly on a face is still inside.
    EXPECT_FLOAT_EQ(onFace._pos.x, 16.25f);
    EXPECT_FLOAT_EQ(onFace._pos.y, -16.0f);
    // Past two faces: x wraps first and redraws y, which lands inside.
    EXPECT_FLOAT_EQ(pastXandY._pos.x, -15.75f);
    EXPECT_FLOAT_EQ(pastXandY._pos.y, faceValue(r[2]));
    EXPECT_FLOAT_EQ(pastXandY._pos.z, faceValue(r[3]));

    // The star left on the face wraps once it has drifted past it.
    crand::srand(5);
    field.animate(0.0);
    EXPECT_FLOAT_EQ(onFace._pos.x, -16.0f);
}

TEST_F(StarfieldTest, WrapsEveryAxisBothWays) {
    Starfield field(Vector3<float>(), Vector3<float>(), 0.2f, 6, 0);
    const Vector3<float> out[6] = {{17, 0, 0}, {-17, 0, 0}, {0, 17, 0}, {0, -17, 0}, {0, 0, 17}, {0, 0, -17}};
    const Vector3<float> back[6] = {{-16, 0, 0}, {16, 0, 0}, {0, -16, 0}, {0, 16, 0}, {0, 0, -16}, {0, 0, 16}};
    for (int i = 0; i < 6; ++i) {
        field.particles()[static_cast<std::size_t>(i)]->_pos = out[i];
    }
    field.animate(0.1);
    for (int i = 0; i < 6; ++i) {
        const Vector3<float>& p = field.particles()[static_cast<std::size_t>(i)]->_pos;
        EXPECT_TRUE(insideCube(p)) << "star " << i;
        const float got = back[i].x != 0 ? p.x : back[i].y != 0 ? p.y : p.z;
        const float want = back[i].x + back[i].y + back[i].z;
        EXPECT_FLOAT_EQ(got, want) << "star " << i;
    }
}

TEST_F(StarfieldTest, StarCountAddsAndRemovesFromTheFront) {
    Starfield field = make(400);
    const Particle* const fifth = field.particles()[4];
    field.starCount(396);
    EXPECT_EQ(field.numParticles(), 396);
    EXPECT_EQ(field.particles().front(), fifth);
    field.starCount(396);
    EXPECT_EQ(field.numParticles(), 396);
    field.starCount(1000);
    EXPECT_EQ(field.numParticles(), 1000);
    field.starCount(2500);
    EXPECT_EQ(field.numParticles(), 2001);
    EXPECT_EQ(Particle::particleCount(), 2001);
    field.destroyStars(5000);
    EXPECT_EQ(field.numParticles(), 0);
    field.starCount(10);
    field.starCount(0);
    EXPECT_EQ(field.numParticles(), 0);
    EXPECT_EQ(Particle::particleCount(), 0);
}

TEST_F(StarfieldTest, RecolouringSpreadsHalfTheRangeAndLaterStarsTheWholeRange) {
    Starfield field = make(50);
    field.color(RGBA<float>(1.0f, 0.5f, 0.25f, 0.3f), RGBA<float>());
    for (const Particle* star : field.particles()) {
        EXPECT_EQ(star->_color, RGBA<float>(1.0f, 0.5f, 0.25f, 0.3f));
    }

    field.color(RGBA<float>(0.5f, 0.5f, 0.5f, 0.3f), RGBA<float>(0.2f, 0.2f, 0.2f, 0.1f));
    for (const Particle* star : field.particles()) {
        EXPECT_GE(star->_color.r, 0.4f - 1e-6f);
        EXPECT_LE(star->_color.r, 0.6f + 1e-6f);
        EXPECT_GE(star->_color.a, 0.25f - 1e-6f);
        EXPECT_LE(star->_color.a, 0.35f + 1e-6f);
    }
    EXPECT_EQ(field.starTemplate().colorBase, RGBA<float>(0.5f, 0.5f, 0.5f, 0.3f));
    EXPECT_EQ(field.starTemplate().colorRange, RGBA<float>(0.2f, 0.2f, 0.2f, 0.1f));
}

TEST_F(StarfieldTest, StarsRecolouredToNoAlphaDisappearAtTheNextStep) {
    Starfield field = make(200);
    field.color(RGBA<float>(1.0f, 1.0f, 1.0f, 0.0f), RGBA<float>(0.0f, 0.0f, 0.0f, 0.2f));
    int dark = 0;
    for (const Particle* star : field.particles()) {
        dark += star->_color.a <= 0.0f ? 1 : 0;
    }
    ASSERT_GT(dark, 0);
    field.animate(0.0);
    EXPECT_EQ(field.numParticles(), 200 - dark);
}
