#include <gtest/gtest.h>

#include <SDL.h>

#include "game/game.h"

using GameShellGL = ::testing::Test;

TEST_F(GameShellGL, StartsRunsAndEndsOnAQuitRequest) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        GTEST_SKIP() << "no video here: " << SDL_GetError();
    }
    {
        Vortel::Game game;
        EXPECT_STREQ(SDL_GetWindowTitle(game.sdlWindow()), "Quellaris");
        SDL_Event quit;
        SDL_zero(quit);
        quit.type = SDL_QUIT;
        ASSERT_EQ(SDL_PushEvent(&quit), 1);
        game.mainLoop();
        EXPECT_FALSE(game.fullscreen());
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
