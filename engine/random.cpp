#include "engine/random.h"

#include <ctime>

namespace {

// A linear congruential generator with fixed constants, so that a seed gives
// the same sequence on every platform and in every build.
std::uint32_t randomState = 1;

}  // namespace

void SeedRandom(std::uint32_t seed) { randomState = seed; }

void SeedRandomFromTimeOfDay() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (const std::tm* t = std::localtime(&now)) local = *t;
    SeedRandom(static_cast<std::uint32_t>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec));
}

int NextRandom() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFF);
}
