// Window-system services for tests: what was asked is remembered, answers are set by the test.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/WindowServices.h"
#include "shell/WindowLogic.h"

// Files are real (under a folder the test chooses); failures can be injected.
class FakeServices : public WindowServices {
  public:
    // Answers.
    int clientWidth = windowLogic::drawingWidth;
    int clientHeight = windowLogic::drawingHeight;
    int screenWidth = 1024;
    int screenHeight = 738;
    std::optional<ScreenRect> rect = ScreenRect{0, 0, 390, 390};
    bool leftDown = false;
    std::int64_t clock = 1000000000;
    std::string base;  // the settings folder's base, with its separator; "" names none
    bool failMakeFolders = false;
    bool failReplace = false;
    bool contrastOn = false;  // what SPI_GETHIGHCONTRAST would say, and the system's colours
    ContrastPalette contrast;

    // What was asked.
    int timerId = 0, timerPeriod = 0, timerStarts = 0;
    int drawingWidth = 0, drawingHeight = 0;
    int scale = 0;  // as last set; 0 before
    std::vector<int> opacities;
    std::vector<bool> topmostCalls;
    std::vector<std::string> urls;

    void startTimer(int id, int periodMs) override {
        timerId = id;
        timerPeriod = periodMs;
        ++timerStarts;
    }
    // The window resized round the drawing area, in a frame of 6 x 25 pixels.
    void setDrawingSize(int w, int h) override {
        drawingWidth = w;
        drawingHeight = h;
        if (rect) {
            rect->right = rect->left + w * std::max(scale, 1) + 6;
            rect->bottom = rect->top + h * std::max(scale, 1) + 25;
        }
    }
    void setScale(int s) override { scale = s; }
    void moveWindow(int left, int top) override {
        if (rect) {
            *rect = ScreenRect{left, top, left + rect->right - rect->left,
                               top + rect->bottom - rect->top};
        }
    }
    void clientSize(int& w, int& h) override {
        w = clientWidth;
        h = clientHeight;
    }
    void setOpacity(int alpha) override { opacities.push_back(alpha); }
    void setTopmost(bool on) override { topmostCalls.push_back(on); }
    std::optional<ScreenRect> windowRect() override { return rect; }
    void screenSize(int& w, int& h) override {
        w = screenWidth;
        h = screenHeight;
    }
    void openUrl(const std::string& address) override { urls.push_back(address); }
    bool leftButtonDown() override { return leftDown; }
    bool highContrast(ContrastPalette& palette) override {
        palette = contrastOn ? contrast : palette;
        return contrastOn;
    }
    std::int64_t clockSeconds() override { return clock; }
    std::string settingsBase() override { return base; }
    bool makeFolders(const std::string& path, std::string& why) override {
        std::error_code error;
        if (!failMakeFolders) {
            std::filesystem::create_directories(path, error);
        }
        why = "no folder";
        return !failMakeFolders && std::filesystem::is_directory(path, error);
    }
    bool readFile(const std::string& path, std::size_t limit, std::string& bytes) override {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(limit, '\0');
        in.read(&bytes[0], static_cast<std::streamsize>(limit));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        return static_cast<bool>(in) || in.eof();
    }
    // Plain, not atomic: the front ends' own saves are tested with their own services.
    bool replaceFileContent(const std::string& path, const std::string& bytes,
                            std::string& why) override {
        why = "refused";
        if (failReplace) {
            return false;
        }
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
        out.close();
        return static_cast<bool>(out);
    }
};
