#pragma once

#include <cstdint>

namespace game {

// The opponent's random numbers: a 32-bit linear congruential generator whose draws lie in
// 0..32767. The opponent reseeds it from the calendar clock at every decision it makes, so
// no random state carries over from one move to the next.
class Random {
  public:
    static constexpr int maxDraw = 0x7FFF;

    void seed(std::uint32_t value) { state = value; }
    int draw() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }

  private:
    std::uint32_t state = 0;
};

// The program's one generator.
Random& randomGenerator();

// The seed the opponent uses: the calendar clock in whole seconds, truncated to 32 bits.
std::uint32_t clockSeed();

// Seeds the program's generator from the clock.
void seedFromClock();

}  // namespace game
