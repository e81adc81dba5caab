// The image control.

#include <gtest/gtest.h>

#include <memory>

#include "scob/scobImage.h"
#include "scob/skinInstance.h"
#include "tests/support/RecordingSurface.h"

namespace {

TEST(Image, OnlyTheNoPictureIdGetsARectangleAndPaintingClearsDirty) {
    auto skin = std::make_unique<skinInstance>();
    scobImage image;
    EXPECT_FALSE(image.isEnabled());
    image.init(0, 0, 361, 384, skin.get(), 2, 1);

    image.setElement(-1, 0);
    RecordingSurface surface;
    image.draw(surface);
    image.setElement(element::background, 0);
    image.draw(surface);
    image.setElement(-26, 0);
    image.draw(surface);
    EXPECT_EQ(surface.describe(),
              "rect 0,0-384,361 fill 0 outline 14417884 pen 1\n"
              "bitmap 101 at 0,0 384x361\n");
    EXPECT_FALSE(image.isDirty());

    // A hidden image neither draws nor gives up its redraw request.
    image.setVisible(false);
    image.paint(surface);
    EXPECT_TRUE(image.isDirty());
    EXPECT_EQ(surface.calls.size(), 2u);
}

}  // namespace
