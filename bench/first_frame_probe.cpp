// Preloaded (LD_PRELOAD) into an SDL2 program: when the program first shows a frame, writes the
// monotonic clock's time to the file named by VOK_FIRST_FRAME_FILE and, with
// VOK_EXIT_AFTER_FIRST_FRAME set, ends the process there, so that its peak memory is the peak up
// to the first frame.

#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <SDL.h>

namespace {

bool shown = false;

void noteFirstFrame() {
    if (shown) {
        return;
    }
    shown = true;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (const char* path = std::getenv("VOK_FIRST_FRAME_FILE")) {
        if (std::FILE* file = std::fopen(path, "w")) {
            std::fprintf(file, "%lld.%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
            std::fclose(file);
        }
    }
    if (std::getenv("VOK_EXIT_AFTER_FIRST_FRAME")) {
        _exit(0);
    }
}

}  // namespace

extern "C" int SDL_UpdateWindowSurface(SDL_Window* window) {
    using Update = int (*)(SDL_Window*);
    static const Update real =
        reinterpret_cast<Update>(dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface"));
    const int result = real ? real(window) : -1;
    noteFirstFrame();
    return result;
}

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer) {
    using Present = void (*)(SDL_Renderer*);
    static const Present real = reinterpret_cast<Present>(dlsym(RTLD_NEXT, "SDL_RenderPresent"));
    if (real) {
        real(renderer);
    }
    noteFirstFrame();
}
