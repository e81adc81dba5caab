// The window-system services of the page: the canvas, new tabs, and the browser's local storage.

#include "shell/web/WebServices.h"

#include <ctime>

#include <emscripten.h>

namespace {

// The browser's side, in JavaScript (left as it is written).
// clang-format off
EM_JS(void, js_set_opacity, (double opacity), {
    document.getElementById("canvas").style.opacity = String(opacity);
});

EM_JS(int, js_screen_width, (), { return window.screen.availWidth | 0; });
EM_JS(int, js_screen_height, (), { return window.screen.availHeight | 0; });

EM_JS(void, js_open_tab, (const char* address), {
    window.open(UTF8ToString(address), "_blank", "noopener");
});

// The item's text as UTF-8 in `out` (at most `capacity` bytes with the closing NUL); its length,
// or -1 when there is none or storage cannot be read.
EM_JS(int, js_storage_read, (const char* key, char* out, int capacity), {
    try {
        var value = window.localStorage.getItem(UTF8ToString(key));
        return value === null ? -1 : stringToUTF8(value, out, capacity);
    } catch (e) {
        console.warn("vok-tictactoe: cannot read the settings from the browser's storage: " + e);
        return -1;
    }
});

// 1 when stored; otherwise 0, with the browser's reason in `why`.
EM_JS(int, js_storage_write, (const char* key, const char* value, char* why, int capacity), {
    try {
        window.localStorage.setItem(UTF8ToString(key), UTF8ToString(value));
        return 1;
    } catch (e) {
        stringToUTF8(String(e), why, capacity);
        return 0;
    }
});
// clang-format on

}  // namespace

void WebServices::startTimer(int /*timerId*/, int periodMs) {
    tickPeriod = windowLogic::tickPeriodFor(periodMs);
}

void WebServices::setDrawingSize(int width, int height) {
    // The canvas is the drawing area.
    drawWidth = width > 1 ? width : 1;
    drawHeight = height > 1 ? height : 1;
}

void WebServices::clientSize(int& width, int& height) {
    width = drawWidth;
    height = drawHeight;
}

void WebServices::setOpacity(int alpha) {
    js_set_opacity(alpha / 255.0);
}

void WebServices::setTopmost(bool /*on*/) {}

void WebServices::screenSize(int& width, int& height) {
    width = js_screen_width();
    height = js_screen_height();
}

void WebServices::openUrl(const std::string& address) {
    js_open_tab(address.c_str());
}

std::int64_t WebServices::clockSeconds() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

bool WebServices::makeFolders(const std::string& /*folder*/, std::string& /*why*/) {
    return true;
}

bool WebServices::readFile(const std::string& path, std::size_t limit, std::string& bytes) {
    bytes.assign(limit + 1, '\0');
    const int length = js_storage_read(path.c_str(), &bytes[0], static_cast<int>(limit + 1));
    if (length < 0) {
        bytes.clear();
        return false;
    }
    bytes.resize(static_cast<std::size_t>(length));
    return true;
}

bool WebServices::replaceFileContent(const std::string& path, const std::string& bytes,
                                     std::string& why) {
    char reason[256] = "";
    if (js_storage_write(path.c_str(), bytes.c_str(), reason, sizeof reason)) {
        return true;
    }
    why = reason[0] ? reason : "the browser refused to store it";
    return false;
}
