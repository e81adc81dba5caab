#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/WindowServices.h"

// Window-system services for tests: remembers what was asked, answers with values the test
// sets. Files are real (under a folder the test chooses); failures can be injected.
class FakeServices : public WindowServices {
  public:
    // Answers.
    int clientWidth = 384;
    int clientHeight = 361;
    int screenWidth = 1024;
    int screenHeight = 738;
    ScreenRect rect{0, 0, 390, 390};
    bool leftDown = false;
    std::int64_t clock = 1000000000;
    std::string folder;  // "" means the system names no folder
    bool failMakeFolders = false;
    bool failReplace = false;

    // What was asked.
    int timerId = 0, timerPeriod = 0, timerStarts = 0;
    int windowWidth = 0, windowHeight = 0;
    std::vector<int> opacities;
    std::vector<bool> topmostCalls;
    std::vector<std::string> urls;

    void startTimer(int id, int periodMs) override {
        timerId = id;
        timerPeriod = periodMs;
        ++timerStarts;
    }
    void setWindowSize(int w, int h) override {
        windowWidth = w;
        windowHeight = h;
    }
    void clientSize(int& w, int& h) override {
        w = clientWidth;
        h = clientHeight;
    }
    void setOpacity(int alpha) override { opacities.push_back(alpha); }
    void setTopmost(bool on) override { topmostCalls.push_back(on); }
    ScreenRect windowRect() override { return rect; }
    void screenSize(int& w, int& h) override {
        w = screenWidth;
        h = screenHeight;
    }
    void openUrl(const std::string& address) override { urls.push_back(address); }
    bool leftButtonDown() override { return leftDown; }
    std::int64_t clockSeconds() override { return clock; }
    std::string settingsFolder() override { return folder; }
    bool makeFolders(const std::string& path) override {
        if (failMakeFolders) {
            return false;
        }
        std::error_code error;
        std::filesystem::create_directories(path, error);
        return std::filesystem::is_directory(path, error);
    }
    bool replaceFile(const std::string& from, const std::string& to) override {
        if (failReplace) {
            return false;
        }
        std::error_code error;
        std::filesystem::rename(from, to, error);
        return !error;
    }
};

// Installs a FakeServices as the program's services for the lifetime of the guard.
class ScopedFakeServices {
  public:
    ScopedFakeServices() { setWindowServices(&fake); }
    ~ScopedFakeServices() { setWindowServices(nullptr); }
    FakeServices fake;
};
