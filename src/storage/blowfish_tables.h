#pragma once
// Blowfish's fixed starting tables, from which every key schedule begins.

#include <array>
#include <cstddef>
#include <cstdint>

namespace orv {

inline constexpr size_t kBlowfishRounds = 16;

extern const std::array<uint32_t, kBlowfishRounds + 2> kBlowfishInitialP;
extern const std::array<std::array<uint32_t, 256>, 4> kBlowfishInitialS;

}  // namespace orv
