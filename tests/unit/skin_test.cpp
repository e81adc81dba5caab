// The skin: every Theme's pictures and colours.

#include <gtest/gtest.h>

#include <memory>

#include "scob/bitmapIds.h"
#include "scob/skinInstance.h"

namespace {

// The skin is about a megabyte: keep it off the stack.
std::unique_ptr<skinInstance> makeSkin() {
    return std::make_unique<skinInstance>();
}

TEST(Skin, ConstructionDefinesThreeThemesWithTheirNames) {
    auto skin = makeSkin();
    EXPECT_EQ(skin->getThemeCount(), 3);
    EXPECT_EQ(skin->getTheme(), 0);
    EXPECT_EQ(skin->getThemeName(0), "1");
    EXPECT_EQ(skin->getThemeName(1), "2");
    EXPECT_EQ(skin->getThemeName(2), "3");
    for (int theme = 3; theme < 10; ++theme) {
        EXPECT_EQ(skin->getThemeName(theme), "") << theme;
    }
}

TEST(Skin, ColoursAreTheTableInEveryThemeAndBlackElsewhere) {
    auto skin = makeSkin();
    const int expected[8] = {0, 10078619, 14417884, 12117689, 16777215, 0, 255, 16777215};
    for (int theme = 0; theme < 3; ++theme) {
        skin->setTheme(theme);
        for (int element = 0; element < 50; ++element) {
            for (int state = 0; state < 50; ++state) {
                const int want = (element < 8 && state == 1) ? expected[element] : 0;
                ASSERT_EQ(skin->getColour(element, state), want)
                    << "theme " << theme << " element " << element << " state " << state;
            }
        }
    }
}

TEST(Skin, PiecesDifferPerThemeWhateverTheVariant) {
    auto skin = makeSkin();
    const int pieces[3][3] = {
        {bitmap::blankTraditional, bitmap::ring, bitmap::cross},
        {bitmap::blankColors, bitmap::greenSquare, bitmap::orangeSquare},
        {bitmap::blankFish, bitmap::stripedFish, bitmap::spottedFish},
    };
    for (int theme = 0; theme < 3; ++theme) {
        skin->setTheme(theme);
        for (int mark = 0; mark < 3; ++mark) {
            for (int variant : {0, 1, 99}) {
                EXPECT_EQ(skin->getBitmap(element::pieces, mark, variant), pieces[theme][mark])
                    << "theme " << theme << " mark " << mark;
            }
        }
        EXPECT_EQ(skin->getBitmap(element::pieces, 3, 0), 0);
    }
}

TEST(Skin, SharedPicturesAreTheSameInEveryTheme) {
    auto skin = makeSkin();
    struct Entry {
        int element, state, bitmap;
    };
    const Entry entries[] = {
        {4, 0, bitmap::parchmentPage},
        {4, 1, bitmap::parchmentPage},
        {4, 2, bitmap::parchmentPage},
        {4, 3, 0},
        {7, 1, 603},
        {8, 2, bitmap::parchmentNarrow},
        {10, 0, 0},
        {10, 1, 612},
        {10, 2, 0},
        {23, 0, 0},
        {23, 1, bitmap::pinFlat},
        {23, 2, bitmap::pinUpright},
        {24, 1, bitmap::titleStrip},
        {24, 2, bitmap::titleStrip},
        {25, 1, bitmap::question},
        {25, 2, bitmap::questionPressed},
        {26, 1, bitmap::woodButton},
        {26, 2, bitmap::woodButtonPressed},
        {27, 1, 630},
        {28, 1, 631},
        {29, 1, bitmap::letterT},
        {29, 2, bitmap::letterTTicked},
        {30, 0, 0},
        {30, 1, bitmap::plaquePink},
        {30, 2, bitmap::plaqueWood},
        {30, 3, bitmap::plaqueRed},
        {30, 4, bitmap::plaqueOrange},
        {30, 5, bitmap::plaqueBlue},
        {30, 6, 0},
        {31, 0, bitmap::selectionMark},
        {31, 1, bitmap::selectionMark},
        {31, 2, 0},
        {0, 1, 0},
        {49, 49, 0},
    };
    for (int theme = 0; theme < 3; ++theme) {
        skin->setTheme(theme);
        for (const Entry& e : entries) {
            EXPECT_EQ(skin->getBitmap(e.element, e.state, 0), e.bitmap)
                << "theme " << theme << " element " << e.element << " state " << e.state;
        }
    }
}

TEST(Skin, EveryElementButThePiecesAnswersAlikeInAllThemes) {
    auto skin = makeSkin();
    for (int element = 0; element < 50; ++element) {
        if (element == 12) {
            continue;
        }
        for (int state = 0; state < 50; ++state) {
            skin->setTheme(0);
            const int first = skin->getBitmap(element, state, 0);
            for (int theme = 1; theme < 3; ++theme) {
                skin->setTheme(theme);
                ASSERT_EQ(skin->getBitmap(element, state, 0), first)
                    << "element " << element << " state " << state;
            }
        }
    }
}

TEST(Skin, TextsAreEmptyAndSetThemeStoresTheIndex) {
    auto skin = makeSkin();
    EXPECT_EQ(skin->getText(0, 0), "");
    EXPECT_EQ(skin->getText(12, 1), "");
    skin->setTheme(2);
    EXPECT_EQ(skin->getTheme(), 2);
    EXPECT_EQ(skin->getText(49, 49), "");
    skin->setTheme(0);
    EXPECT_EQ(skin->getBitmap(element::pieces, 1, 0), bitmap::ring);
}

}  // namespace
