// Which SDL key presses the Linux program passes on, and as which key.

#include "shell/sdl/SdlKeys.h"

#include "platform/Keys.h"

namespace {

// The keys the game knows: by the symbol the layout gives them, and by their place.
struct KnownKey {
    SDL_Keycode symbol;
    SDL_Scancode place;
    int code;
};
constexpr KnownKey knownKeys[] = {
    {SDLK_n, SDL_SCANCODE_N, key::newGame},
    {SDLK_LEFT, SDL_SCANCODE_LEFT, key::left},
    {SDLK_UP, SDL_SCANCODE_UP, key::up},
    {SDLK_RIGHT, SDL_SCANCODE_RIGHT, key::right},
    {SDLK_DOWN, SDL_SCANCODE_DOWN, key::down},
    {SDLK_TAB, SDL_SCANCODE_TAB, key::tab},
    {SDLK_RETURN, SDL_SCANCODE_RETURN, key::enter},
    {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, key::enter},
    {SDLK_SPACE, SDL_SCANCODE_SPACE, key::space},
};
// The zoom's, passed on only with Ctrl. Ctrl+Plus is the key of = on most layouts, and a plus
// of its own on others.
constexpr KnownKey zoomKeys[] = {
    {SDLK_EQUALS, SDL_SCANCODE_EQUALS, key::plus},
    {SDLK_PLUS, SDL_SCANCODE_EQUALS, key::plus},
    {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, key::padPlus},
    {SDLK_MINUS, SDL_SCANCODE_MINUS, key::minus},
    {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, key::padMinus},
    {SDLK_0, SDL_SCANCODE_0, key::digit0},
    {SDLK_KP_0, SDL_SCANCODE_KP_0, key::pad0},
};

}  // namespace

int virtualKeyFor(SDL_Keycode key, SDL_Scancode place, Uint16 modifiers) {
    if (modifiers & KMOD_ALT) {
        return 0;
    }
    // A Latin letter or any other key the layout names plainly is what it says; a symbol of
    // another script falls back to the key's place.
    const bool byPlace = key >= 0x80 && (key & SDLK_SCANCODE_MASK) == 0;
    for (const KnownKey& known : knownKeys) {
        if (byPlace ? known.place == place : known.symbol == key) {
            return known.code;
        }
    }
    for (const KnownKey& known : zoomKeys) {
        if ((modifiers & KMOD_CTRL) && (byPlace ? known.place == place : known.symbol == key)) {
            return known.code;
        }
    }
    return 0;
}
