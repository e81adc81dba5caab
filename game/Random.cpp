#include "game/Random.h"

#include "platform/WindowServices.h"

namespace game {

Random& randomGenerator() {
    static Random generator;
    return generator;
}

std::uint32_t clockSeed() {
    return static_cast<std::uint32_t>(windowServices().clockSeconds());
}

void seedFromClock() {
    randomGenerator().seed(clockSeed());
}

}  // namespace game
