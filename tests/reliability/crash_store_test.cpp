// Stores that die half-way: a child process stores a .CFH, a .CFN or the
// settings file and is killed at each point of the atomic replace, or at a
// random moment of a run of stores. Afterwards the file holds one whole
// generation (the old one unless the rename was done), loads, and the
// temporary file the crash left is listed by no search and no sample list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "core/SampleFileList.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "tests/reliability/HostileFiles.h"
#include "tests/reliability/SampleCorpus.h"
#include "tests/support/TempHome.h"

namespace {

using namespace qova::reliability;
using ::testing::ElementsAre;
using platform::AtomicStage;

// Exit codes of a child that was not killed where it should have been.
constexpr int kChildNotKilled = 3;
constexpr int kChildStoreFailed = 4;

// One kind of file the program rewrites. A generation number goes into two
// places of the contents, so a file mixed from two stores shows.
struct Target {
  const char* name;
  std::string folder;
  std::string fileName;
  const char* pattern;  // the search that lists such files
  int listKind;         // the sample list that shows them, or 0
  std::function<void(int generation)> store;
  // The generation of the file on disk, or -1 when it does not load whole
  // or its two marks disagree.
  std::function<int()> generationOnDisk;
};

std::string GenerationText(int generation) { return "generation " + std::to_string(generation); }

CArrayData ExtractedOfGeneration(int generation) {
  CGlobalData tables;
  CArrayData sample("S01", "Mapping10K_Xba131", tables.TypeInfo(0), CTime(1160000000));
  sample.Header.Attribute1 = GenerationText(generation);
  for (std::int32_t i = sample.Header.FirstSnpIndex; i <= sample.Header.LastSnpIndex; ++i) {
    sample.SignalA[i] = static_cast<float>(generation);
    sample.SignalB[i] = static_cast<float>(i);
  }
  return sample;
}

// The generation of a sample file whose attribute and last value agree, or
// -1 when it does not load or they disagree.
template <class Sample>
int GenerationOfSample(const std::function<void(Sample&)>& load, std::vector<float> Sample::*values) {
  try {
    Sample sample;
    load(sample);
    const auto generation = static_cast<int>((sample.*values)[sample.Header.LastSnpIndex]);
    return sample.Header.Attribute1 == GenerationText(generation) ? generation : -1;
  } catch (const std::exception&) {
    return -1;
  }
}

int GenerationOfSettings() {
  platform::Profile profile;
  profile.UseSettingsFile();
  CProgramSetting setting;
  setting.LoadFromProfile(profile);
  return setting.LIMITREFSTR == GenerationText(setting.MAXREF) ? setting.MAXREF : -1;
}

class CrashStoreTest : public qova::test::TempHomeTest {
 protected:
  void SetUp() override {
    const std::string samples = Path("samples/");
    ASSERT_TRUE(platform::CreateFolders(samples));
    setting_.DefaultArrayDataFolder = samples;
    setting_.DefaultAnalysisResultFolder = samples;
    const std::string ini = platform::DefaultSettingsPath();
    ASSERT_TRUE(platform::CreateFolders(platform::FolderOf(ini)));

    targets_.push_back({".CFH", samples, "S01.CFH", "*.CFH", kFileListExtracted,
                        [samples](int g) { ExtractedOfGeneration(g).StoreFile(samples + "S01.CFH"); },
                        [samples] {
                          return GenerationOfSample<CArrayData>(
                              [&](CArrayData& s) { s.LoadFile(samples + "S01.CFH"); }, &CArrayData::SignalA);
                        }});
    targets_.push_back({".CFN", samples, "S01.CFN", "*.CFN", kFileListNonSelf,
                        [samples](int g) {
                          const CArrayData source = ExtractedOfGeneration(g);
                          CAnalyzedData result(source, AnalysisKind::NonSelf);
                          std::fill(result.LogRatio.begin(), result.LogRatio.end(), static_cast<float>(g));
                          result.StoreFile(samples + "S01.CFN");
                        },
                        [samples] {
                          return GenerationOfSample<CAnalyzedData>(
                              [&](CAnalyzedData& s) { s.LoadFileAllocating(samples + "S01.CFN"); },
                              &CAnalyzedData::LogRatio);
                        }});
    targets_.push_back({"settings file", platform::FolderOf(ini), platform::FileNameOf(ini), "*", 0,
                        [](int g) {
                          CProgramSetting setting;
                          setting.MAXREF = g;
                          setting.LIMITREFSTR = GenerationText(g);
                          platform::Profile profile;
                          profile.UseSettingsFile();
                          if (!setting.SaveToProfile(profile)) throw std::runtime_error("settings not saved");
                        },
                        GenerationOfSettings});
  }
  void TearDown() override { platform::SetAtomicStageHook(nullptr); }

  // Runs `body` in a child process and returns its wait status.
  static int InChild(const std::function<void()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
      try {
        body();
      } catch (...) {
        ::_exit(kChildStoreFailed);
      }
      ::_exit(kChildNotKilled);
    }
    int status = 0;
    EXPECT_GT(child, 0) << "fork failed";
    if (child > 0) {
      EXPECT_EQ(::waitpid(child, &status, 0), child);
    }
    return status;
  }

  static void ExpectKilled(int status) {
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended with exit code " << WEXITSTATUS(status)
                                     << (WEXITSTATUS(status) == kChildNotKilled ? " (never reached the stage)"
                                                                                : " (its store failed)");
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
  }

  // The names a search and the target's sample list give for its folder:
  // always exactly the target, whatever a crash left behind.
  void ExpectOnlyTheTargetIsListed(const Target& t) {
    EXPECT_THAT(platform::FindFiles(t.folder, t.pattern), ElementsAre(t.fileName));
    if (t.listKind == 0) return;
    CSampleFileList list(setting_);
    ASSERT_TRUE(list.Update(t.listKind));
    EXPECT_THAT(ListedNames(setting_, t.listKind), ElementsAre(t.fileName)) << "the sample list shows a temporary file";
    ASSERT_TRUE(platform::RemoveFile(list.GetListFileName(t.listKind)));
  }

  static std::vector<std::string> Leftovers(const Target& t) {
    std::vector<std::string> temps;
    for (const auto& [name, bytes] : SnapshotOf(t.folder)) {
      if (platform::IsAtomicTempName(name)) temps.push_back(name);
    }
    return temps;
  }

  // Removes what a crash left, so the next case starts from a clean folder.
  static void RemoveLeftovers(const Target& t) {
    for (const std::string& name : Leftovers(t)) ASSERT_TRUE(platform::RemoveFile(t.folder + name));
  }

  CProgramSetting setting_;
  std::vector<Target> targets_;
};

const char* StageName(AtomicStage stage) {
  switch (stage) {
    case AtomicStage::TempCreated: return "temporary file created";
    case AtomicStage::TempWritten: return "temporary file written";
    case AtomicStage::BeforeRename: return "before the rename";
    case AtomicStage::AfterRename: return "after the rename";
  }
  return "?";
}

AtomicStage g_killAt = AtomicStage::TempCreated;

TEST_F(CrashStoreTest, KilledAtEveryStageLeavesOneWholeGenerationAndListsNoTemporaryFile) {
  for (const Target& t : targets_) {
    for (AtomicStage stage : {AtomicStage::TempCreated, AtomicStage::TempWritten, AtomicStage::BeforeRename,
                              AtomicStage::AfterRename}) {
      SCOPED_TRACE(std::string(t.name) + ", killed " + StageName(stage));
      t.store(1);
      std::string before;
      ASSERT_TRUE(platform::ReadWholeFile(t.folder + t.fileName, before));

      g_killAt = stage;
      ExpectKilled(InChild([&] {
        platform::SetAtomicStageHook([](AtomicStage reached, const std::string&) {
          if (reached == g_killAt) ::raise(SIGKILL);
        });
        t.store(2);
      }));

      const bool renamed = stage == AtomicStage::AfterRename;
      EXPECT_EQ(t.generationOnDisk(), renamed ? 2 : 1);
      if (!renamed) {
        std::string after;
        ASSERT_TRUE(platform::ReadWholeFile(t.folder + t.fileName, after));
        EXPECT_EQ(after, before) << "the old file changed";
      }
      EXPECT_EQ(Leftovers(t).size(), renamed ? 0u : 1u) << "a crash before the rename leaves its temporary file";
      ExpectOnlyTheTargetIsListed(t);

      // The next store replaces the file as if nothing had happened.
      t.store(3);
      EXPECT_EQ(t.generationOnDisk(), 3);
      RemoveLeftovers(t);
    }
  }
}

// Kills land wherever they land: in the middle of writing the temporary file,
// between the flush and the rename, or between two stores.
TEST_F(CrashStoreTest, KilledAtRandomMomentsOfARunOfStoresLeavesOneWholeGeneration) {
  std::mt19937 random(20240601);
  for (const Target& t : targets_) {
    for (int round = 0; round < 8; ++round) {
      SCOPED_TRACE(std::string(t.name) + ", round " + std::to_string(round));
      t.store(1);
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        try {
          for (int g = 2;; ++g) t.store(g);
        } catch (...) {
          ::_exit(kChildStoreFailed);
        }
      }
      const timespec pause{0, static_cast<long>(std::uniform_int_distribution<int>(200, 20000)(random)) * 1000};
      ::nanosleep(&pause, nullptr);
      ASSERT_EQ(::kill(child, SIGKILL), 0);
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      ExpectKilled(status);

      EXPECT_GE(t.generationOnDisk(), 1) << "the file is not one whole generation";
      EXPECT_LE(Leftovers(t).size(), 1u);
      ExpectOnlyTheTargetIsListed(t);
      RemoveLeftovers(t);
    }
  }
}

}  // namespace
