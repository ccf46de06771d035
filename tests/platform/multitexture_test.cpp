#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/game_openglextensions.h"
#include "tests/support/gl_fixture.h"

namespace {

std::string failureOf(const char* extensions) {
    try {
        glext::checkMultitextureSupport(extensions);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

}  // namespace

TEST(Multitexture, MissingExtensionsNameWhatIsMissing) {
    EXPECT_EQ(failureOf("GL_ARB_multitexture GL_EXT_texture_env_combine"), "");
    EXPECT_EQ(failureOf("GL_EXT_texture_env_combine GL_ARB_texture_cube_map"),
              "Cannot run - graphics card doesn't support multitexturing");
    EXPECT_EQ(failureOf("GL_ARB_multitexture GL_ARB_texture_env_combine"),
              "Cannot run - graphics card doesn't support multitexturing (texture_env_combine)");
    // Multitexturing is checked first.
    EXPECT_EQ(failureOf(""), "Cannot run - graphics card doesn't support multitexturing");
    EXPECT_EQ(failureOf(nullptr), "Cannot run - graphics card doesn't support multitexturing");
}

using MultitextureGL = testsupport::GlFixture;

TEST_F(MultitextureGL, SetUpFetchesEveryEntryPoint) {
    ASSERT_NO_THROW(glext::setupMultitexturing());
    EXPECT_NE(glext::glMultiTexCoord1fARB, nullptr);
    EXPECT_NE(glext::glMultiTexCoord2fARB, nullptr);
    EXPECT_NE(glext::glMultiTexCoord3fARB, nullptr);
    EXPECT_NE(glext::glMultiTexCoord4fARB, nullptr);
    EXPECT_NE(glext::glActiveTextureARB, nullptr);
    EXPECT_NE(glext::glClientActiveTextureARB, nullptr);

    // The fetched entry points reach the driver.
    glext::glActiveTextureARB(GL_TEXTURE1_ARB);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    EXPECT_EQ(active, GL_TEXTURE1_ARB);
    glext::glActiveTextureARB(GL_TEXTURE0_ARB);
}
