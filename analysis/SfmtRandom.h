#pragma once
// The program's pseudo-random generator: SFMT-19937, the SIMD-oriented Fast
// Mersenne Twister of period 2^19937 - 1, with a uniform draw below a bound
// that wastes few outputs. Its sequence for a seed is the published
// reference's (init_gen_rand and the 32-bit output), so a permutation test
// draws the same permutations on every machine.
//
// There is one instance, TheRandom(), seeded with 1 before the program's own
// start-up; only the user-interface thread uses it (it has no lock).
#include <array>
#include <cstdint>

class SfmtRandom {
 public:
  static constexpr int kStateWords = 624;  // 156 blocks of 128 bits

  // Seeded with 1.
  SfmtRandom();

  // The published initialisation from one 32-bit seed, then CertifyPeriod.
  void Seed(std::uint32_t seed);
  // Restarts the output at the next regeneration, forgets the cached bound and
  // repairs the state so that its period is 2^19937 - 1.
  void CertifyPeriod();
  // Replaces the 624 state words by the next 624 outputs, on the path that
  // UseFastPath chooses.
  void Regenerate();
  // The two regenerations; both leave the same state.
  void RegeneratePlain();
  void RegenerateFast();

  // The next 32-bit output.
  std::uint32_t Next();
  // A uniform integer in [0, n); 0 without a draw when n < 1. One call may take
  // several outputs, each whole.
  std::uint32_t Below(std::int32_t n);

  // The fast regeneration is the default; tests and benchmarks switch it off
  // to compare it with the plain one.
  void UseFastPath(bool fast) { useFastPath_ = fast; }
  [[nodiscard]] bool UsesFastPath() const { return useFastPath_; }

  [[nodiscard]] int Index() const { return index_; }
  [[nodiscard]] std::int32_t CachedBound() const { return cachedBound_; }
  [[nodiscard]] std::uint32_t ScaledBound() const { return scaledBound_; }
  [[nodiscard]] int Shift() const { return shift_; }
  [[nodiscard]] const std::array<std::uint32_t, kStateWords>& State() const { return state_; }

 private:
  int index_ = kStateWords;
  bool useFastPath_ = true;
  std::int32_t cachedBound_ = 0;
  std::uint32_t scaledBound_ = 0;
  int shift_ = 0;
  alignas(16) std::array<std::uint32_t, kStateWords> state_{};
};

// The one generator of the program.
[[nodiscard]] SfmtRandom& TheRandom();
