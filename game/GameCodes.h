// The game's codes: cell marks, game states, computer levels, and when a game is over.
#pragma once

#include <cstdint>

// The plain integer codes the game, the board control and the screens share.
namespace game {

// Cell marks; also the state under which the board looks up a cell's picture.
constexpr std::int32_t Empty = 0;
constexpr std::int32_t PlayerMark = 1;
constexpr std::int32_t ComputerMark = 2;

// Game states, kept in the board control's state. Above 2 the game is over, and a won state
// is the winner's mark plus 2. The status display shows one text per value.
constexpr std::int32_t NoGame = 0;
constexpr std::int32_t PlayerTurn = 1;
constexpr std::int32_t ComputerTurn = 2;
constexpr std::int32_t PlayerWon = 3;
constexpr std::int32_t ComputerWon = 4;
constexpr std::int32_t Tied = 5;

// Computer strengths: the row of the "Computer IQ" list and the saved value.
constexpr std::int32_t Smart = 0;
constexpr std::int32_t Average = 1;
constexpr std::int32_t Moronic = 2;

// True once a game has ended (won or tied).
constexpr bool isOver(std::int32_t state) {
    return state > ComputerTurn;
}

}  // namespace game
