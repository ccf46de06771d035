#include "platform/winapi.h"

#include <SDL.h>

#include <map>
#include <mutex>

UINT RegisterWindowMessage(const std::string& name) {
    // Like the system's atom table: one per process, guarded because any thread may ask.
    static std::mutex guard;
    static std::map<std::string, UINT> registered;
    const std::lock_guard<std::mutex> lock(guard);
    const auto found = registered.find(name);
    if (found != registered.end()) {
        return found->second;
    }
    const UINT id = FIRST_REGISTERED_MESSAGE + static_cast<UINT>(registered.size());
    registered.emplace(name, id);
    return id;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd == nullptr || hwnd->procedure == nullptr) {
        return 0;
    }
    return hwnd->procedure->winProc(hwnd, message, wParam, lParam);
}

int ShowCursor(bool show) {
    // The system keeps one show count for the whole process; so do we.
    static int showCount = 0;
    showCount += show ? 1 : -1;
    const bool visible = showCount >= 0;
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    // Some video drivers cannot hold the mouse; the cursor is hidden all the same.
    SDL_SetRelativeMouseMode(visible ? SDL_FALSE : SDL_TRUE);
    return showCount;
}
