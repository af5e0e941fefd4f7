#include "analysis/SfmtRandom.h"

namespace {

// The published parameters of SFMT-19937.
constexpr int kBlocks = 156;
constexpr int kPos1 = 122;
constexpr int kSl1 = 18;      // bits, each 32-bit lane
constexpr int kSl2Bits = 8;   // one byte, the whole 128-bit block
constexpr int kSr1 = 11;      // bits, each 32-bit lane
constexpr int kSr2Bits = 8;   // one byte, the whole 128-bit block
constexpr std::uint32_t kMask[4] = {0xdfffffefU, 0xddfecb7fU, 0xbffaffffU, 0xbffffff6U};
constexpr std::uint32_t kParity[4] = {0x00000001U, 0x00000000U, 0x00000000U, 0x13c9e684U};

// Blocks whose partner block (i + POS1) has not been replaced yet.
constexpr int kOldPartnerBlocks = kBlocks - kPos1;

// One 128-bit block as four 32-bit lanes, lane 0 the least significant.
struct Lanes {
  std::uint32_t w[4];
};

Lanes LoadLanes(const std::uint32_t* state, int block) {
  const std::uint32_t* p = state + 4 * block;
  return {{p[0], p[1], p[2], p[3]}};
}

Lanes ShiftBlockLeft(const Lanes& a) {
  return {{a.w[0] << kSl2Bits, (a.w[1] << kSl2Bits) | (a.w[0] >> (32 - kSl2Bits)),
           (a.w[2] << kSl2Bits) | (a.w[1] >> (32 - kSl2Bits)), (a.w[3] << kSl2Bits) | (a.w[2] >> (32 - kSl2Bits))}};
}

Lanes ShiftBlockRight(const Lanes& a) {
  return {{(a.w[0] >> kSr2Bits) | (a.w[1] << (32 - kSr2Bits)), (a.w[1] >> kSr2Bits) | (a.w[2] << (32 - kSr2Bits)),
           (a.w[2] >> kSr2Bits) | (a.w[3] << (32 - kSr2Bits)), a.w[3] >> kSr2Bits}};
}

Lanes Recursion(const Lanes& a, const Lanes& b, const Lanes& c, const Lanes& d) {
  const Lanes x = ShiftBlockLeft(a);
  const Lanes y = ShiftBlockRight(c);
  Lanes r;
  for (int k = 0; k < 4; ++k) {
    r.w[k] = a.w[k] ^ x.w[k] ^ ((b.w[k] >> kSr1) & kMask[k]) ^ y.w[k] ^ (d.w[k] << kSl1);
  }
  return r;
}

// The same block as two 64-bit halves: the fast path does each lane
// operation on two lanes at once, masking off the bits that a shift carries
// from one lane into its neighbour.
struct Halves {
  std::uint64_t lo, hi;
};

constexpr std::uint64_t Pair(std::uint32_t low, std::uint32_t high) {
  return static_cast<std::uint64_t>(high) << 32 | low;
}
constexpr std::uint64_t kLaneRightMask = Pair(0xffffffffU >> kSr1, 0xffffffffU >> kSr1);
constexpr std::uint64_t kLaneLeftMask = Pair(0xffffffffU << kSl1, 0xffffffffU << kSl1);
constexpr std::uint64_t kMaskLo = Pair(kMask[0], kMask[1]) & kLaneRightMask;
constexpr std::uint64_t kMaskHi = Pair(kMask[2], kMask[3]) & kLaneRightMask;

Halves LoadHalves(const std::uint32_t* state, int block) {
  const std::uint32_t* p = state + 4 * block;
  return {Pair(p[0], p[1]), Pair(p[2], p[3])};
}

void StoreHalves(std::uint32_t* state, int block, const Halves& h) {
  std::uint32_t* p = state + 4 * block;
  p[0] = static_cast<std::uint32_t>(h.lo);
  p[1] = static_cast<std::uint32_t>(h.lo >> 32);
  p[2] = static_cast<std::uint32_t>(h.hi);
  p[3] = static_cast<std::uint32_t>(h.hi >> 32);
}

Halves Recursion(const Halves& a, const Halves& b, const Halves& c, const Halves& d) {
  const std::uint64_t xlo = a.lo << kSl2Bits;
  const std::uint64_t xhi = (a.hi << kSl2Bits) | (a.lo >> (64 - kSl2Bits));
  const std::uint64_t ylo = (c.lo >> kSr2Bits) | (c.hi << (64 - kSr2Bits));
  const std::uint64_t yhi = c.hi >> kSr2Bits;
  return {a.lo ^ xlo ^ ((b.lo >> kSr1) & kMaskLo) ^ ylo ^ ((d.lo << kSl1) & kLaneLeftMask),
          a.hi ^ xhi ^ ((b.hi >> kSr1) & kMaskHi) ^ yhi ^ ((d.hi << kSl1) & kLaneLeftMask)};
}

}  // namespace

SfmtRandom::SfmtRandom() { Seed(1); }

void SfmtRandom::Seed(std::uint32_t seed) {
  state_[0] = seed;
  for (int i = 1; i < kStateWords; ++i) {
    const std::uint32_t previous = state_[i - 1];
    state_[i] = 1812433253U * (previous ^ (previous >> 30)) + static_cast<std::uint32_t>(i);
  }
  CertifyPeriod();
}

void SfmtRandom::CertifyPeriod() {
  index_ = kStateWords;
  cachedBound_ = 0;
  std::uint32_t inner = 0;
  for (int k = 0; k < 4; ++k) inner ^= state_[k] & kParity[k];
  for (int shift = 16; shift > 0; shift >>= 1) inner ^= inner >> shift;
  if ((inner & 1) == 1) return;
  for (int k = 0; k < 4; ++k) {
    for (std::uint32_t bit = 1; bit != 0; bit <<= 1) {
      if ((bit & kParity[k]) != 0) {
        state_[k] ^= bit;
        return;
      }
    }
  }
}

void SfmtRandom::Regenerate() {
  if (useFastPath_) {
    RegenerateFast();
  } else {
    RegeneratePlain();
  }
}

void SfmtRandom::RegeneratePlain() {
  std::uint32_t* s = state_.data();
  Lanes r1 = LoadLanes(s, kBlocks - 2);
  Lanes r2 = LoadLanes(s, kBlocks - 1);
  for (int i = 0; i < kBlocks; ++i) {
    const Lanes r = Recursion(LoadLanes(s, i), LoadLanes(s, (i + kPos1) % kBlocks), r1, r2);
    for (int k = 0; k < 4; ++k) s[4 * i + k] = r.w[k];
    r1 = r2;
    r2 = r;
  }
}

void SfmtRandom::RegenerateFast() {
  std::uint32_t* s = state_.data();
  Halves r1 = LoadHalves(s, kBlocks - 2);
  Halves r2 = LoadHalves(s, kBlocks - 1);
  int i = 0;
  for (; i < kOldPartnerBlocks; ++i) {
    const Halves r = Recursion(LoadHalves(s, i), LoadHalves(s, i + kPos1), r1, r2);
    StoreHalves(s, i, r);
    r1 = r2;
    r2 = r;
  }
  for (; i < kBlocks; ++i) {
    const Halves r = Recursion(LoadHalves(s, i), LoadHalves(s, i - kOldPartnerBlocks), r1, r2);
    StoreHalves(s, i, r);
    r1 = r2;
    r2 = r;
  }
}

std::uint32_t SfmtRandom::Next() {
  if (index_ >= kStateWords) {
    Regenerate();
    index_ = 0;
  }
  return state_[static_cast<std::size_t>(index_++)];
}

std::uint32_t SfmtRandom::Below(std::int32_t n) {
  if (n < 1) return 0;
  const auto bound = static_cast<std::uint32_t>(n);
  if (n != cachedBound_) {
    cachedBound_ = n;
    scaledBound_ = bound;
    shift_ = 0;
    while (scaledBound_ <= (1U << 30)) {
      scaledBound_ <<= 1;
      ++shift_;
    }
  }
  for (;;) {
    const std::uint32_t r = Next() >> 1;
    if (r < scaledBound_) return r >> shift_;
    // The excess above the scaled bound is itself uniform; spend it on smaller
    // multiples of n before drawing again.
    std::uint32_t span = scaledBound_;
    int k = shift_;
    std::uint32_t rest = (1U << 31) - scaledBound_;
    std::uint32_t x = r - scaledBound_;
    while (rest >= bound) {
      while (span > rest) {
        span >>= 1;
        --k;
      }
      if (x < span) return x >> k;
      rest -= span;
      x -= span;
    }
  }
}

SfmtRandom& TheRandom() {
  static SfmtRandom generator;
  return generator;
}
