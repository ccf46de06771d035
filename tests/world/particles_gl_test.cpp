#include <gtest/gtest.h>

#include <GL/gl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <list>
#include <string>

#include "tests/support/gl_fixture.h"
#include "tests/world/particlepool.h"
#include "world/botexplosion.h"
#include "world/bulletsystem.h"
#include "world/explosion.h"
#include "world/mesh.h"

using Vortel::BotExplosion;
using Vortel::BulletSystem;
using Vortel::Explosion;
using Vortel::Mesh;
using Vortel::Particle;

namespace {

// World units shown across the 800 x 600 window: 40 pixels per unit, origin in the middle.
const double HALF_WIDTH = 10.0;
const double HALF_HEIGHT = 7.5;

class ParticlesGL : public testsupport::GlFixture {
protected:
    void SetUp() override {
        testsupport::GlFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        Particle::releaseParticleManagement();
        Particle::initParticleManagement(1000);
        glViewport(0, 0, 800, 600);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-HALF_WIDTH, HALF_WIDTH, -HALF_HEIGHT, HALF_HEIGHT, -100.0, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_CULL_FACE);
    }
    void TearDown() override {
        Particle::releaseParticleManagement();
        testsupport::GlFixture::TearDown();
    }

    void clear(float grey) {
        glClearColor(grey, grey, grey, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // The colour at a world point of the z = 0 plane.
    static RGBA<unsigned char> pixelAt(float x, float y) {
        glFinish();
        const int px = static_cast<int>((x + HALF_WIDTH) * 40.0);
        const int py = static_cast<int>((y + HALF_HEIGHT) * 40.0);
        unsigned char rgba[4] = {0, 0, 0, 0};
        glReadPixels(px, py, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return RGBA<unsigned char>(rgba[0], rgba[1], rgba[2], rgba[3]);
    }

    // A mesh written to a file of its own and loaded with its display list.
    Mesh& loadMesh(const std::string& obj) {
        const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                           ("quellaris_particles_gl_" + std::to_string(::getpid()) + ".obj");
        {
            std::ofstream out(path);
            out << obj;
        }
        _mesh.load(path.string());
        std::filesystem::remove(path);
        _mesh.createDisplayList();
        return _mesh;
    }

    Mesh _mesh;
};

// A sliver in the mesh's own y-z plane: 0.4 wide along y, 4 long along +z.
const char* const SLIVER_ALONG_Z =
    "v 0 -0.2 0\nv 0 0.2 0\nv 0 0 4\nvt 0 0\nvn 1 0 0\nf 1/1/1 2/1/1 3/1/1\n";

// A triangle in the x-y plane that covers the origin.
const char* const FLAT_TRIANGLE = "v -1 -1 0\nv 1 -1 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n";

}  // namespace

TEST_F(ParticlesGL, AdditiveSparksAreBrighterThanTheBackground) {
    Particle::CreateData spark;
    spark.count = 4;
    spark.posBase = Vector3<float>(2.0f, 1.0f, 0.0f);
    spark.sizeBase = 1.0f;
    spark.colorBase = RGBA<float>(0.6f, 0.3f, 0.1f, 0.8f);
    Explosion blast(std::list<Particle::CreateData>(1, spark), spark.posBase);

    clear(0.25f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    blast.draw();

    const unsigned char background = 64;
    const RGBA<unsigned char> lit = pixelAt(2.0f, 1.0f);
    EXPECT_GT(lit.r, background + 100);
    EXPECT_GT(lit.g, background + 50);
    EXPECT_GT(lit.b, background);
    // The quad has half edge 1: just outside it the background shows.
    EXPECT_NEAR(pixelAt(3.2f, 1.0f).r, background, 1);
    EXPECT_NEAR(pixelAt(2.0f, -0.2f).r, background, 1);
    glDisable(GL_BLEND);
}

TEST_F(ParticlesGL, ABulletMeshPointsAlongItsVelocity) {
    BulletSystem bullets(30);
    bullets.bulletMesh(&loadMesh(SLIVER_ALONG_Z));

    clear(0.0f);
    bullets.up(Vector3<int>(0, 1, 0));
    bullets.addBullet(Vector3<float>(), Vector3<float>(5.0f, 0.0f, 0.0f), 1.0f);
    bullets.draw();
    EXPECT_GT(pixelAt(3.0f, 0.0f).r, 200);  // red, along +x
    EXPECT_EQ(pixelAt(3.0f, 0.0f).g, 0);
    EXPECT_EQ(pixelAt(-3.0f, 0.0f).r, 0);
    EXPECT_EQ(pixelAt(0.0f, 3.0f).r, 0);

    BulletSystem falling(30);
    falling.bulletMesh(&_mesh);
    clear(0.0f);
    falling.up(Vector3<int>(1, 0, 0));
    falling.addBullet(Vector3<float>(1.0f, 0.0f, 0.0f), Vector3<float>(0.0f, -5.0f, 0.0f), 1.0f);
    falling.draw();
    EXPECT_GT(pixelAt(1.0f, -3.0f).r, 200);
    EXPECT_EQ(pixelAt(1.0f, 3.0f).r, 0);
    EXPECT_EQ(pixelAt(4.0f, 0.0f).r, 0);
}

TEST_F(ParticlesGL, TheRingIsDrawnRedAroundTheBlastAndLeavesAdditiveBlending) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    BotExplosion plain(std::list<Particle::CreateData>{}, Vector3<float>());
    plain.draw();
    GLint src = 0;
    GLint dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_EQ(dst, GL_ZERO);

    clear(0.0f);
    BotExplosion blast(std::list<Particle::CreateData>{}, Vector3<float>(-4.0f, 2.0f, 0.0f));
    blast.ringMesh(loadMesh(FLAT_TRIANGLE));
    blast.origin(Vector3<float>(-1.0f, 0.0f, 0.0f));
    blast.animate(1.0);  // scale 2: the triangle reaches 2 units from the centre
    blast.draw();
    const RGBA<unsigned char> ring = pixelAt(-5.0f, 2.0f);
    EXPECT_NEAR(ring.r, 0.9 / 4.0 * 255.0, 2.0);
    EXPECT_EQ(ring.g, 0);
    EXPECT_GT(pixelAt(-5.0f, 3.8f).r, 0);  // near the apex: inside only at scale 2
    EXPECT_EQ(pixelAt(-4.0f, 3.8f).r, 0);  // where the apex would be without the origin
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}
