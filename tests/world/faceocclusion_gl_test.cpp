#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "platform/crand.h"
#include "platform/geometry.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/gl_readback.h"
#include "tests/world/objfiles.h"
#include "world/cuberenderer.h"
#include "world/octree.h"
#include "world/octreewalk.h"
#include "world/particle.h"
#include "world/particlesystem.h"

using Vortel::CubeRenderer;
using Vortel::OcTree;
using Vortel::Particle;
using Vortel::ParticleSystem;
typedef Vector3<int> Cell;

namespace {

// A field filled at random to a share of its cells with trail cubes of both kinds, some
// cooling and some cooled, a few cells melting; the cells round the eye stay empty.
struct RandomField {
    RandomField(int percent, const Cell& eye) : renderer(meshes.path()), tree(5, renderer) {
        const unsigned char start = tree.createColorTriplet(RGBA<float>(1, 0.2f, 0, 1), RGBA<float>(0.7f, 0.1f, 0, 1),
                                                            RGBA<float>(0.5f, 0, 0, 1));
        const unsigned char end = tree.createColorTriplet(RGBA<float>(0, 0.5f, 1, 1), RGBA<float>(0, 0.3f, 0.7f, 1),
                                                          RGBA<float>(0, 0.2f, 0.5f, 1));
        const unsigned char trail = tree.createTrailColors(start, end);
        std::mt19937 random(static_cast<unsigned int>(percent * 31 + eye.x));
        std::uniform_int_distribution<int> roll(0, 999);
        for (int z = 0; z < 32; ++z) {
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    const Cell c(x, y, z);
                    Cell d(x - eye.x, y - eye.y, z - eye.z);
                    tree.validateCoord(d);
                    const bool nearEye = (d.x <= 1 || d.x >= 31) && (d.y <= 1 || d.y >= 31) && (d.z <= 1 || d.z >= 31);
                    const int r = roll(random);
                    if (nearEye || r >= percent * 10) {
                        continue;
                    }
                    tree.time(r % 3 == 0 ? 99.0 : 0.0);  // a third still cooling when drawn at 100
                    tree.setTerminalNode(c, OcTree::CELL_SOLID_1 + (r & 1), trail);
                    if (r % 53 == 0) {
                        tree.setTerminalNode(c, OcTree::SET_MELT, 0);
                    }
                }
            }
        }
        tree.meltSpeed(0.01f, 0.01f);
    }

    objfiles::MeshFolder meshes;
    CubeRenderer renderer;
    OcTree tree;
};

class FaceOcclusionGL : public testsupport::GlFixture {
protected:
    void SetUp() override {
        GlFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        glViewport(0, 0, 800, 600);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(90.0, 4.0 / 3.0, 0.01, 16.0);
        glMatrixMode(GL_MODELVIEW);
        const float fog[4] = {0.1f, 0.1f, 0.2f, 1.0f};
        glClearColor(fog[0], fog[1], fog[2], fog[3]);
        glEnable(GL_FOG);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, 8.0f);
        glFogf(GL_FOG_END, 16.0f);
        glFogfv(GL_FOG_COLOR, fog);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glShadeModel(GL_FLAT);
        glDisable(GL_LIGHTING);
    }
    void TearDown() override {
        if (!IsSkipped()) {
            glDisable(GL_FOG);
        }
        GlFixture::TearDown();
    }

    // The screen's colours and the depths behind them.
    struct Picture {
        std::vector<unsigned char> colour;
        std::vector<unsigned int> depth;
    };
    static Picture readPicture() {
        Picture picture{testsupport::readScreen(), std::vector<unsigned int>(800 * 600)};
        glReadPixels(0, 0, 800, 600, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, picture.depth.data());
        return picture;
    }

    // The play frame's drawing of the field: 27 copies round the middle one, z outermost,
    // each through its own frustum. Returns the picture and, through `faces`, how many faces
    // went to GL.
    static Picture drawWrapped(RandomField& field, const double eye[3], const double at[3], int* faces) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        gluLookAt(eye[0], eye[1], eye[2], at[0], at[1], at[2], 0.0, 1.0, 0.0);
        double projection[16];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        *faces = 0;
        for (int k = -1; k <= 1; ++k) {
            for (int j = -1; j <= 1; ++j) {
                for (int i = -1; i <= 1; ++i) {
                    glPushMatrix();
                    glTranslatef(32.0f * i, 32.0f * j, 32.0f * k);
                    double modelview[16];
                    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
                    float planes[6][4];
                    GetFrustum(projection, modelview, planes);
                    field.tree.draw(planes, Vector3<float>(), 100.0);
                    *faces += field.tree.lastWalk()->facesBatched();
                    glPopMatrix();
                }
            }
        }
        return readPicture();
    }

    // Where two faces meet at one stored depth, the one drawn later shows: the order of
    // drawing may pick either colour there. Such pixels are counted apart; anywhere else the
    // largest difference of a channel counts.
    struct Difference {
        int largest = 0;
        int pixels = 0;
        int ties = 0;
    };
    static Difference compare(const Picture& a, const Picture& b) {
        Difference d;
        for (std::size_t i = 0; i < a.colour.size(); i += 4) {
            int largest = 0;
            for (std::size_t c = 0; c < 3; ++c) {
                largest = std::max(largest, std::abs(a.colour[i + c] - b.colour[i + c]));
            }
            if (largest > 1 && a.depth[i / 4] == b.depth[i / 4]) {
                ++d.ties;
                continue;
            }
            d.largest = std::max(d.largest, largest);
            d.pixels += largest > 0 ? 1 : 0;
        }
        return d;
    }
    // Pixels the field covers.
    static int coveredPixels(const Picture& p) {
        return static_cast<int>(std::count_if(p.depth.begin(), p.depth.end(), [](unsigned int z) { return z != ~0u; }));
    }
    // A handful of pixels in the screen's 480,000.
    static constexpr int FEW_TIES = 16;
};

}  // namespace

// Against the plain path that batches every uncovered face in the tree's own order (the
// culled one batches nearest first): at 0, 30 and 50 % fill, from the middle of the field and
// from next to the wrap seam looking across it, with reflections off and on.
TEST_F(FaceOcclusionGL, LeavesOutHiddenFacesAndDrawsTheSamePicture) {
    GLuint cubeMap = 0;
    glGenTextures(1, &cubeMap);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMap);
    std::vector<unsigned char> ramp(8 * 8 * 3);
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        ramp[i] = static_cast<unsigned char>(i * 5);
    }
    for (int face = 0; face < 6; ++face) {
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGB, 8, 8, 0, GL_RGB, GL_UNSIGNED_BYTE, ramp.data());
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    struct View {
        int percent;
        bool reflections;
        double eye[3];
        double at[3];
    };
    const View views[] = {
        {0, false, {16.5, 16.5, 16.5}, {30.0, 20.0, 24.0}},
        {30, false, {16.5, 16.5, 16.5}, {30.0, 20.0, 24.0}},
        {50, false, {16.5, 16.5, 16.5}, {3.0, 10.0, 9.0}},
        {30, false, {31.3, 0.6, 15.5}, {40.0, -3.0, 17.0}},
        {50, false, {0.4, 31.2, 0.7}, {-6.0, 36.0, -4.0}},
        {30, true, {31.3, 0.6, 15.5}, {40.0, -3.0, 17.0}},
        // An eye outside the middle copy, as a camera behind the craft may be.
        {50, false, {-2.5, 16.5, 16.5}, {8.0, 13.0, 20.0}},
        {30, false, {34.5, 3.5, 30.5}, {20.0, 6.0, 40.0}},
    };
    for (const View& view : views) {
        SCOPED_TRACE(::testing::Message() << view.percent << " % from " << view.eye[0] << ", " << view.eye[1] << ", "
                                          << view.eye[2] << (view.reflections ? " with reflections" : ""));
        RandomField field(view.percent, Cell(static_cast<int>(std::floor(view.eye[0])),
                                             static_cast<int>(std::floor(view.eye[1])),
                                             static_cast<int>(std::floor(view.eye[2]))));
        field.tree.renderReflections(view.reflections);
        int plainFaces = 0;
        int culledFaces = 0;
        field.tree.occlusionCulling(false);
        const Picture plain = drawWrapped(field, view.eye, view.at, &plainFaces);
        field.tree.occlusionCulling(true);
        const Picture culled = drawWrapped(field, view.eye, view.at, &culledFaces);
        int wrappedFaces = 0;
        field.tree.wrappedDrawing(true);
        const Picture wrapped = drawWrapped(field, view.eye, view.at, &wrappedFaces);

        const Difference d = compare(plain, culled);
        EXPECT_LE(d.largest, 1) << d.pixels << " pixels differ";
        EXPECT_LE(d.ties, FEW_TIES);
        const Difference w = compare(plain, wrapped);
        EXPECT_LE(w.largest, 1) << w.pixels << " pixels differ with the wrapped drawing";
        EXPECT_LE(w.ties, FEW_TIES);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        if (view.percent == 0) {
            EXPECT_EQ(plainFaces, 0);
            continue;
        }
        EXPECT_GT(plainFaces, 1000);
        EXPECT_LT(culledFaces, plainFaces / 3);
        EXPECT_LT(wrappedFaces, plainFaces / 10);
        EXPECT_GT(coveredPixels(plain), 400000) << "cubes fill the view";
    }
    glDeleteTextures(1, &cubeMap);
}

// Where the depth buffer does not decide what shows, the painter's order would bring hidden
// faces to light: then every uncovered face is drawn.
TEST_F(FaceOcclusionGL, DrawsEveryFaceWhereTheDepthBufferDoesNotDecide) {
    RandomField field(50, Cell(16, 16, 16));
    const double eye[3] = {16.5, 16.5, 16.5};
    const double at[3] = {3.0, 10.0, 9.0};
    field.tree.wrappedDrawing(true);
    int normal = 0;
    drawWrapped(field, eye, at, &normal);

    struct State {
        const char* name;
        void (*set)();
        void (*reset)();
    };
    const State states[] = {
        {"depth test off", [] { glDisable(GL_DEPTH_TEST); }, [] { glEnable(GL_DEPTH_TEST); }},
        {"depth writes off", [] { glDepthMask(GL_FALSE); }, [] { glDepthMask(GL_TRUE); }},
        {"depth function always", [] { glDepthFunc(GL_ALWAYS); }, [] { glDepthFunc(GL_LEQUAL); }},
    };
    field.tree.occlusionCulling(false);
    int plain = 0;
    drawWrapped(field, eye, at, &plain);
    field.tree.occlusionCulling(true);
    EXPECT_LT(normal, plain / 10);
    for (const State& state : states) {
        state.set();
        int faces = 0;
        drawWrapped(field, eye, at, &faces);
        state.reset();
        EXPECT_EQ(faces, plain) << state.name;
    }
}

// Sparks drawn after the field, additive and depth tested as the play frame draws them: those
// lying wholly behind the walls are left out, and the picture is the one every spark makes.
TEST_F(FaceOcclusionGL, LeavesOutSparksBehindTheWallsAndDrawsTheSamePicture) {
    Particle::releaseParticleManagement();
    Particle::initParticleManagement(4000);
    std::vector<unsigned char> disc(16 * 16 * 4);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int r2 = (2 * x - 15) * (2 * x - 15) + (2 * y - 15) * (2 * y - 15);
            unsigned char* p = &disc[static_cast<std::size_t>(4 * (16 * y + x))];
            p[0] = 255;
            p[1] = static_cast<unsigned char>(16 * x);
            p[2] = static_cast<unsigned char>(16 * y);
            p[3] = static_cast<unsigned char>(std::max(0, 255 - r2));
        }
    }
    const GLuint texture = testsupport::squareTexture(16, disc);

    struct View {
        int percent;
        double eye[3];
        double at[3];
    };
    const View views[] = {
        {50, {16.5, 16.5, 16.5}, {16.5, 16.5, 6.5}},
        {30, {16.5, 16.5, 16.5}, {3.0, 10.0, 9.0}},
        {30, {31.3, 0.6, 15.5}, {40.0, -3.0, 17.0}},  // across the wrap seam
    };
    for (const View& view : views) {
        SCOPED_TRACE(::testing::Message() << view.percent << " % from " << view.eye[0] << ", " << view.eye[1] << ", "
                                          << view.eye[2]);
        RandomField field(view.percent, Cell(static_cast<int>(std::floor(view.eye[0])),
                                             static_cast<int>(std::floor(view.eye[1])),
                                             static_cast<int>(std::floor(view.eye[2]))));
        field.tree.wrappedDrawing(true);
        Particle::CreateData sparks;
        sparks.count = 3000;
        sparks.posBase = Vector3<float>(static_cast<float>(view.at[0] + view.eye[0]) * 0.5f,
                                        static_cast<float>(view.at[1] + view.eye[1]) * 0.5f,
                                        static_cast<float>(view.at[2] + view.eye[2]) * 0.5f);
        sparks.posRange = Vector3<float>(6.0f, 5.0f, 6.0f);
        sparks.sizeBase = 0.3f;
        sparks.sizeRange = 0.25f;
        sparks.colorBase = RGBA<float>(0.6f, 0.4f, 0.3f, 0.6f);
        sparks.colorRange = RGBA<float>(0.3f, 0.3f, 0.3f, 0.3f);
        sparks.texId = static_cast<int>(texture);
        crand::srand(7);
        ParticleSystem system(std::list<Particle::CreateData>{sparks}, 4000, 1);

        struct Drawn {
            Picture picture;
            int sent;
        };
        const auto draw = [&](bool leaveOut) {
            int faces = 0;
            drawWrapped(field, view.eye, view.at, &faces);
            glEnable(GL_TEXTURE_2D);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            glDepthMask(GL_FALSE);
            Particle::batch().hideBehind(leaveOut ? field.tree.drawnCoverage() : nullptr);
            Particle::batch().draw(system.particles());
            Particle::batch().hideBehind(nullptr);
            glDepthMask(GL_TRUE);
            glDisable(GL_BLEND);
            glDisable(GL_TEXTURE_2D);
            return Drawn{readPicture(), Particle::batch().sent()};
        };
        const Drawn every = draw(false);
        const Drawn culled = draw(true);
        // The same field under both: any spark left out wrongly shows as a tie.
        const Difference d = compare(every.picture, culled.picture);
        EXPECT_LE(d.largest, 1) << d.pixels << " pixels differ";
        EXPECT_EQ(d.ties, 0);
        EXPECT_GT(every.sent, 1500) << "most sparks lie in the view";
        EXPECT_LT(culled.sent, every.sent / 2) << "the walls hide most of them";
        EXPECT_GT(culled.sent, 0) << "some show";
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteTextures(1, &texture);
    Particle::releaseParticleManagement();
}
