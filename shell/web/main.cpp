// The page: one canvas whose DOM events become calls of the window logic, and a layer of
// elements over it that assistive technology reads and operates.
//
// The front-end contract (shell/WindowLogic.h), row by row:
//   Pointer   Pointer Events of the primary pointer (mouse, touch or pen) on the canvas, passed
//             on by page.js in drawing-area pixels, only while inside it; of a mouse only the
//             left button
//   Keys      keydown on the window by KeyboardEvent.code (KeyN and the arrows, on any
//             layout), repeats included; with Alt, Ctrl or Meta the key is left to the browser,
//             as is every key the game has no use for, and the arrows inside a radio group
//   Timer     emscripten_set_interval at the 15 ms floor (WebServices), only while the window
//             logic wants ticks: cleared when it says no, set again after any event that makes
//             it want them; no animation frames, no main loop
//   Paint     the whole frame into a RasterSurface (text from StbTextRasterizer), converted to
//             RGBA and put on the canvas in one putImageData: the first frame, a tick that asks,
//             and a new frame whenever the canvas needs another scale
//   Window    the canvas is the drawing area, at most 384 x 365 CSS pixels and smaller where
//             the screen is (index.css); its backing store at the smallest whole scale covering
//             the device pixels it takes (windowLogic::scaleToCover), so the browser only ever
//             scales it down; the page has no place of its own
//   Save      the settings in the browser's local storage (WebServices), read at start;
//             pagehide and a visibilitychange to hidden end the session as the desktop ending
//             it does (sessionEnding); a failed save is reported on the console
//   Access    after every frame the screen's description to page.js, which keeps one element
//             per item over the canvas and presses an item at its point; the news in a polite
//             live region

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include "platform/Keys.h"
#include "screens/Program.h"
#include "shell/ScreenDescription.h"
#include "shell/WindowLogic.h"
#include "shell/raster/RasterSurface.h"
#include "shell/web/StbTextRasterizer.h"
#include "shell/web/WebServices.h"

// The face the page's text is drawn with, built in (cmake/web-program.cmake).
extern const unsigned char vok_font[];
extern const std::size_t vok_font_size;

namespace {

// The web front end's own: its browser services and the program working through them, the
// text renderer, the frame, and what the page's layer and live region were last given.
struct Frontend {
    WebServices services;
    Program program{services};
    StbTextRasterizer text{vok_font, vok_font_size};
    std::unique_ptr<RasterSurface> frame;
    std::vector<std::uint32_t> rgba;  // the frame as ImageData takes it
    long interval = 0;                // the ticking interval, 0 while none runs
    std::string layer;                // the description last handed to the page, as JSON
    windowLogic::ScreenNews told;
};
Frontend frontend;

constexpr const char* canvas = "#canvas";

// The browser's side, in JavaScript (left as it is written); vokPage is page.js.
// clang-format off
EM_JS(void, js_present, (const std::uint32_t* pixels, int width, int height), {
    var canvas = document.getElementById("canvas");
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
    canvas.getContext("2d").putImageData(new ImageData(bytes, width, height), 0, 0);
});

EM_JS(void, js_warn, (const char* message), { console.warn(UTF8ToString(message)); });

EM_JS(void, js_start, (int width, int height), { vokPage.start(width, height); });
EM_JS(void, js_layer, (const char* items), { vokPage.update(UTF8ToString(items)); });
EM_JS(void, js_announce, (const char* news), { vokPage.announce(UTF8ToString(news)); });
// clang-format on

// The description as the JSON page.js reads: one object per item, its flags as 0 or 1.
std::string layerJson(const std::vector<windowLogic::ScreenItem>& items) {
    static const char* const roles[] = {"button", "toggle", "radiogroup", "radio", "board",
                                        "cell",   "status", "label",      "link"};
    std::string out = "[";
    for (const windowLogic::ScreenItem& it : items) {
        std::string name;
        for (const char c : it.name) {
            if (c == '"' || c == '\\') {
                name += '\\';
            }
            name += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
        out += std::string(out.size() > 1 ? "," : "") + "{\"role\":\"" +
               roles[static_cast<int>(it.role)] + "\",\"name\":\"" + name + "\"";
        const std::pair<const char*, int> fields[] = {{"id", it.id},
                                                      {"parent", it.parent},
                                                      {"page", it.page},
                                                      {"x", it.x},
                                                      {"y", it.y},
                                                      {"width", it.width},
                                                      {"height", it.height},
                                                      {"pressX", it.pressX},
                                                      {"pressY", it.pressY},
                                                      {"pressed", it.pressed},
                                                      {"checked", it.checked},
                                                      {"disabled", it.disabled}};
        for (const auto& field : fields) {
            out += std::string(",\"") + field.first + "\":" + std::to_string(field.second);
        }
        out += "}";
    }
    return out + "]";
}

// The frame rendered and put on the canvas; the layer and the live region brought up to date.
void paint(Frontend& f) {
    f.frame->clear();
    windowLogic::render(f.program, *f.frame);
    const std::uint32_t* from = f.frame->data();
    f.rgba.resize(std::size_t(f.frame->width()) * std::size_t(f.frame->height()));
    // 0x00RRGGBB to the bytes R, G, B, 255 (the words are little-endian).
    for (std::size_t i = 0; i < f.rgba.size(); ++i) {
        const std::uint32_t p = from[i];
        f.rgba[i] = 0xFF000000u | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
    }
    js_present(f.rgba.data(), f.frame->width(), f.frame->height());

    std::string layer = layerJson(windowLogic::describeScreen(f.program));
    if (layer != f.layer) {
        f.layer = std::move(layer);
        js_layer(f.layer.c_str());
    }
    const std::string news = windowLogic::newsSince(f.program, f.told);
    if (!news.empty()) {
        js_announce(news.c_str());
    }
}

// A backing store at the smallest whole scale that covers the device pixels the canvas takes;
// a frame of that scale, painted, when the scale is new.
void fitCanvas(Frontend& f) {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(canvas, &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    int width = 0, height = 0;
    windowLogic::drawingSize(f.program, width, height);
    const int scale = std::max(windowLogic::scaleToCover(cssWidth * ratio, width),
                               windowLogic::scaleToCover(cssHeight * ratio, height));
    if (f.frame && f.frame->scale() == scale) {
        return;
    }
    emscripten_set_canvas_element_size(canvas, width * scale, height * scale);
    f.frame = std::make_unique<RasterSurface>(width, height, scale, f.text);
    paint(f);
}

void tick(void* userData) {
    Frontend& f = *static_cast<Frontend*>(userData);
    if (windowLogic::timerTick(f.program)) {
        paint(f);
    }
    if (!windowLogic::wantsTicks(f.program)) {
        emscripten_clear_interval(f.interval);
        f.interval = 0;
    }
}

// After any event: ticks again if the window logic now wants them.
void tickIfWanted(Frontend& f) {
    if (f.interval == 0 && windowLogic::wantsTicks(f.program)) {
        f.interval = emscripten_set_interval(tick, f.services.timerPeriodMs(), &f);
    }
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

EM_BOOL onKey(int, const EmscriptenKeyboardEvent* e, void* userData) {
    Frontend& f = *static_cast<Frontend*>(userData);
    const int key = keyFor(*e);
    if (key == 0) {
        return EM_FALSE;
    }
    windowLogic::keyDown(f.program, key);
    tickIfWanted(f);
    return EM_TRUE;
}

// The session ends whenever the page is hidden: it may never be shown again.
void endSession(Frontend& f) {
    const SaveOutcome outcome = windowLogic::sessionEnding(f.program);
    if (!outcome) {
        js_warn(("vok-tictactoe: could not save the settings to " + outcome.path + ": " +
                 outcome.reason)
                    .c_str());
    }
}

EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* e, void* userData) {
    if (e->hidden) {
        endSession(*static_cast<Frontend*>(userData));
    }
    return EM_FALSE;
}

}  // namespace

// Called by page.js.
extern "C" {

EMSCRIPTEN_KEEPALIVE void vokPageHidden() {
    endSession(frontend);
}

// The canvas's size or the device pixel ratio changed.
EMSCRIPTEN_KEEPALIVE void vokResized() {
    fitCanvas(frontend);
}

// A pointer event at (x, y) of the drawing area: kind 0 a move, 1 a press, 2 a release, of
// `button` with `buttons` held (as PointerEvent gives them). True when the page should take it.
EMSCRIPTEN_KEEPALIVE int vokPointer(int kind, int x, int y, int button, int buttons) {
    frontend.services.noteButtons(static_cast<unsigned>(buttons));
    int width = 0, height = 0;
    windowLogic::drawingSize(frontend.program, width, height);
    if ((kind != 0 && button != 0) || x < 0 || y < 0 || x >= width || y >= height) {
        return 0;
    }
    const PointerEvent event = kind == 0   ? PointerEvent::Move
                               : kind == 1 ? PointerEvent::LeftDown
                                           : PointerEvent::LeftUp;
    windowLogic::pointer(frontend.program, event, x, y);
    tickIfWanted(frontend);
    return kind != 0;
}

// An item of the layer activated: the press and release a click gives at its point.
EMSCRIPTEN_KEEPALIVE void vokPress(int x, int y) {
    windowLogic::press(frontend.program, x, y);
    tickIfWanted(frontend);
}

}  // extern "C"

// The page's part of the start-up: the canvas is there already; shown means started and drawn.
class PageOpener : public windowLogic::WindowOpener {
  public:
    explicit PageOpener(Frontend& frontend) : f(frontend) {}
    bool makeWindow(int, int) override { return true; }
    void showWindow() override {
        int width = 0, height = 0;
        windowLogic::drawingSize(f.program, width, height);
        js_start(width, height);
        fitCanvas(f);
    }

  private:
    Frontend& f;
};

int main() {
    Frontend& f = frontend;
    PageOpener opener(f);
    windowLogic::openWindow(f.program, opener);

    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &f, EM_FALSE, onKey);
    emscripten_set_visibilitychange_callback(&f, EM_FALSE, onVisibility);
    tickIfWanted(f);
    // The page lives on after main returns: everything else happens in the callbacks.
    return 0;
}
