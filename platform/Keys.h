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
// The zoom's keys, acted on only with Ctrl held: the key of + and = (VK_OEM_PLUS), the one of
// - (VK_OEM_MINUS), the digit 0, and the keypad's plus, minus and 0.
constexpr int plus = 0xBB;
constexpr int minus = 0xBD;
constexpr int digit0 = 0x30;
constexpr int padPlus = 0x6B;
constexpr int padMinus = 0x6D;
constexpr int pad0 = 0x60;
}  // namespace key
