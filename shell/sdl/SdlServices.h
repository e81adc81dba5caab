#pragma once

#include <SDL.h>

#include "platform/WindowServices.h"

// The Windows program's caption and thin frame take this much of its 390 x 390 window (measured
// there); the Linux window's drawing area is the rest, so both programs draw the same picture.
constexpr int windowsFrameWidth = 6;
constexpr int windowsFrameHeight = 25;

// The window-system services on SDL. The window is attached once it exists; until then the
// window operations do nothing and the sizes answer from what was asked.
class SdlServices : public WindowServices {
  public:
    void attach(SDL_Window* window);
    SDL_Window* window() const { return sdlWindow; }

    // The timer the event loop runs: started or not, and its period.
    bool timerStarted() const { return tickPeriod > 0; }
    int timerPeriodMs() const { return tickPeriod; }

    void startTimer(int timerId, int periodMs) override;
    void setWindowSize(int width, int height) override;
    void clientSize(int& width, int& height) override;
    void setOpacity(int alpha) override;
    void setTopmost(bool on) override;
    ScreenRect windowRect() override;
    void screenSize(int& width, int& height) override;
    void openUrl(const std::string& address) override;
    bool leftButtonDown() override;
    std::int64_t clockSeconds() override;
    std::string settingsFolder() override;
    bool makeFolders(const std::string& folder) override;
    bool replaceFile(const std::string& from, const std::string& to) override;

  private:
    SDL_Window* sdlWindow = nullptr;
    int tickPeriod = 0;
    int drawWidth = 390 - windowsFrameWidth;
    int drawHeight = 390 - windowsFrameHeight;
};

// The timer period the program runs at: the window system's usual minimum, whatever shorter
// period is asked for, so the computer's thinking pause lasts about a third of a second.
int tickPeriodFor(int requestedMs);

// Where the settings live: "$XDG_CONFIG_HOME/vok/vudezazivaze/", or under "$HOME/.config" when
// that is unset, empty or not an absolute path; `home` comes from the password database when
// HOME is unset. "" when no folder can be named.
std::string settingsFolderFor(const char* xdgConfigHome, const char* home);

// Creates a folder and its missing parents; true when it exists afterwards.
bool makeFolderPath(const std::string& folder);

// Puts `from` in the place of `to` in one step, its data on disk first.
bool replaceFileSafely(const std::string& from, const std::string& to);
