// The skin: per Theme, the picture of every element and state and every colour.
#pragma once

#include <cstdint>
#include <string>

// The single source of every colour and picture the controls paint. Up to ten Themes, each
// mapping an element id and a state to a bitmap id, and a colour element and a state to a
// colour. Lookups are plain table reads and check nothing: callers stay within the bounds.
class scobSkin {
  public:
    static constexpr int maxThemes = 10;
    static constexpr int maxElements = 50;
    static constexpr int maxStates = 50;

    scobSkin() = default;
    virtual ~scobSkin() = default;
    scobSkin(const scobSkin&) = delete;
    scobSkin& operator=(const scobSkin&) = delete;

    virtual void defineThemes() {}

    // Whether an element (or colour element) and a state lie inside the tables. The lookups
    // themselves check nothing; callers that may hold a "none" id ask this first.
    static bool inRange(int element, int state) {
        return element >= 0 && element < maxElements && state >= 0 && state < maxStates;
    }

    std::int32_t getColour(int colourElement, int state) const {
        return colours[currentTheme][colourElement][state];
    }
    // The variant is accepted for the callers' sake and plays no part.
    int getBitmap(int elementId, int state, int /*variant*/) const {
        return bitmaps[currentTheme][elementId][state];
    }
    std::string getText(int element, int state) const {
        return themeTexts[currentTheme][element][state];
    }
    void setTheme(int theme) { currentTheme = theme; }
    int getTheme() const { return currentTheme; }
    int getThemeCount() const { return themeCount; }
    const std::string& getThemeName(int theme) const { return themeNames[theme]; }

  protected:
    std::int32_t currentTheme = 0;
    std::string themeNames[maxThemes];
    std::int32_t themeCount = 0;
    std::int32_t colours[maxThemes][maxElements][maxStates] = {};
    std::int32_t bitmaps[maxThemes][maxElements][maxStates] = {};
    std::string themeTexts[maxThemes][maxElements][maxStates];
};
