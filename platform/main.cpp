#include <cstdio>

// Entry point. The application shell and the game object are not built yet, so the program
// only says so.
int main() {
    std::puts("Quellaris: nothing to play yet.");
    return 0;
}
