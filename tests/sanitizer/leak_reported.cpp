// The leak check's own check: opens the video system and a GL context as the game does, so the
// third-party leaks that the suppressions leave out happen, then loses one block of its own.
// CTest expects the leak check to report that block and nothing else; a suppression that grew
// too wide (or a third-party leak it misses) fails it.
#include <SDL.h>

#include <cstdio>

namespace {

constexpr int lostBytes = 4242;

[[gnu::noinline]] void loseBlock() {
    char* volatile block = new char[lostBytes];
    block[0] = 1;
    block = nullptr;
}

}  // namespace

int main(int, char**) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "no video: %s\n", SDL_GetError());
        return 2;
    }
    SDL_Window* const window = SDL_CreateWindow("leak check", SDL_WINDOWPOS_UNDEFINED,
                                                SDL_WINDOWPOS_UNDEFINED, 64, 64,
                                                SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext const context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
    if (context == nullptr) {
        std::fprintf(stderr, "no GL context: %s\n", SDL_GetError());
        return 2;
    }
    loseBlock();
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
