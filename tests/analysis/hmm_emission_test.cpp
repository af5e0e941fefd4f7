#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/CopyNumberEmission.h"
#include "core/SampleHeader.h"

using qova::analysis::CopyNumberEmission;

namespace {

CopyNumberEmission TotalModel(float sigma, bool normal) {
  auto model = CopyNumberEmission::Make(kHmmStateCount, kDefaultHmmMeans.data(), kDefaultHmmSdFactors.data(), sigma,
                                        normal);
  EXPECT_TRUE(model.has_value());
  return *model;
}

// The log-F(3, 9) density written out directly, for moderate arguments.
double DirectLogF(double x, double mean, double spread) {
  const double k = 1.7f * std::sqrt(0.2959f / static_cast<float>(spread));
  const double xc = std::clamp(x, -4.0, 4.0);
  const double u = k * (xc - mean);
  return k * 2381277.0 * std::exp(3 * u) / std::pow(3 * std::exp(2 * u) + 9, 6);
}

}  // namespace

TEST(CopyNumberEmission, NormalDensityMatchesTheClampedGaussian) {
  const float sigma = 0.25f;
  const CopyNumberEmission model = TotalModel(sigma, true);
  for (int s = 0; s < kHmmStateCount; ++s) {
    const double spread = kDefaultHmmSdFactors[s] * sigma;
    const double mean = kDefaultHmmMeans[s];
    for (double x : {-1.5, -0.3, 0.0, 0.2, 0.7, 2.6}) {
      const double z = std::clamp((x - mean) / spread, -3.0, 3.0);
      const double expected = 0.39894228 / spread * std::exp(-0.5 * z * z);
      EXPECT_NEAR(model.Density(x, s), expected, expected * 1e-5) << "state " << s << " x " << x;
    }
  }
}

TEST(CopyNumberEmission, LogFDensityMatchesItsFormula) {
  const float sigma = 0.3f;
  const CopyNumberEmission model = TotalModel(sigma, false);
  for (int s = 0; s < kHmmStateCount; ++s) {
    for (double x : {-1.0, -0.2, 0.0, 0.35, 1.0, 3.9, 7.0}) {
      const double expected = DirectLogF(x, kDefaultHmmMeans[s], kDefaultHmmSdFactors[s] * sigma);
      EXPECT_NEAR(model.Density(x, s), expected, std::max(expected * 1e-5, 1e-30)) << "state " << s << " x " << x;
    }
  }
}

TEST(CopyNumberEmission, UnusableSpreadsAndMeansAreRefusedWithAReason) {
  const float nan = std::nanf("");
  struct Case {
    float sigma;
    float factor;
    float mean;
  } cases[] = {
      {0.0f, 1.0f, 0.0f},     {nan, 1.0f, 0.0f},  {-0.2f, 1.0f, 0.0f},        {INFINITY, 1.0f, 0.0f},
      {0.2f, 0.0f, 0.0f},     {0.2f, -1.0f, 0.0f}, {0.2f, nan, 0.0f},         {0.2f, 1.0f, nan},
      {0.2f, 1.0f, INFINITY}, {1e-44f, 1e-5f, 0.0f},
  };
  for (bool normal : {true, false}) {
    for (const Case& c : cases) {
      const float means[1] = {c.mean};
      const float factors[1] = {c.factor};
      std::string why;
      EXPECT_FALSE(CopyNumberEmission::Make(1, means, factors, c.sigma, normal, &why).has_value())
          << c.sigma << " " << c.factor << " " << c.mean;
      EXPECT_FALSE(why.empty());
    }
  }
}

TEST(CopyNumberEmission, NaNObservationFavoursNoState) {
  for (bool normal : {true, false}) {
    const CopyNumberEmission model = TotalModel(0.2f, normal);
    double costs[kHmmStateCount];
    model.Costs(std::nan(""), costs);
    for (double c : costs) EXPECT_EQ(c, 0.0);
  }
}
