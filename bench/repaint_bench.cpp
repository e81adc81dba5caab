// Full repaints of the board and settings screens through the raster surface, as the
// Linux program makes them (the frame cleared, every shown Page drawn, the frame copied to the
// window's surface), against the floor for the same frame: the background picture copied into
// the frame and the frame copied to its destination, nothing else. The same at twice the
// scale, as on a 192 dpi desktop. And the assistive layer's share, against the same repaint: a
// Tab key, and a frame, each described once and compared as both desktop bridges compare it.
// And both screens in high contrast, against their own floor: the frame filled with the
// palette's background and copied to its destination.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include <SDL.h>
#include <SDL_ttf.h>

#include "screens/Commands.h"
#include "platform/Keys.h"
#include "screens/Program.h"
#include "shell/ScreenDescription.h"
#include "shell/WindowLogic.h"
#include "shell/raster/RasterSurface.h"
#include "shell/sdl/SdlText.h"
#include "tests/support/FakeServices.h"

namespace {

// One program with one screen shown, its frame and the window surface the frame goes to.
struct Scene {
    Scene(bool settingsScreen, int scale, bool highContrast = false) : scale(scale) {
        program = std::make_unique<Program>(services);
        windowLogic::created(*program);
        setHighContrast(*program, highContrast, contrastPalette::windowsBlack);
        if (settingsScreen) {
            onCommand(*program, command::openSettings, 0);
        }
        int width = 0, height = 0;
        windowLogic::drawingSize(*program, width, height);
        frame = std::make_unique<RasterSurface>(width, height, scale, text());
        // What an X11 window's surface is: 32-bit pixels, red in the third byte.
        window = SDL_CreateRGBSurfaceWithFormat(0, frame->width(), frame->height(), 32,
                                                SDL_PIXELFORMAT_RGB888);
        const scob& background = program->backgroundImage;
        backgroundId =
            program->skin.getBitmap(background.getElement(), background.getState(), 0) & 0xFFFF;
    }
    ~Scene() { SDL_FreeSurface(window); }

    void repaint() {
        frame->clear();
        windowLogic::render(*program, *frame);
        show();
    }
    void floor() {
        if (program->highContrast) {
            const Colour ground = program->contrastPalette.window;
            frame->rectangle(0, 0, frame->width() / scale, frame->height() / scale, ground, false,
                             ground, 1);
        } else {
            frame->copyBitmap(backgroundId, 0, 0, frame->width() / scale, frame->height() / scale);
        }
        show();
    }
    // As the program's paint copies the frame to the window's own surface.
    void show() {
        SDL_ConvertPixels(frame->width(), frame->height(), SDL_PIXELFORMAT_RGB888, frame->data(),
                          frame->width() * 4, window->format->format, window->pixels,
                          window->pitch);
    }

    static SdlText& text() {
        static SdlText shared;
        return shared;
    }

    int scale;
    FakeServices services;
    std::unique_ptr<Program> program;
    std::unique_ptr<RasterSurface> frame;
    SDL_Surface* window = nullptr;
    int backgroundId = 0;
    std::vector<windowLogic::ScreenItem> described;  // as the bridges were last told
};

Scene& boardScene(int scale = 1) {
    static Scene scenes[] = {{false, 1}, {false, 2}};
    return scenes[scale - 1];
}
Scene& settingsScene(int scale = 1) {
    static Scene scenes[] = {{true, 1}, {true, 2}};
    return scenes[scale - 1];
}
Scene& contrastScene(bool settingsScreen, int scale = 1) {
    static Scene scenes[] = {{false, 1, true}, {true, 1, true}, {false, 2, true}, {true, 2, true}};
    return scenes[(scale - 1) * 2 + (settingsScreen ? 1 : 0)];
}

// The description a front end makes of a frame, compared with the last one by the Linux
// program's bridge and by the Windows program's.
void describeAndCompare(Scene& scene) {
    std::vector<windowLogic::ScreenItem> now = windowLogic::describeScreen(*scene.program);
    for (int bridge = 0; bridge < 2; ++bridge) {
        benchmark::DoNotOptimize(windowLogic::changesBetween(scene.described, now));
    }
    scene.described = std::move(now);
}

// A Tab round the board screen's stops, then its frame described and compared.
void TabKey(benchmark::State& state) {
    static Scene scene(false, 1);
    for (auto _ : state) {
        windowLogic::keyDown(*scene.program, key::tab);
        describeAndCompare(scene);
    }
}
void FrameDescribed(benchmark::State& state) {
    for (auto _ : state) {
        describeAndCompare(boardScene());
    }
}

void BoardRepaint(benchmark::State& state) {
    for (auto _ : state) {
        boardScene().repaint();
    }
}
void BoardFloor(benchmark::State& state) {
    for (auto _ : state) {
        boardScene().floor();
    }
}
void SettingsRepaint(benchmark::State& state) {
    for (auto _ : state) {
        settingsScene().repaint();
    }
}
void SettingsFloor(benchmark::State& state) {
    for (auto _ : state) {
        settingsScene().floor();
    }
}
void BoardRepaintAt2(benchmark::State& state) {
    for (auto _ : state) {
        boardScene(2).repaint();
    }
}
void BoardFloorAt2(benchmark::State& state) {
    for (auto _ : state) {
        boardScene(2).floor();
    }
}
void SettingsRepaintAt2(benchmark::State& state) {
    for (auto _ : state) {
        settingsScene(2).repaint();
    }
}

void HighContrastBoardRepaint(benchmark::State& state) {
    for (auto _ : state) {
        contrastScene(false).repaint();
    }
}
void HighContrastSettingsRepaint(benchmark::State& state) {
    for (auto _ : state) {
        contrastScene(true).repaint();
    }
}
void HighContrastFloor(benchmark::State& state) {
    for (auto _ : state) {
        contrastScene(false).floor();
    }
}
void HighContrastBoardRepaintAt2(benchmark::State& state) {
    for (auto _ : state) {
        contrastScene(false, 2).repaint();
    }
}
void HighContrastSettingsRepaintAt2(benchmark::State& state) {
    for (auto _ : state) {
        contrastScene(true, 2).repaint();
    }
}
void HighContrastFloorAt2(benchmark::State& state) {
    for (auto _ : state) {
        contrastScene(false, 2).floor();
    }
}

BENCHMARK(BoardRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BoardFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(SettingsRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(SettingsFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BoardRepaintAt2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BoardFloorAt2)->Unit(benchmark::kMicrosecond);
BENCHMARK(SettingsRepaintAt2)->Unit(benchmark::kMicrosecond);
BENCHMARK(TabKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameDescribed)->Unit(benchmark::kMicrosecond);
BENCHMARK(HighContrastBoardRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(HighContrastSettingsRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(HighContrastFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(HighContrastBoardRepaintAt2)->Unit(benchmark::kMicrosecond);
BENCHMARK(HighContrastSettingsRepaintAt2)->Unit(benchmark::kMicrosecond);
BENCHMARK(HighContrastFloorAt2)->Unit(benchmark::kMicrosecond);

// The surface keeps what it can between frames; a frame drawn with all of that in hand must be
// the frame a fresh surface draws.
bool sameAsFresh(Scene& scene) {
    scene.repaint();
    scene.repaint();
    RasterSurface fresh(scene.frame->width() / scene.scale, scene.frame->height() / scene.scale,
                        scene.scale, Scene::text());
    windowLogic::render(*scene.program, fresh);
    for (int y = 0; y < fresh.height(); ++y) {
        for (int x = 0; x < fresh.width(); ++x) {
            if (fresh.pixel(x, y) != scene.frame->pixel(x, y)) {
                std::fprintf(stderr, "repaint_bench: a kept frame differs at (%d, %d)\n", x, y);
                return false;
            }
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (TTF_Init() != 0) {
        return 1;
    }
    // The first frames open the fonts and decode the pictures; the program does that once too.
    if (!sameAsFresh(boardScene()) || !sameAsFresh(settingsScene()) ||
        !sameAsFresh(boardScene(2)) || !sameAsFresh(settingsScene(2))) {
        return 1;
    }
    if (!sameAsFresh(contrastScene(false)) || !sameAsFresh(contrastScene(true)) ||
        !sameAsFresh(contrastScene(false, 2)) || !sameAsFresh(contrastScene(true, 2))) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
