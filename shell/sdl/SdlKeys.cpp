// Which SDL key presses the Linux program passes on, and as which key.

#include "shell/sdl/SdlKeys.h"

#include "platform/Keys.h"

namespace {

int byPlace(SDL_Scancode place) {
    switch (place) {
        case SDL_SCANCODE_N:
            return key::newGame;
        case SDL_SCANCODE_LEFT:
            return key::left;
        case SDL_SCANCODE_UP:
            return key::up;
        case SDL_SCANCODE_RIGHT:
            return key::right;
        case SDL_SCANCODE_DOWN:
            return key::down;
        default:
            return 0;
    }
}

}  // namespace

int virtualKeyFor(SDL_Keycode key, SDL_Scancode place, Uint16 modifiers) {
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
            break;
    }
    // A Latin letter or any other key the layout names plainly is what it says; a symbol of
    // another script falls back to the key's place.
    const bool latinOrPlain = key < 0x80 || (key & SDLK_SCANCODE_MASK) != 0;
    return latinOrPlain ? 0 : byPlace(place);
}
