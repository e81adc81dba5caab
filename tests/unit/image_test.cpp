#include <gtest/gtest.h>

#include <memory>

#include "scob/scobImage.h"
#include "scob/skinInstance.h"
#include "tests/support/RecordingSurface.h"

namespace {

TEST(Image, StartsVisibleAndTakesNoPointerInput) {
    scobImage image;
    EXPECT_TRUE(image.isVisible());
    EXPECT_FALSE(image.isEnabled());
    EXPECT_EQ(image.getState(), 1);
}

TEST(Image, OnlyTheNoPictureIdGetsARectangleAndPaintingClearsDirty) {
    auto skin = std::make_unique<skinInstance>();
    scobImage image;
    image.init(0, 0, 361, 384, skin.get(), 2, 1);
    EXPECT_EQ(image.getWidth(), 384);
    EXPECT_EQ(image.getHeight(), 361);

    image.setElement(-1, 0);
    RecordingSurface surface;
    image.draw(surface);
    ASSERT_EQ(surface.calls.size(), 1u) << surface.describe();
    EXPECT_EQ(surface.calls[0].describe(), "rect 0,0-384,361 fill 0 outline 14417884 pen 1");
    EXPECT_FALSE(image.isDirty());

    image.setElement(element::background, 0);
    image.setDirty(true);
    surface.clear();
    image.draw(surface);
    ASSERT_EQ(surface.calls.size(), 1u) << surface.describe();
    EXPECT_EQ(surface.calls[0].describe(), "bitmap 101 at 0,0 384x361");
    EXPECT_FALSE(image.isDirty());

    image.setElement(-26, 0);
    surface.clear();
    image.draw(surface);
    EXPECT_TRUE(surface.calls.empty()) << surface.describe();
}

TEST(Image, HiddenImageDrawsNothingAndStaysDirty) {
    auto skin = std::make_unique<skinInstance>();
    scobImage image;
    image.init(0, 0, 10, 10, skin.get(), 2, 1);
    image.setVisible(false);
    RecordingSurface surface;
    image.paint(surface);
    EXPECT_TRUE(surface.calls.empty());
    EXPECT_TRUE(image.isDirty());
}

}  // namespace
