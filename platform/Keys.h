// The keys the program acts on, by the Windows virtual-key codes every front end delivers.
#pragma once

namespace key {
constexpr int tab = 9;     // the keyboard focus to the next item (with Shift, the one before)
constexpr int enter = 13;  // presses the item with the keyboard focus, as Space does
constexpr int space = 32;
constexpr int left = 37;
constexpr int up = 38;
constexpr int right = 39;
constexpr int down = 40;
constexpr int newGame = 78;  // N
}  // namespace key
