#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <list>
#include <vector>

#include "platform/crand.h"
#include "platform/game_openglextensions.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/gl_readback.h"
#include "world/coveragemask.h"
#include "world/particle.h"
#include "world/particlebatch.h"
#include "world/particlesystem.h"
#include "world/sparklayer.h"

using Vortel::Particle;
using Vortel::ParticleSystem;

namespace {

// A textured square whose colour and alpha vary over it, so that a texture coordinate put
// on the wrong corner shows; towards one corner it is wholly transparent, as round sparks
// are.
GLuint rampTexture(unsigned char red, unsigned char green) {
    std::vector<unsigned char> pixels(16 * 16 * 4);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            unsigned char* p = &pixels[static_cast<std::size_t>(4 * (16 * y + x))];
            p[0] = static_cast<unsigned char>(red * x / 15);
            p[1] = green;
            p[2] = static_cast<unsigned char>(16 * y);
            p[3] = static_cast<unsigned char>(std::max(0, 255 - 12 * (x + y)));
        }
    }
    return testsupport::squareTexture(16, pixels);
}

// A white spot, as the game's sparks are: opaque in the middle, fading out to wholly
// transparent well inside its square.
GLuint spotTexture(float radius) {
    std::vector<unsigned char> pixels(32 * 32 * 4, 255);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const float d = std::hypot(x + 0.5f - 16.0f, y + 0.5f - 16.0f);
            pixels[static_cast<std::size_t>(4 * (32 * y + x) + 3)] =
                static_cast<unsigned char>(std::max(0.0f, 255.0f * (1.0f - d / radius)));
        }
    }
    return testsupport::squareTexture(32, pixels);
}

class ParticleBatchGL : public testsupport::GlFixture {
protected:
    void SetUp() override {
        testsupport::GlFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        Particle::releaseParticleManagement();
        Particle::initParticleManagement(3000);
        crand::srand(11);
        _textures[0] = rampTexture(255, 0);
        _textures[1] = rampTexture(0, 200);
        _textures[2] = spotTexture(13.0f);
        _textures[3] = spotTexture(9.0f);
        for (const GLuint texture : _textures) {
            Particle::batch().learnShape(static_cast<int>(texture));
        }

        // The play view: a turned, shifted eye, fog, depth test without depth writes.
        glViewport(0, 0, 800, 600);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(90.0, 4.0 / 3.0, 0.01, 16.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(1.0, 2.0, 3.0, 1.5, 1.8, -4.0, 0.2, 1.0, 0.0);
        const float fog[4] = {0.2f, 0.1f, 0.3f, 1.0f};
        glEnable(GL_FOG);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, 4.0f);
        glFogf(GL_FOG_END, 12.0f);
        glFogfv(GL_FOG_COLOR, fog);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glDepthMask(GL_FALSE);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
    }
    void TearDown() override {
        if (!IsSkipped()) {
            glDeleteTextures(4, _textures);
            glDepthMask(GL_TRUE);
        }
        Particle::releaseParticleManagement();
        testsupport::GlFixture::TearDown();
    }

    // Sets of sparks in two textures (the ramps, or with `spots` the spots), in turns, so that
    // the batch must break its runs and keep their order; some lie beside, before and behind
    // the eye.
    std::list<Particle::CreateData> alternatingSets(bool spots = false) const {
        std::list<Particle::CreateData> sets;
        for (int i = 0; i < 6; ++i) {
            Particle::CreateData t;
            t.count = 150;
            t.posBase = Vector3<float>(1.5f, 2.0f, -3.0f);
            t.posRange = Vector3<float>(3.0f, 2.0f, 6.0f);
            t.sizeBase = 0.3f;
            t.sizeRange = 0.25f;
            t.colorBase = RGBA<float>(0.6f, 0.5f, 0.5f, 0.6f);
            t.colorRange = RGBA<float>(0.3f, 0.4f, 0.4f, 0.3f);
            t.texId = static_cast<int>(_textures[i % 2 + (spots ? 2 : 0)]);
            sets.push_back(t);
        }
        // Big sparks close before the eye, hundreds of pixels across.
        Particle::CreateData close = sets.front();
        close.count = 30;
        close.posBase = Vector3<float>(1.5f, 1.75f, 0.5f);
        close.posRange = Vector3<float>(0.6f, 0.4f, 0.6f);
        close.sizeBase = 0.5f;
        close.sizeRange = 0.1f;
        sets.push_back(close);
        // Last, sparks wholly behind the eye in the other texture: left out of the batch, the
        // last of them still leaves its state.
        Particle::CreateData behind = sets.front();
        behind.posBase = Vector3<float>(1.0f, 2.0f, 9.0f);
        behind.posRange = Vector3<float>(2.0f, 2.0f, 2.0f);
        sets.push_back(behind);
        return sets;
    }

    static std::vector<unsigned char> drawnScreen(const ParticleSystem& system, bool oneByOne) {
        // The depth buffer is cleared only where depth writes are on.
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDepthMask(GL_FALSE);
        if (oneByOne) {
            for (const Particle* const p : system.particles()) {
                p->draw();
            }
        } else {
            Particle::batch().draw(system.particles());
        }
        return testsupport::readScreen();
    }

    static int largestDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
        int largest = 0;
        for (std::size_t i = 0; i < a.size(); ++i) {
            largest = std::max(largest, std::abs(a[i] - b[i]));
        }
        return largest;
    }

    GLuint _textures[4] = {0, 0, 0, 0};
};

}  // namespace

// The batch against each particle drawn on its own with its billboard matrix, for additive
// sparks and for blending whose result hangs on the order, with a system origin moved
// off zero: in coloured textures that reach their square's edge, and in white spots, which
// the batch cuts to octagons and whose fog it works out itself.
TEST_F(ParticleBatchGL, DrawsTheSamePixelsAsParticlesDrawnOneByOne) {
    for (const bool spots : {false, true}) {
        ParticleSystem sparks(alternatingSets(spots), 2000, 3);
        sparks.origin(Vector3<float>(-0.5f, 0.25f, 0.5f));
        sparks.animate(0.1);
        ASSERT_EQ(sparks.numParticles(), 1080);

        const GLenum destinations[2] = {GL_ONE, GL_ONE_MINUS_SRC_ALPHA};
        for (const GLenum destination : destinations) {
            glBlendFunc(GL_SRC_ALPHA, destination);
            const std::vector<unsigned char> reference = drawnScreen(sparks, true);
            const std::vector<unsigned char> batched = drawnScreen(sparks, false);
            EXPECT_LE(largestDifference(reference, batched), 1) << "spots " << spots << " blend " << destination;
            EXPECT_GT(reference.size() / 4 - testsupport::pixelsOf(reference, 25, 25, 25), reference.size() / 40)
                << "the sparks must show on a tenth of the screen";
        }
        EXPECT_TRUE(glIsEnabled(GL_FOG));
    }
}

// Where the GL's state makes transparent texels or the fog act otherwise than in play, the
// white spots keep their square and the GL's own fog: opaque squares without blending, a
// texture that replaces the colour, and lighting, which takes no colour from the vertices.
TEST_F(ParticleBatchGL, KeepsTheSquareAndTheGLsFogWhereTheStateAsksForThem) {
    ParticleSystem sparks(alternatingSets(true), 2000, 3);
    sparks.animate(0.1);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    const struct {
        const char* name;
        GLenum capability;
        GLint environment;
    } states[] = {{"no blending", 0, GL_MODULATE}, {"replace", GL_BLEND, GL_REPLACE}, {"lighting", GL_LIGHTING, GL_MODULATE}};
    for (const auto& state : states) {
        glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT);
        if (state.capability == 0) {
            glDisable(GL_BLEND);
        } else {
            glEnable(state.capability);
        }
        if (state.capability == GL_LIGHTING) {
            glEnable(GL_LIGHT0);
        }
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, state.environment);
        const std::vector<unsigned char> reference = drawnScreen(sparks, true);
        const std::vector<unsigned char> batched = drawnScreen(sparks, false);
        glPopAttrib();
        EXPECT_LE(largestDifference(reference, batched), 1) << state.name;
        EXPECT_GT(reference.size() / 4 - testsupport::pixelsOf(reference, 25, 25, 25), reference.size() / 40)
            << state.name << ": the sparks must show on a tenth of the screen";
    }
}

// What the last particle's own drawing leaves behind: its colour, its texture coordinate,
// its texture bound, and the modelview untouched.
TEST_F(ParticleBatchGL, LeavesTheStateOfTheLastParticleAndTheModelview) {
    ParticleSystem sparks(alternatingSets(), 2000, 3);
    float before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    sparks.draw();

    const Particle& last = *sparks.particles().back();
    float color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_FLOAT_EQ(color[0], last._color.r);
    EXPECT_FLOAT_EQ(color[3], last._color.a);
    float texCoord[4];
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);
    EXPECT_EQ(texCoord[0], 0.0f);
    EXPECT_EQ(texCoord[1], 1.0f);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, last._texId);
    float after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(after[i], before[i]);
    }
    GLboolean colorArray = GL_TRUE;
    glGetBooleanv(GL_COLOR_ARRAY, &colorArray);
    EXPECT_FALSE(colorArray);
}

// Drawing reads no texels: a spot never learned goes as the plain square, one by one's
// pixels still, and stays unknown; learning is kept until the pool is made again.
TEST_F(ParticleBatchGL, LearnsATexturesShapeOnlyWhenAskedAndForgetsItWithThePool) {
    const GLuint unknown = spotTexture(11.0f);
    std::list<Particle::CreateData> sets = alternatingSets(true);
    for (Particle::CreateData& set : sets) {
        set.texId = static_cast<int>(unknown);
    }
    ParticleSystem sparks(sets, 2000, 3);
    sparks.animate(0.1);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    const std::vector<unsigned char> reference = drawnScreen(sparks, true);
    EXPECT_LE(largestDifference(reference, drawnScreen(sparks, false)), 1);
    EXPECT_FALSE(Particle::batch().knowsShape(static_cast<int>(unknown)));
    EXPECT_TRUE(Particle::batch().knowsShape(static_cast<int>(_textures[2])));

    Particle::batch().learnShape(static_cast<int>(unknown));
    EXPECT_TRUE(Particle::batch().knowsShape(static_cast<int>(unknown)));
    EXPECT_LE(largestDifference(reference, drawnScreen(sparks, false)), 1);
    sparks.destroyParticles();
    Particle::releaseParticleManagement();
    Particle::initParticleManagement(3000);
    EXPECT_FALSE(Particle::batch().knowsShape(static_cast<int>(unknown)));
    glDeleteTextures(1, &unknown);
}

// Sparks gathered at half resolution and added to the picture, the small ones drawn onto it
// after, against all of them drawn onto it, over a wall that hides those behind it: the sums
// round a level or two apart, and a few pixels at sharp rims and along the wall's edge move
// more; the GL's state comes back as it was.
TEST_F(ParticleBatchGL, SparksGatheredAtHalfResolutionStayWithinAFewLevelsOfThoseDrawnOnThePicture) {
    if (!glext::setupFramebuffers()) {
        GTEST_SKIP() << "no framebuffer objects";
    }
    ParticleSystem sparks(alternatingSets(true), 2000, 3);
    sparks.animate(0.1);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    Vortel::SparkLayer layer;
    const auto picture = [&](bool layered) {
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glColor4f(0.3f, 0.3f, 0.35f, 1.0f);
        glBegin(GL_QUADS);
        glVertex3f(-4.0f, -2.0f, -2.0f);
        glVertex3f(1.5f, -2.0f, -2.0f);
        glVertex3f(1.5f, 6.0f, -2.0f);
        glVertex3f(-4.0f, 6.0f, -2.0f);
        glEnd();
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glDepthMask(GL_FALSE);
        const bool begun = layered && layer.begin();
        EXPECT_EQ(begun, layered);
        if (begun) {
            Particle::batch().sizeBand(Vortel::SparkLayer::SMALLEST / 2.0f, Vortel::ParticleBatch::ENDLESS);
            Particle::batch().draw(sparks.particles());
            layer.end(true);
            Particle::batch().sizeBand(0.0f, Vortel::SparkLayer::SMALLEST);
        }
        Particle::batch().draw(sparks.particles());
        Particle::batch().sizeBand(0.0f, Vortel::ParticleBatch::ENDLESS);
        return testsupport::readScreen();
    };
    const std::vector<unsigned char> direct = picture(false);
    const std::vector<unsigned char> gathered = picture(true);

    // Pixels differing by more than 1, 4 and 32 levels in their most changed channel.
    std::size_t beyond[3] = {0, 0, 0};
    const int levels[3] = {1, 4, 32};
    int largest = 0;
    for (std::size_t i = 0; i < direct.size(); i += 4) {
        int pixel = 0;
        for (std::size_t c = 0; c < 3; ++c) {
            pixel = std::max(pixel, std::abs(direct[i + c] - gathered[i + c]));
        }
        largest = std::max(largest, pixel);
        for (int k = 0; k < 3; ++k) {
            beyond[k] += pixel > levels[k] ? 1 : 0;
        }
    }
    const double pixels = static_cast<double>(direct.size() / 4);
    EXPECT_LE(beyond[0] / pixels, 0.12) << "the sums' rounding";
    EXPECT_LE(beyond[1] / pixels, 0.002) << "rims of sparks near the size limit, the wall's edge";
    EXPECT_LE(beyond[2] / pixels, 0.0002);
    EXPECT_LE(largest, 72);

    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    GLint framebuffer = -1;
    GLint destination = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(framebuffer, 0);
    EXPECT_EQ(destination, GL_ONE);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    layer.release();
}

// What the sparks would cover, as the game weighs whether gathering them pays: a spark's
// rectangle cut to the screen, as a share of it, where a draw would take it and the band
// would let it through; nothing for one behind the eye, below the band or behind the
// coverage.
TEST_F(ParticleBatchGL, MeasuresTheScreensADrawWouldCover) {
    glLoadIdentity();
    Vortel::CoverageMask nearWall;
    const Vortel::ScreenPoint wholeScreen[4] = {
        {-1.0f, -1.0f, 0.1f, true}, {1.0f, -1.0f, 0.1f, true}, {1.0f, 1.0f, 0.1f, true}, {-1.0f, 1.0f, 0.1f, true}};
    nearWall.cover(wholeScreen, 4, 0.1f);
    struct Case {
        const char* what;
        float z;
        float from;
        bool behindWall;
        double screens;  // each
    };
    // A spark of size 1 at 4 units spans 150 pixels of the 800 x 600 view; at 0.2 units,
    // 3,000, more than the screen.
    const Case cases[] = {
        {"in view", -4.0f, 24.0f, false, 150.0 * 150.0 / (800.0 * 600.0)},
        {"bigger than the screen", -0.2f, 24.0f, false, 1.0},
        {"below the band", -4.0f, 151.0f, false, 0.0},
        {"behind the eye", 4.0f, 0.0f, false, 0.0},
        {"behind a nearer wall", -4.0f, 0.0f, true, 0.0},
    };
    for (const Case& c : cases) {
        Particle::CreateData one;
        one.count = 1;
        one.posBase = Vector3<float>(0.0f, 0.0f, c.z);
        one.sizeBase = 1.0f;
        one.colorBase = RGBA<float>(1.0f, 1.0f, 1.0f, 1.0f);
        one.texId = static_cast<int>(_textures[2]);
        ParticleSystem spark({one, one}, 10, 3);
        Vortel::ParticleBatch& batch = Particle::batch();
        batch.hideBehind(c.behindWall ? &nearWall : nullptr);
        EXPECT_NEAR(batch.screensCovered(spark.particles(), c.from), 2.0 * c.screens, 2.0 * c.screens * 1e-3)
            << c.what;
        batch.sizeBand(c.from, Vortel::ParticleBatch::ENDLESS);
        batch.draw(spark.particles());
        EXPECT_EQ(batch.sent(), c.screens > 0.0 ? 2 : 0) << c.what << ": a draw takes what the measure counts";
        batch.sizeBand(0.0f, Vortel::ParticleBatch::ENDLESS);
        batch.hideBehind(nullptr);
    }
}

// Gathering begins once the big sparks cover enough screens and goes on until they cover
// clearly fewer, so a view shaking near the limit keeps one picture.
TEST(SparkLayerWorth, BeginsAtTheLimitAndEndsOnlyWellBelowIt) {
    Vortel::SparkLayer layer;
    const double on = Vortel::SparkLayer::WORTH_SCREENS;
    const double off = Vortel::SparkLayer::WORTH_UNTIL;
    ASSERT_LT(off, on);
    const struct {
        double screens;
        bool worth;
    } frames[] = {{0.0, false}, {(on + off) / 2.0, false}, {on, true}, {(on + off) / 2.0, true}, {off, true},
                  {off - 0.01, false}, {(on + off) / 2.0, false}};
    for (const auto& frame : frames) {
        EXPECT_EQ(layer.worth(frame.screens), frame.worth) << frame.screens << " screens";
    }
}
