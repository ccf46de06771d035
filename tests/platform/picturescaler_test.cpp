#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>

#include <vector>

#include "platform/picturescaler.h"
#include "tests/support/gl_fixture.h"

namespace {

class PictureScalerGL : public testsupport::GlFixture {
protected:
    // A 1280 x 720 window to draw into with the fixture's context.
    void SetUp() override {
        GlFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        _wide = SDL_CreateWindow("wide", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1280, 720,
                                 SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (_wide == nullptr || SDL_GL_MakeCurrent(_wide, SDL_GL_GetCurrentContext()) != 0) {
            GTEST_SKIP() << "no second window for the context here: " << SDL_GetError();
        }
    }
    void TearDown() override {
        if (_wide != nullptr) {
            SDL_GL_MakeCurrent(gl->window(), SDL_GL_GetCurrentContext());
            SDL_DestroyWindow(_wide);
        }
        GlFixture::TearDown();
    }

    static std::vector<unsigned char> readRow(int y) {
        glFinish();
        std::vector<unsigned char> row(1280 * 4);
        glReadPixels(0, y, 1280, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
        return row;
    }

    // The colour of the row's pixels from x0 to x1 (excluded) when they all share it, else "mixed".
    static std::string spanColour(const std::vector<unsigned char>& row, int x0, int x1) {
        const unsigned char* first = &row[static_cast<std::size_t>(x0) * 4];
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = &row[static_cast<std::size_t>(x) * 4];
            if (p[0] != first[0] || p[1] != first[1] || p[2] != first[2]) {
                return "mixed";
            }
        }
        if (first[0] == 0 && first[1] == 0 && first[2] == 0) {
            return "black";
        }
        if (first[0] == 255 && first[1] == 0 && first[2] == 0) {
            return "red";
        }
        if (first[0] == 0 && first[1] == 255 && first[2] == 0) {
            return "green";
        }
        return "other";
    }

    SDL_Window* _wide = nullptr;
};

// A 16:9 screen: the 800 x 600 picture of the drawable's corner (left half red, right half
// green, over white everywhere else) fills the height, centred between black bars, and the
// game's GL state is as it left it.
TEST_F(PictureScalerGL, ScalesTheCornerPictureBetweenBlackBarsAndGivesTheStateBack) {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 400, 600);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(400, 0, 400, 600);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    // What a frame of the game may leave behind.
    glViewport(0, 0, 800, 600);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, 800.0, 0.0, 600.0, -1.0, 1.0);
    glColor4f(0.2f, 0.3f, 0.4f, 0.5f);

    PictureScaler scaler;
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        scaler.present(PictureFit(800, 600, 1280, 720));
        for (const int y : {0, 360, 719}) {
            const std::vector<unsigned char> row = readRow(y);
            EXPECT_EQ(spanColour(row, 0, 160), "black") << "row " << y;
            EXPECT_EQ(spanColour(row, 162, 638), "red") << "row " << y;
            EXPECT_EQ(spanColour(row, 642, 1118), "green") << "row " << y;
            EXPECT_EQ(spanColour(row, 1120, 1280), "black") << "row " << y;
        }
        // The next frame draws its picture anew; here the corner is drawn again as before.
        glDisable(GL_SCISSOR_TEST);
        glViewport(0, 0, 800, 600);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 400, 600);
        glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(400, 0, 400, 600);
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 800, 600}));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    GLfloat projection[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(projection[0], 2.0f / 800.0f);
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[2], 0.4f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    scaler.release();
    glDeleteTextures(1, &texture);
}

}  // namespace
