#include "game/game_setups.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <string>

#include "engine2d/bitmap.h"
#include "engine2d/bitmapmanager.h"
#include "game/game.h"

namespace Vortel {

// ---------------------------------------------------------------------------------------
// Reflection cube map
// ---------------------------------------------------------------------------------------

unsigned int setupCubeMap(Stelkor::BitmapManager& bitmaps) {
    const int faceCount = 6;
    Stelkor::Bitmap* faces[faceCount];
    for (int i = 0; i < faceCount; ++i) {
        faces[i] = bitmaps.get("environment" + std::to_string(i) + ".png");
    }

    GLuint cubeMap = 0;
    glGenTextures(1, &cubeMap);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMap);
    for (int i = 0; i < faceCount; ++i) {
        const Stelkor::Bitmap& face = *faces[i];
        // The reflection is added to the cube colours, so the faces need no alpha.
        glTexImage2D(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + i), 0, GL_RGB8, face.w(), face.h(), 0,
                     GL_RGBA, GL_UNSIGNED_BYTE, face.data());
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return cubeMap;
}

void Game::setupColorSchemes() {}
void Game::setupSpeeds() {}
void Game::setupTrickLibrary() {}
void Game::setupCollectables() {}
void Game::setupBots() {}
void Game::setupScoreTables() {}
void Game::setupSpeeding() {}

}  // namespace Vortel
