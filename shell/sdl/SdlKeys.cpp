// Which SDL key presses the Linux program passes on, and as which key.

#include "shell/sdl/SdlKeys.h"

#include "platform/Keys.h"

int virtualKeyFor(SDL_Keycode key, Uint16 modifiers) {
    if (modifiers & KMOD_ALT) {
        return 0;
    }
    switch (key) {
        case SDLK_n:
            return key::newGame;
        case SDLK_LEFT:
            return key::left;
        case SDLK_UP:
            return key::up;
        case SDLK_RIGHT:
            return key::right;
        case SDLK_DOWN:
            return key::down;
        default:
            return 0;
    }
}
