// The opponent's random numbers: the generator its decisions draw from.
#pragma once

#include <cstdint>

namespace game {

// The opponent's random numbers: a 32-bit linear congruential generator whose draws lie in
// 0..32767.
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

}  // namespace game
