// Case/control studies for the association test: the genotypes follow the
// frequencies asked for, and the command line writes and names the files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "tests/arraygen/ArrayGenTestSupport.h"
#include "tests/support/TempHome.h"
#include "tools/arraygen/CaseControlStudy.h"

namespace qova::test {
namespace {

TEST(CaseControlCallsTest, FrequenciesNoCallsAndThePlantedDifferenceAreThoseAskedFor) {
  arraygen::CaseControlSpec spec;
  spec.Cases = 300;
  spec.Controls = 300;
  spec.AssociatedSnps = 40;
  spec.NoCallShare = 0.02;
  const arraygen::CaseControlCalls study = arraygen::MakeCaseControlCalls(spec);
  EXPECT_EQ(arraygen::MakeCaseControlCalls(spec).Calls, study.Calls);
  ASSERT_EQ(study.Associated.size(), 40u);
  // B-allele frequencies per group, and the share of no calls.
  double noCalls = 0, called = 0, lowest = 1, highest = 0, raised = 0;
  for (std::size_t i = 0; i < 10032; ++i) {
    double b[2] = {0, 0}, n[2] = {0, 0};
    for (std::size_t s = 0; s < 600; ++s) {
      const int code = study.Calls[s][i];
      if (code == 0) {
        ++noCalls;
        continue;
      }
      ++called;
      b[s < 300] += code - 1;
      n[s < 300] += 2;
    }
    const bool planted = std::binary_search(study.Associated.begin(), study.Associated.end(), static_cast<int>(i));
    const double control = b[0] / n[0];
    lowest = std::min(lowest, control);
    highest = std::max(highest, control);
    if (planted) raised += b[1] / n[1] - control;
  }
  EXPECT_NEAR(noCalls / (noCalls + called), 0.02, 0.002);
  EXPECT_GT(lowest, 0.03);
  EXPECT_LT(highest, 0.6);
  EXPECT_NEAR(raised / 40, 0.3, 0.03);
}

TEST(CaseControlStudyTest, CommandLineWritesTheFilesAndPrintsTheAssociatedSnps) {
  TempHome home;
  const std::string output = home.Path("out.txt");
  const std::string command = std::string(QOVA_ARRAYGEN) + " --data " + home.Path("data") + " --library " +
                              home.Path("library") + " --type Mapping10K_Xba131 --chp generic" +
                              " --case-control 3:2:4:0.2:0.05 > " + output;
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string printed = FileBytes(output);
  EXPECT_EQ(printed.find("library\tMapping10K_Xba131.CDF\ncase\tCase001.CHP\ncase\tCase002.CHP\ncase\tCase003.CHP\n"
                         "control\tControl001.CHP\ncontrol\tControl002.CHP\nassociated\t"),
            0u)
      << printed;
  std::size_t associated = 0;
  for (std::size_t at = 0; (at = printed.find("\nassociated\t", at + 1)) != std::string::npos;) ++associated;
  EXPECT_EQ(associated, 4u);
  EXPECT_TRUE(platform::FileExists(home.Path("library/Mapping10K_Xba131.CDF")));
  EXPECT_TRUE(platform::FileExists(home.Path("data/Control002.CHP")));

  for (const char* bad : {"3", "3:2:4:1.5", "3:x"}) {
    const std::string refused = std::string(QOVA_ARRAYGEN) + " --data x --library y --case-control " + bad + " 2> " +
                                home.Path("err.txt");
    EXPECT_NE(std::system(refused.c_str()), 0) << bad;
  }
}

}  // namespace
}  // namespace qova::test
