// The keys the program acts on, by the Windows virtual-key codes every front end delivers.
#pragma once

namespace key {
constexpr int left = 37;
constexpr int up = 38;
constexpr int right = 39;
constexpr int down = 40;
constexpr int newGame = 78;  // N
}  // namespace key
