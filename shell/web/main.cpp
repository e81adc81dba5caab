// The page: one canvas whose DOM events become calls of the window logic.
//
// The front-end contract (shell/WindowLogic.h), row by row:
//   Pointer   mousedown, mouseup and mousemove on the canvas itself, so only while the pointer
//             is over it; CSS pixels turned into drawing-area pixels by the canvas's CSS size;
//             only the left button is passed on
//   Keys      keydown on the window by KeyboardEvent.code (KeyN and the arrows, on any
//             layout), repeats included; with Alt, Ctrl or Meta the key is left to the browser,
//             as is every key the game has no use for
//   Timer     emscripten_set_interval at the 15 ms floor (WebServices), only while the window
//             logic wants ticks: cleared when it says no, set again after any event that makes
//             it want them; no animation frames, no main loop
//   Paint     the whole frame into a RasterSurface (text from StbTextRasterizer), converted to
//             RGBA and put on the canvas in one putImageData: the first frame, a tick that asks,
//             and a new frame whenever the device pixel ratio changes the scale
//   Window    the canvas is the drawing area: 384 x 365 CSS pixels (the logic's size without the
//             Windows frame), its backing store `scale` times as many pixels each way, the
//             device pixel ratio rounded to a whole number; the page has no place of its own
//   Save      the settings in the browser's local storage (WebServices), read at start;
//             pagehide and a visibilitychange to hidden end the session as the desktop ending
//             it does (sessionEnding); a failed save is reported on the console

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include "platform/Keys.h"
#include "screens/Program.h"
#include "shell/WindowLogic.h"
#include "shell/raster/RasterSurface.h"
#include "shell/web/StbTextRasterizer.h"
#include "shell/web/WebServices.h"

// The face the page's text is drawn with, built in (cmake/web-program.cmake).
extern const unsigned char vok_font[];
extern const std::size_t vok_font_size;

namespace {

// The web front end's own: its browser services and the program working through them, the
// text renderer and the frame.
WebServices services;
Program program(services);
StbTextRasterizer text(vok_font, vok_font_size);
std::unique_ptr<RasterSurface> frame;
std::vector<std::uint32_t> rgba;  // the frame as ImageData takes it
long interval = 0;                // the ticking interval, 0 while none runs

constexpr const char* canvas = "#canvas";

// The browser's side, in JavaScript (left as it is written).
// clang-format off
EM_JS(void, js_present, (const std::uint32_t* pixels, int width, int height), {
    var canvas = document.getElementById("canvas");
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
    canvas.getContext("2d").putImageData(new ImageData(bytes, width, height), 0, 0);
});

EM_JS(void, js_warn, (const char* message), { console.warn(UTF8ToString(message)); });

// pagehide has no registration function of its own.
EM_JS(void, js_listen_pagehide, (), {
    window.addEventListener("pagehide", function() { _vokPageHidden(); });
});
// clang-format on

// The frame rendered and put on the canvas.
void paint() {
    frame->clear();
    windowLogic::render(program, *frame);
    const std::uint32_t* from = frame->data();
    rgba.resize(std::size_t(frame->width()) * std::size_t(frame->height()));
    // 0x00RRGGBB to the bytes R, G, B, 255 (the words are little-endian).
    for (std::size_t i = 0; i < rgba.size(); ++i) {
        const std::uint32_t p = from[i];
        rgba[i] = 0xFF000000u | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
    }
    js_present(rgba.data(), frame->width(), frame->height());
}

// A backing store of whole device pixels per point, at the drawing area's CSS size; a frame of
// that scale, painted, when the scale is new.
void fitCanvas() {
    const double ratio = emscripten_get_device_pixel_ratio();
    const int scale = std::max(1, std::min(maxScale, static_cast<int>(std::lround(ratio))));
    int width = 0, height = 0;
    windowLogic::drawingSize(program, width, height);
    emscripten_set_element_css_size(canvas, width * scale / ratio, height * scale / ratio);
    if (frame && frame->scale() == scale) {
        return;
    }
    emscripten_set_canvas_element_size(canvas, width * scale, height * scale);
    frame = std::make_unique<RasterSurface>(width, height, scale, text);
    paint();
}

void tick(void*) {
    if (windowLogic::timerTick(program)) {
        paint();
    }
    if (!windowLogic::wantsTicks(program)) {
        emscripten_clear_interval(interval);
        interval = 0;
    }
}

// After any event: ticks again if the window logic now wants them.
void tickIfWanted() {
    if (interval == 0 && windowLogic::wantsTicks(program)) {
        interval = emscripten_set_interval(tick, services.timerPeriodMs(), nullptr);
    }
}

EM_BOOL onMouse(int type, const EmscriptenMouseEvent* e, void*) {
    services.noteButtons(e->buttons);
    const bool move = type == EMSCRIPTEN_EVENT_MOUSEMOVE;
    if (!move && e->button != 0) {
        return EM_FALSE;
    }
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(canvas, &cssWidth, &cssHeight);
    int width = 0, height = 0;
    windowLogic::drawingSize(program, width, height);
    const int x = static_cast<int>(std::floor(e->targetX * width / cssWidth));
    const int y = static_cast<int>(std::floor(e->targetY * height / cssHeight));
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return EM_FALSE;
    }
    const PointerEvent event = move                                 ? PointerEvent::Move
                               : type == EMSCRIPTEN_EVENT_MOUSEDOWN ? PointerEvent::LeftDown
                                                                    : PointerEvent::LeftUp;
    windowLogic::pointer(program, event, x, y);
    tickIfWanted();
    return move ? EM_FALSE : EM_TRUE;
}

int keyFor(const EmscriptenKeyboardEvent& e) {
    if (e.altKey || e.ctrlKey || e.metaKey) {
        return 0;
    }
    const struct {
        const char* code;
        int key;
    } keys[] = {{"KeyN", key::newGame},
                {"ArrowLeft", key::left},
                {"ArrowUp", key::up},
                {"ArrowRight", key::right},
                {"ArrowDown", key::down}};
    for (const auto& k : keys) {
        if (std::strcmp(e.code, k.code) == 0) {
            return k.key;
        }
    }
    return 0;
}

EM_BOOL onKey(int, const EmscriptenKeyboardEvent* e, void*) {
    const int key = keyFor(*e);
    if (key == 0) {
        return EM_FALSE;
    }
    windowLogic::keyDown(program, key);
    tickIfWanted();
    return EM_TRUE;
}

// The session ends whenever the page is hidden: it may never be shown again.
void endSession() {
    const SaveOutcome outcome = windowLogic::sessionEnding(program);
    if (!outcome) {
        js_warn(("vok-tictactoe: could not save the settings to " + outcome.path + ": " +
                 outcome.reason)
                    .c_str());
    }
}

EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
    if (e->hidden) {
        endSession();
    }
    return EM_FALSE;
}

EM_BOOL onResize(int, const EmscriptenUiEvent*, void*) {
    fitCanvas();
    return EM_FALSE;
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void vokPageHidden() {
    endSession();
}

int main() {
    windowLogic::startUp(program);
    int left = 0, top = 0;
    windowLogic::savedPosition(program, left, top);
    services.placeWindow(left, top);
    windowLogic::created(program);
    windowLogic::applyWindowFlags(program);
    fitCanvas();

    emscripten_set_mousedown_callback(canvas, nullptr, EM_FALSE, onMouse);
    emscripten_set_mouseup_callback(canvas, nullptr, EM_FALSE, onMouse);
    emscripten_set_mousemove_callback(canvas, nullptr, EM_FALSE, onMouse);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onKey);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, onVisibility);
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onResize);
    js_listen_pagehide();
    tickIfWanted();
    // The page lives on after main returns: everything else happens in the callbacks.
    return 0;
}
