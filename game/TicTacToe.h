// The game: the rules of noughts and crosses on the board control, and the computer opponent.
#pragma once

#include <cstdint>

#include "game/GameCodes.h"
#include "game/Random.h"
#include "scob/scobGrid.h"

namespace game {
// The computer moves on the tick that finds its thinking count above this.
constexpr std::int32_t thinkTicks = 20;
}  // namespace game

// The game: a 3 x 3 board control with the rules of noughts and crosses and the computer
// opponent. Its `state` is the game state of game/GameCodes.h.
class TicTacToe : public scobGrid {
  public:
    static constexpr int maxSize = 9;

    TicTacToe();

    // Starts a game in the first mover's turn with the given computer strength.
    void newGame(int newLevel);
    // Takes effect at the computer's next move.
    void setLevel(int newLevel) { level = newLevel; }
    int getLevel() const { return level; }
    // 1 the player begins, 2 the computer; takes effect at the next new game.
    void setFirstMover(int mover) { firstMover = mover; }
    int getFirstMover() const { return firstMover; }
    // True from the start of a game until either side has moved.
    bool isFresh() const { return fresh; }

    int cellValue(int column, int row) override;
    // The player's move into the cursor's cell: only a press (-1) in the player's turn.
    void cellAction(int code) override;
    // Turns the state into a win when a line is complete, or a tie when a turn finds the
    // board full. Idempotent.
    void checkOutcome();
    void clearBoard();

    // One timer tick: counts the thinking pause and moves when it is over.
    void tick();
    // Timer ticks spent so far in the computer's turn. A new game does not reset the count, so
    // a game restarted during the pause keeps the partial count.
    std::int32_t getThinkCount() const { return thinkCounter; }
    void computerMove();

    // The opponent's strategies; each places at most one computer mark and says whether it did.
    bool completeLine(int mark);
    bool extendLine();
    bool centreAfterCorner();
    bool randomCorner();
    bool randomCell();

  protected:
    // Writes a mark into the board and into the cell the grid draws.
    void placeMark(int column, int row, int mark);
    // Every decision starts from the calendar clock in whole seconds, so no random state
    // carries over from one move to the next.
    void seedFromClock();

    std::int32_t board[maxSize][maxSize] = {};
    std::int32_t size = 3;
    std::int32_t firstMover = game::PlayerTurn;
    std::int32_t level = game::Smart;
    bool fresh = true;
    std::int32_t thinkCounter = 0;
    game::Random random;
};
