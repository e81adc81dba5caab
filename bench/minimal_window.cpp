// The floor for starting up: an SDL2 program that opens a window the size of the game's
// drawing area and shows one frame in it, the same way the game shows its frames (the window's
// own surface), then waits to be closed.

#include <SDL.h>

int main(int, char**) {
    // Software pixels shown as they are, as the game shows them: no 3D renderer loaded for it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        return 1;
    }
    SDL_Window* window =
        SDL_CreateWindow("minimal", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 384, 365, 0);
    if (!window) {
        SDL_Quit();
        return 1;
    }
    if (SDL_Surface* surface = SDL_GetWindowSurface(window)) {
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 222, 200, 150));
        SDL_UpdateWindowSurface(window);
    }
    for (SDL_Event event; SDL_WaitEvent(&event) && event.type != SDL_QUIT;) {
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
