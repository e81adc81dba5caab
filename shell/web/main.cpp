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
//   Paint     the whole frame into a RasterSurface (text from StbTextRasterizer), the rows that
//             changed converted to RGBA and put on the canvas in one putImageData: the first
//             frame, a tick that asks, and a new frame whenever the canvas needs another scale.
//             The first frame's work is spread over short turns of the browser's event loop
//             (FirstFrame below), so that a phone answers a tap while the page starts
//   Window    the canvas is the drawing area, at most 384 x 365 CSS pixels and smaller where
//             the screen is (index.css); its backing store at the smallest whole scale covering
//             the device pixels it takes (windowLogic::scaleToCover), so the browser only ever
//             scales it down; the page has no place of its own
//   Zoom      the browser's own: a new size or pixel ratio (page.js) draws the frame again at
//             the scale that covers it, the layer placed in shares of the canvas; no key of the
//             window logic's zoom is handed over
//   Save      the settings in the browser's local storage (WebServices), read at start;
//             pagehide and a visibilitychange to hidden end the session as the desktop ending
//             it does (sessionEnding); a failed save is reported on the console
//   Access    after every frame the screen's description to page.js, which keeps one element
//             per item over the canvas and presses an item at its point; the news in a polite
//             live region

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
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
#include "shell/raster/BmpDecoder.h"
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
    std::unique_ptr<std::uint32_t[]> rgba;  // the frame as ImageData takes it
    // The frame on the canvas as the surface drew it (nothing yet at this size: a new canvas),
    // and the rows of the next frame that differ from it: only those are converted and put on
    // the canvas.
    std::unique_ptr<std::uint32_t[]> onCanvas;
    bool newCanvas = true;
    int changedTop = 0, changedBottom = 0;
    long interval = 0;  // the ticking interval, 0 while none runs
    std::string layer;  // the description last handed to the page, as JSON
    windowLogic::ScreenNews told;
    bool drawn = false;  // the first frame is drawn
    bool shown = false;  // and on the canvas
    // The first frame's drawing, still to be made ready, a step at a time.
    std::vector<std::function<void(DrawingSurface&)>> firstSteps;
    std::size_t firstStep = 0;
    // Pictures page.js decoded, by id, while it hands their bytes over: their size and bytes.
    struct Arriving {
        int width = 0, height = 0;
        std::unique_ptr<std::uint32_t[]> bytes;  // left uninitialised: page.js fills them all
    };
    std::map<int, Arriving> arriving;
};
Frontend frontend;

constexpr const char* canvas = "#canvas";

// The browser's side, in JavaScript (left as it is written); vokPage is page.js.
// clang-format off
// Rows top..bottom-1 of the frame's bytes put on the canvas.
EM_JS(void, js_present, (const std::uint32_t* pixels, int width, int height, int top, int bottom), {
    var canvas = document.getElementById("canvas");
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
    canvas.getContext("2d").putImageData(new ImageData(bytes, width, height), 0, 0, 0, top, width,
                                         bottom - top);
});

EM_JS(void, js_warn, (const char* message), { console.warn(UTF8ToString(message)); });

EM_JS(void, js_start, (int width, int height), { vokPage.start(width, height); });
EM_JS(int, js_pictures_awaited, (), { return vokPage.awaited; });
EM_JS(void, js_keep_offline, (), { vokPage.keepOffline(); });
EM_JS(void, js_layer, (const char* items), { vokPage.update(UTF8ToString(items)); });
EM_JS(void, js_announce, (const char* news), { vokPage.announce(UTF8ToString(news)); });
// clang-format on

// Each role as page.js takes it, which makes the element and its ARIA role from it: a button
// (aria-pressed for a toggle), a radio group of radios, the board as a group of buttons named
// by their place and what lies there (a grid would promise the arrows of a grid, which the page
// leaves to the browser's own Tab), a plain text for the status and the label, a link.
struct PageRole {
    ItemRole item;
    const char* name;
};
constexpr PageRole pageRoles[] = {
    {ItemRole::Button, "button"},
    {ItemRole::Toggle, "toggle"},
    {ItemRole::RadioGroup, "radiogroup"},
    {ItemRole::Radio, "radio"},
    {ItemRole::Board, "board"},
    {ItemRole::Cell, "cell"},
    {ItemRole::Status, "status"},
    {ItemRole::Label, "label"},
    {ItemRole::Link, "link"},
};
static_assert(coversEveryRole(pageRoles));

// The description as the JSON page.js reads: one object per item, its flags as 0 or 1.
std::string layerJson(const std::vector<windowLogic::ScreenItem>& items) {
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
               pageRoles[static_cast<int>(it.role)].name + "\",\"name\":\"" + name + "\"";
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

// Rows [top, bottom) of the frame as drawn, in the bytes ImageData takes, where they differ from
// the canvas's.
void convert(Frontend& f, int top, int bottom) {
    bottom = std::min(bottom, f.frame->height());  // the frame may be a new one, smaller
    const std::uint32_t* from = f.frame->data();
    const std::size_t width = std::size_t(f.frame->width());
    for (int y = top; y < bottom; ++y) {
        const std::uint32_t* row = from + std::size_t(y) * width;
        std::uint32_t* shown = f.onCanvas.get() + std::size_t(y) * width;
        if (!f.newCanvas && std::equal(row, row + width, shown)) {
            continue;
        }
        std::copy(row, row + width, shown);
        std::uint32_t* to = f.rgba.get() + std::size_t(y) * width;
        // 0x00RRGGBB to the bytes R, G, B, 255 (the words are little-endian).
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t p = row[x];
            to[x] = 0xFF000000u | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
        }
        f.changedTop = f.changedTop < f.changedBottom ? std::min(f.changedTop, y) : y;
        f.changedBottom = std::max(f.changedBottom, y + 1);
    }
}
void convert(Frontend& f) {
    convert(f, 0, f.frame->height());
}

// The rows that changed put on the canvas.
void present(Frontend& f) {
    if (f.changedTop < f.changedBottom) {
        js_present(f.rgba.get(), f.frame->width(), f.frame->height(), f.changedTop,
                   f.changedBottom);
    }
    f.changedTop = f.changedBottom = 0;
    f.newCanvas = false;
}

// The layer and the live region brought up to date with what is on the canvas.
void describe(Frontend& f) {
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

// The frame rendered and put on the canvas; the layer and the live region brought up to date.
void paint(Frontend& f) {
    f.frame->clear();
    windowLogic::render(f.program, *f.frame);
    convert(f);
    present(f);
    describe(f);
}

// A backing store at the smallest whole scale that covers the device pixels the canvas takes,
// and a frame of that scale; true when the scale is new.
bool fitFrame(Frontend& f) {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(canvas, &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    int width = 0, height = 0;
    windowLogic::drawingSize(f.program, width, height);
    const int scale = std::max(windowLogic::scaleToCover(cssWidth * ratio, width),
                               windowLogic::scaleToCover(cssHeight * ratio, height));
    if (f.frame && f.frame->scale() == scale) {
        return false;
    }
    emscripten_set_canvas_element_size(canvas, width * scale, height * scale);
    f.frame = std::make_unique<RasterSurface>(width, height, scale, f.text);
    // Both filled, row by row, by the next conversion of the whole frame.
    const std::size_t pixels = std::size_t(f.frame->width()) * std::size_t(f.frame->height());
    f.rgba.reset(new std::uint32_t[pixels]);
    f.onCanvas.reset(new std::uint32_t[pixels]);
    f.newCanvas = true;
    return true;
}

// Painted anew when the canvas needs another scale; until the first frame is shown, that frame
// takes the scale the canvas has then (FirstFrame::show).
void fitCanvas(Frontend& f) {
    if (f.shown && fitFrame(f)) {
        paint(f);
    }
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

// After any event: ticks again if the window logic now wants them (from the first frame on).
void tickIfWanted(Frontend& f) {
    if (f.shown && f.interval == 0 && windowLogic::wantsTicks(f.program)) {
        f.interval = emscripten_set_interval(tick, f.services.timerPeriodMs(), &f);
    }
}

// The first frame, in steps of its own. Its drawing is first noted without drawing anything;
// each picture and text it needs is then drawn once on the real frame, a few in each turn of
// the event loop (decoded and rasterized once, and kept), until the pictures page.js fetches
// are in as well; then the frame is drawn (quickly, everything at hand) and shown, and in the
// next turn its layer is made. No turn takes more than a few milliseconds of a phone's time.
class FirstFrame : public DrawingSurface {
  public:
    explicit FirstFrame(Frontend& f) : steps(f.firstSteps) {}

    void copyBitmap(int id, int x, int y, int w, int h) override {
        steps.push_back([=](DrawingSurface& s) { s.copyBitmap(id, x, y, w, h); });
    }
    void copyBitmapKeyed(int id, int x, int y, int w, int h) override {
        steps.push_back([=](DrawingSurface& s) { s.copyBitmapKeyed(id, x, y, w, h); });
    }
    void rectangle(int, int, int, int, Colour, bool, Colour, int) override {}
    void line(int, int, int, int, Colour, int) override {}
    void text(const std::string& text, int left, int top, int right, int bottom, const Font& font,
              Colour colour, TextAlign align) override {
        steps.push_back([=](DrawingSurface& s) {
            s.text(text, left, top, right, bottom, font, colour, align);
        });
    }

    // Each turn takes at most about this long, in the browser's milliseconds.
    static constexpr double turnMs = 4;

    // In the next turn, page.js started and the first frame's drawing noted; then the steps.
    static void begin(Frontend& f) { emscripten_set_timeout(note, 0, &f); }

    static void note(void* userData) {
        Frontend& f = *static_cast<Frontend*>(userData);
        int width = 0, height = 0;
        windowLogic::drawingSize(f.program, width, height);
        js_start(width, height);
        FirstFrame notes(f);
        windowLogic::render(f.program, notes);
        emscripten_set_timeout(step, 0, &f);
    }

    // Some of the steps; the next turn, the rest, or the frame once everything is ready.
    static void step(void* userData) {
        Frontend& f = *static_cast<Frontend*>(userData);
        if (!f.frame) {
            fitFrame(f);
            emscripten_set_timeout(step, 0, &f);
            return;
        }
        const double start = emscripten_get_now();
        while (f.firstStep < f.firstSteps.size() && emscripten_get_now() - start < turnMs) {
            f.firstSteps[f.firstStep++](*f.frame);
        }
        if (f.firstStep < f.firstSteps.size()) {
            emscripten_set_timeout(step, 0, &f);
        } else if (f.drawn) {
            emscripten_set_timeout(show, 0, &f);
        } else if (js_pictures_awaited() == 0) {
            emscripten_set_timeout(draw, 0, &f);
        }
        // Otherwise the last picture's arrival (vokPictureArrived) draws the frame.
    }

    // The frame drawn, then (in the next turn) put on the canvas.
    static void draw(void* userData) {
        Frontend& f = *static_cast<Frontend*>(userData);
        if (f.shown || f.drawn) {
            return;
        }
        f.firstSteps.clear();
        f.firstSteps.shrink_to_fit();
        fitFrame(f);
        f.frame->clear();
        windowLogic::render(f.program, *f.frame);
        f.drawn = true;
        // Its conversion to the canvas's bytes, a slice of rows at a time.
        const int height = f.frame->height(), rows = std::max(1, (1 << 16) / f.frame->width());
        for (int top = 0; top < height; top += rows) {
            f.firstSteps.push_back([&f, top, rows, height](DrawingSurface&) {
                convert(f, top, std::min(height, top + rows));
            });
        }
        f.firstStep = 0;
        emscripten_set_timeout(step, 0, &f);
    }

    static void show(void* userData) {
        Frontend& f = *static_cast<Frontend*>(userData);
        if (fitFrame(f)) {  // the canvas took another scale meanwhile
            f.frame->clear();
            windowLogic::render(f.program, *f.frame);
            convert(f);
        }
        f.firstSteps.clear();
        f.firstSteps.shrink_to_fit();
        present(f);
        f.shown = true;
        emscripten_set_timeout(described, 0, &f);
    }

    static void described(void* userData) {
        Frontend& f = *static_cast<Frontend*>(userData);
        describe(f);
        tickIfWanted(f);
        js_keep_offline();
    }

  private:
    std::vector<std::function<void(DrawingSurface&)>>& steps;
};

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

// Room for the pixels of picture `id`, width x height, which page.js fills with the RGBA bytes the
// browser decoded from its file, then calls vokPictureArrived; none (null) for a size no picture
// of the program has.
EMSCRIPTEN_KEEPALIVE std::uint32_t* vokPictureRoom(int id, int width, int height) {
    if (width < 1 || height < 1 || width > maxBmpSide || height > maxBmpSide) {
        return nullptr;
    }
    Frontend::Arriving& picture = frontend.arriving[id];
    picture.width = width;
    picture.height = height;
    picture.bytes.reset(new std::uint32_t[std::size_t(width) * std::size_t(height)]);
    return picture.bytes.get();
}

// Picture `id` is in (or, without room asked for, could not be had: the frame goes without it).
// The first frame waits for every picture fetched.
EMSCRIPTEN_KEEPALIVE void vokPictureArrived(int id) {
    const auto found = frontend.arriving.find(id);
    if (found != frontend.arriving.end()) {
        RasterImage picture;
        picture.width = found->second.width;
        picture.height = found->second.height;
        const std::uint32_t* bytes = found->second.bytes.get();
        picture.pixels.assign(bytes, bytes + std::size_t(picture.width) * picture.height);
        frontend.arriving.erase(found);
        // The bytes R, G, B, A to 0x00RRGGBB (the words are little-endian).
        for (std::uint32_t& p : picture.pixels) {
            p = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
        }
        provideProgramPicture(id, std::move(picture));
    }
    Frontend& f = frontend;
    if (!f.shown && f.frame && f.firstStep == f.firstSteps.size() && js_pictures_awaited() == 0) {
        emscripten_set_timeout(FirstFrame::draw, 0, &f);
    }
}

// An item of the layer activated: the press and release a click gives at its point.
EMSCRIPTEN_KEEPALIVE void vokPress(int x, int y) {
    windowLogic::press(frontend.program, x, y);
    tickIfWanted(frontend);
}

// The page's contrast, whenever it changes: mode 0 the normal look, 1 the colours given (the
// browser's forced colours, each 0xRRGGBB, in the order of ContrastPalette), 2 and 3 the
// program's own dark on light and light on dark (prefers-contrast: more).
EMSCRIPTEN_KEEPALIVE void vokContrast(int mode, int window, int windowText, int buttonFace,
                                      int buttonText, int highlight, int highlightText,
                                      int hotLight, int grayText) {
    const auto colour = [](int c) { return rgb((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); };
    ContrastPalette palette =
        mode == 3 ? contrastPalette::lightOnDark : contrastPalette::darkOnLight;
    if (mode == 1) {
        palette = {colour(window),    colour(windowText),    colour(buttonFace), colour(buttonText),
                   colour(highlight), colour(highlightText), colour(hotLight),   colour(grayText)};
    }
    setHighContrast(frontend.program, mode != 0, palette);
    tickIfWanted(frontend);
}

}  // extern "C"

// The page's part of the start-up: the canvas is there already; shown means started and drawn,
// in turns of their own (FirstFrame).
class PageOpener : public windowLogic::WindowOpener {
  public:
    explicit PageOpener(Frontend& frontend) : f(frontend) {}
    bool makeWindow(int, int) override { return true; }
    void showWindow() override { FirstFrame::begin(f); }

  private:
    Frontend& f;
};

int main() {
    Frontend& f = frontend;
    PageOpener opener(f);
    windowLogic::openWindow(f.program, opener);

    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, &f, EM_FALSE, onKey);
    emscripten_set_visibilitychange_callback(&f, EM_FALSE, onVisibility);
    // The page lives on after main returns: everything else happens in the callbacks.
    return 0;
}
