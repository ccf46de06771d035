#ifndef QUELLARIS_GAME_GAME_H
#define QUELLARIS_GAME_GAME_H

#include "platform/input.h"
#include "platform/openglapp.h"

namespace Vortel {

// The game: the one application object, in its 800 x 600 window titled "Quellaris".
class Game : public OpenglApp {
public:
    Game();
    ~Game() override;

    void init() override;
    bool frame() override;
    void close() override;
    bool message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    Input _input;
};

}  // namespace Vortel

#endif
