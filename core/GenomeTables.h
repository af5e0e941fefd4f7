#pragma once
// The human genome as the views lay it out: where each chromosome starts on
// one axis through the whole genome, and where its centromere lies. Every
// view, the graph and the exports that place positions genome-wide use these.
// Chromosomes are numbered 1..22, 23 = X; Y is not shown.

// Entry c (1..23) is the start of chromosome c in units of 10 bases, counted
// from the start of chromosome 1; entry 24 is the end of X; entry 0 is 0. The
// length of chromosome c in 10-base units is entry c+1 - entry c. The lengths
// are those of genome build 17 (hg17) rounded to 10 kb, so a chromosome can be
// a few kilobases shorter here than in the assembly (chromosome 1 is
// 245,520,000 bases here, 245,522,847 in hg17).
inline constexpr int ChromosomeStartTable[25] = {
    0, 0, 24552000, 48854000, 68805000, 87946000, 106032000, 123129000, 138992000,
    153619000, 167462000, 181004000, 194449000, 207694000, 219108000, 229745000, 239779000, 248662000,
    256539000, 264151000, 270532000, 276776000, 281470000, 286426000, 301908000,
};

// The same starts in kilobases: entry c is ChromosomeStartTable[c] / 100.
inline constexpr int ChromosomeStartTableKb[25] = {
    0, 0, 245520, 488540, 688050, 879460, 1060320, 1231290, 1389920, 1536190,
    1674620, 1810040, 1944490, 2076940, 2191080, 2297450, 2397790, 2486620, 2565390, 2641510,
    2705320, 2767760, 2814700, 2864260, 3019080,
};

// Entry c - 1 is the centromere of chromosome c, in kilobases from the
// chromosome's start.
inline constexpr int CentromerePositionsKb[23] = {
    124200, 93400, 91700, 50900, 47700, 60500, 58900, 45200, 50600, 40300, 52900, 35400,
    16000,  15600, 17000, 38200, 22200, 16100, 28500, 27100, 12300, 11800, 59400,
};

namespace qova::core::genome {

// Length of chromosome c (1..23) in bases on the genome axis.
[[nodiscard]] constexpr long long ChromosomeLength(int chromosome) {
  return 10LL * (ChromosomeStartTable[chromosome + 1] - ChromosomeStartTable[chromosome]);
}

namespace detail {
constexpr bool KbTableAgrees() {
  for (int c = 0; c < 25; ++c) {
    if (ChromosomeStartTableKb[c] != ChromosomeStartTable[c] / 100) return false;
  }
  return true;
}
}  // namespace detail
static_assert(detail::KbTableAgrees(), "the kilobase starts must follow the 10-base starts");

}  // namespace qova::core::genome
