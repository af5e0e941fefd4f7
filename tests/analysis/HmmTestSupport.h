#pragma once
// Hand-built samples for the HMM and segment tests: a Mapping10K_Xba131
// analysed sample whose ratios, calls and validity a test sets SNP by SNP, over
// an annotation whose SNPs lie evenly spaced on each chromosome, so that every
// transition of the models is known.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "tests/analysis/AnalysisTestSupport.h"

namespace qova::test {

class HandBuiltTest : public AnalysisTest {
 protected:
  // Base pairs between neighbouring SNPs of the hand-built annotation.
  static constexpr std::int32_t kSpacing = 10000;

  void SetUp() override {
    basic_ = Annotation(0);
    SpaceEvenly(kSpacing);
    sample_ = CArrayData("S", kSmallType, global_.TypeInfo(kSmallTypeIndex), CTime(0));
    analyzed_ = AnalyzedFor(sample_, false);
    std::fill(analyzed_.CallReference.begin(), analyzed_.CallReference.end(), kCallAB);
  }

  // Every chromosome's SNPs `spacing` bp apart, from 1 Mb.
  void SpaceEvenly(std::int32_t spacing) {
    for (int c = 1; c <= 23; ++c) {
      for (std::int32_t i = Start(c); i < Start(c + 1); ++i) {
        basic_.Position[basic_.IndexMap[i]] = 1'000'000 + spacing * (i - Start(c));
      }
    }
  }

  static std::int32_t Start(int chromosome) { return qova::core::kArrayChromosomeStarts[kSmallTypeIndex][chromosome]; }

  // Sets a per-SNP array over first..last (inclusive).
  template <class T, class V>
  static void Fill(std::vector<T>& array, std::int32_t first, std::int32_t last, V value) {
    std::fill(array.begin() + first, array.begin() + last + 1, static_cast<T>(value));
  }

  CBasicData basic_;
  CArrayData sample_;
  CAnalyzedData analyzed_;
};

}  // namespace qova::test
