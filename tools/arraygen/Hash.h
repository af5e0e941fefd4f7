#pragma once
// Random draws of the array generator. Every draw is a hash of what it is
// for, so no value depends on the order in which samples or cells are made
// (the generator makes samples on several threads) and the standard
// library's distributions, which differ between libraries, are not involved.
#include <cstdint>
#include <string_view>

namespace arraygen {

// splitmix64's finaliser.
[[nodiscard]] constexpr std::uint64_t Scramble(std::uint64_t z) {
  z += 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

[[nodiscard]] constexpr std::uint64_t Key(std::uint64_t seed, std::uint64_t a, std::uint64_t b, std::uint64_t purpose) {
  return Scramble(Scramble(Scramble(seed ^ 0xA5A5A5A5ULL) + a) + b) ^ Scramble(purpose);
}

// Uniform in [0, 1).
[[nodiscard]] constexpr double Unit(std::uint64_t key) {
  return static_cast<double>(Scramble(key) >> 11) * 0x1.0p-53;
}

// A stable number for a name (FNV-1a).
[[nodiscard]] constexpr std::uint64_t NameKey(std::string_view name) {
  std::uint64_t h = 0xCBF29CE484222325ULL;
  for (char c : name) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001B3ULL;
  }
  return h;
}

}  // namespace arraygen
