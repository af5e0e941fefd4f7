// The settings record through the real settings file: repeated saves by new
// runs, and failures that are reported.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ProgramSetting.h"
#include "platform/File.h"
#include "platform/Profile.h"
#include "tests/support/TempHome.h"

namespace {

// Values no default has, negative floats among them, and floats that a
// truncating write would let drift.
void SetUnusualValues(CProgramSetting& s) {
  s.THRESHOLD = -0.031f;
  s.THRESHOLDS = -0.12f;
  s.ALPHAL = -0.9f;
  s.KOSAMBI = 0.9f;
  s.SAMPLE_CALLRATE = 0.9f;
  s.SNP_MAF = 0.07f;
  s.SNP_CALLRATE_DIF = -0.2f;
  s.MAXREF = 37;
  s.LIMITREFSTR = "tumour=1";
  s.DefaultDataFolder = "c:\\arrays\\";
  s.Display.COLOR.C5 = 0xFFFFFFFFu;
  s.Display.COLORM.thLOH2 = -5;
}

class SettingFile : public qova::test::TempHomeTest {
 protected:
  std::string SettingsFile() const { return platform::DefaultSettingsPath(); }
  std::string FileBytes() const {
    std::string bytes;
    EXPECT_TRUE(platform::ReadWholeFile(SettingsFile(), bytes));
    return bytes;
  }
};

TEST_F(SettingFile, TenSaveLoadCyclesChangeNothing) {
  {
    platform::Profile profile;
    profile.UseSettingsFile();
    CProgramSetting s;
    s.LoadFromProfile(profile);
    SetUnusualValues(s);
    ASSERT_TRUE(s.SaveToProfile(profile));
  }
  const std::string first = FileBytes();
  ASSERT_FALSE(first.empty());

  for (int cycle = 0; cycle < 10; ++cycle) {
    platform::Profile profile;  // as a new run would
    profile.UseSettingsFile();
    CProgramSetting s;
    s.LoadFromProfile(profile);
    ASSERT_TRUE(s.SaveToProfile(profile));
    ASSERT_EQ(FileBytes(), first) << "after cycle " << cycle + 1;
  }

  platform::Profile profile;
  profile.UseSettingsFile();
  CProgramSetting back;
  back.LoadFromProfile(profile);
  CProgramSetting expected;
  SetUnusualValues(expected);
  EXPECT_EQ(back.THRESHOLD, expected.THRESHOLD);
  EXPECT_EQ(back.ALPHAL, expected.ALPHAL);
  EXPECT_EQ(back.SAMPLE_CALLRATE, expected.SAMPLE_CALLRATE);
  EXPECT_EQ(back.SNP_MAF, expected.SNP_MAF);
  EXPECT_EQ(back.LIMITREFSTR, expected.LIMITREFSTR);
  EXPECT_EQ(back.Display.COLOR.C5, expected.Display.COLOR.C5);
  EXPECT_EQ(back.Display.COLORM.thLOH2, -5);
}

TEST_F(SettingFile, SaveRewritesTheFileOnce) {
  static int replacements = 0;
  replacements = 0;
  platform::SetAtomicStageHook([](platform::AtomicStage stage, const std::string&) {
    if (stage == platform::AtomicStage::AfterRename) ++replacements;
  });
  platform::Profile profile;
  profile.UseSettingsFile();
  CProgramSetting s;
  const bool saved = s.SaveToProfile(profile);
  platform::SetAtomicStageHook(nullptr);
  ASSERT_TRUE(saved);
  EXPECT_EQ(replacements, 1);
}

TEST_F(SettingFile, FailedSaveIsReported) {
  // The settings folder's name is taken by a file, so nothing can be written.
  ASSERT_TRUE(platform::WriteWholeFile(Path("qova"), "not a folder"));
  platform::Profile profile;
  profile.UseSettingsFile();
  CProgramSetting s;
  EXPECT_FALSE(s.SaveToProfile(profile));
}

}  // namespace
