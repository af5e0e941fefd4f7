// Data > Extract Data with its samples read on worker threads: the files,
// the messages, the error log and the progress at every store are those of a
// run on one worker, also when the run is cancelled or its library file is
// replaced part-way.
#include <gmock/gmock.h>

#include <cstdlib>
#include <map>

#include "platform/Strings.h"
#include "tests/arraygen/ArrayGenTestSupport.h"
#include "tests/document/batch/batch_test_support.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/arraywriters/CdfWriters.h"
#include "tools/arraywriters/CelWriters.h"
#include "resources/ExtractDialogs.h"

namespace qova::test {
namespace {

using ::testing::HasSubstr;
using namespace qova::resources;

// What a run leaves behind.
struct ExtractOutcome {
  std::map<std::string, std::string> files;  // the array-data folder
  std::vector<std::string> log;
  std::vector<std::string> messages;
  std::vector<std::string> stores;  // each store with the progress status and position
  std::vector<std::string> statusBar;
  bool operator==(const ExtractOutcome&) const = default;
};

// Eight samples: three non-paired tests, a non-paired reference and two
// pairs, their CEL and CHP files in every form the writers have. T2's CHP
// file is damaged, and R1's scan is half the library's grid, so the library
// does not fit it. N1 was extracted before and given an attribute.
class ExtractWorkersTest : public BatchTest {
 protected:
  ExtractWorkersTest() : design_(kSmallType, 3, SmallLayout(-1)) {
    platform::SetClock([]() -> std::int64_t { return 1'200'000'000; });
    EXPECT_TRUE(platform::CreateFolders(Doc().LibraryFolder));
    WriteLibrary(design_.Layout());
    std::size_t form = 0;
    for (const char* name : kSamples) {
      arraygen::SampleFileOptions options;
      options.Cel = arraywriters::kAllCelForms[form % std::size(arraywriters::kAllCelForms)];
      options.Chp = arraygen::kAllChpForms[form % std::size(arraygen::kAllChpForms)];
      ++form;
      arraygen::WriteSampleFiles(design_, Doc().DataFolder, MakeSample(kSmallType, name, 10 + form), options);
    }
    EXPECT_TRUE(platform::WriteWholeFile(Doc().DataFolder + "T2.CHP", std::string(300, '\x3b')));
    arraywriters::CelArray half = design_.MakeCel(MakeSample(kSmallType, "R1", 40));
    half.rows /= 2;
    half.cells.resize(std::size_t(half.rows) * std::size_t(half.cols));
    EXPECT_TRUE(arraywriters::SaveCelFile(Doc().DataFolder + "R1.CEL", arraywriters::CelForm::kGeneric, half));
    CArrayData earlier = MakeSample(kSmallType, "N1", 3);
    earlier.Header.Attribute1 = "typed";
    earlier.StoreFile(SamplePath("N1"));
    earlier_ = Bytes(SamplePath("N1"));
    Watch({std::begin(kSamples), std::end(kSamples)});
  }
  ~ExtractWorkersTest() override {
    platform::SetClock(nullptr);
    unsetenv("QOVA_EXTRACT_WORKERS");
  }

  void WriteLibrary(const arraywriters::CdfLayout& layout) {
    ASSERT_TRUE(arraywriters::WriteBytes(LibraryPath(), arraywriters::XdaCdfImage(layout)));
  }
  [[nodiscard]] std::string LibraryPath() {
    return Doc().LibraryFolder + arraygen::LibraryFileName(kSmallType);
  }
  // The library with every SNP's allele A and allele B groups swapped: the
  // same size, another meaning.
  [[nodiscard]] arraywriters::CdfLayout SwappedLayout() const {
    arraywriters::CdfLayout swapped = design_.Layout();
    for (std::int32_t set : design_.SnpProbeSets()) {
      auto& blocks = swapped.probeSets[static_cast<std::size_t>(set)].blocks;
      std::swap(blocks[0], blocks[1]);
    }
    return swapped;
  }

  // Extract Data over the eight samples on `workers` workers, from the
  // folder as the fixture left it.
  ExtractOutcome RunWith(int workers, const std::function<void(const std::string&)>& onStore = {}) {
    for (const std::string& name : platform::FindFiles(ArrayFolder(), "*")) platform::RemoveFile(ArrayFolder() + name);
    EXPECT_TRUE(platform::WriteWholeFile(SamplePath("N1"), earlier_));
    platform::RemoveFile(Root() + "errorlog.txt");
    messages_.Clear();
    const std::size_t statusBefore = Ui().StatusTexts().size();
    stores_.clear();
    onStore_ = onStore;
    setenv("QOVA_EXTRACT_WORKERS", std::to_string(workers).c_str(), 1);
    Ui().OnDialog(kDataExtractDialog, [](DialogDriver& d) {
      const auto add = [&d](unsigned button, std::vector<std::string> chpFiles) {
        const std::vector<std::string> found = d.Items(kExtractFoundFiles);
        std::vector<int> indexes;
        for (const std::string& file : chpFiles) {
          indexes.push_back(int(std::find(found.begin(), found.end(), file) - found.begin()));
        }
        d.SelectItems(kExtractFoundFiles, indexes).Click(button);
      };
      add(kExtractAddNonPairedTest, {"T1.CHP", "T2.CHP", "T3.CHP"});
      add(kExtractAddNonPairedReference, {"R1.CHP"});
      add(kExtractAddPairedTest, {"P1.CHP", "P2.CHP"});
      add(kExtractAddPairedReference, {"N1.CHP", "N2.CHP"});
      d.Ok();
    });
    Run(qova::document::command::kDataExtract);
    progress_ = nullptr;
    std::map<std::string, std::string> files;
    for (const std::string& name : platform::FindFiles(ArrayFolder(), "*")) files[name] = Bytes(ArrayFolder() + name);
    const std::vector<std::string>& status = Ui().StatusTexts();
    return {files, ErrorLogLines(), Messages(), stores_,
            std::vector<std::string>(status.begin() + std::ptrdiff_t(statusBefore), status.end())};
  }

  static constexpr const char* kSamples[] = {"T1", "T2", "T3", "R1", "P1", "N1", "P2", "N2"};
  arraygen::ArrayDesign design_;
  std::string earlier_;
};

TEST_F(ExtractWorkersTest, FourWorkersWriteAndTellWhatOneWorkerDoes) {
  const ExtractOutcome one = RunWith(1);
  const ExtractOutcome four = RunWith(4);
  EXPECT_TRUE(one == four);
  EXPECT_EQ(one.stores, four.stores);
  EXPECT_EQ(one.messages, four.messages);
  // Each store while the progress names its item; each pair's reference first.
  EXPECT_THAT(one.stores, ::testing::ElementsAre("sample T1 | Extracting non-paired test file T1.CHP | 0",
                                                 "sample T3 | Extracting non-paired test file T3.CHP | 66",
                                                 "sample N1 | Extracting paired files P1.CHP and N1.CHP | 0",
                                                 "sample P1 | Extracting paired files P1.CHP and N1.CHP | 0",
                                                 "sample N2 | Extracting paired files P2.CHP and N2.CHP | 50",
                                                 "sample P2 | Extracting paired files P2.CHP and N2.CHP | 50"));
  EXPECT_EQ(one.files.size(), 6u);
  EXPECT_FALSE(one.files.contains("T2.CFH"));
  EXPECT_FALSE(one.files.contains("R1.CFH"));
  ASSERT_EQ(one.messages.size(), 1u);
  EXPECT_THAT(one.messages[0], HasSubstr("2 of 8 files could not be extracted:\nT2.CHP: SNPs call is not performed"));
  EXPECT_THAT(one.messages[0], HasSubstr(platform::Format("\nR1.CHP: The library file Mapping10K_Xba131.CDF is of %d x %d cells, the "
                                                            "CEL file R1.CEL of %d x %d cells",
                                                            design_.Layout().cols, design_.Layout().rows,
                                                            design_.Layout().cols, design_.Layout().rows / 2)));
  EXPECT_TRUE(one.log.empty());
  EXPECT_EQ(LoadSample("N1").Header.Attribute1, "typed") << "the earlier file's attribute is kept";
  EXPECT_THAT(one.statusBar.back(), HasSubstr("Extracted 6 of 8 samples into "));
  EXPECT_THAT(one.statusBar.back(), HasSubstr(", 1 replaced (attributes kept)"));
}

TEST_F(ExtractWorkersTest, CancelAfterTheThirdItemStoresNothingAfterItOnFourWorkers) {
  const auto cancelAtT3 = [this](const std::string& what) {
    if (what == "sample T3") CancelProgress();
  };
  const ExtractOutcome one = RunWith(1, cancelAtT3);
  const ExtractOutcome four = RunWith(4, cancelAtT3);
  EXPECT_TRUE(one == four);
  EXPECT_EQ(four.stores.size(), 2u);
  EXPECT_TRUE(four.files.contains("T3.CFH"));
  EXPECT_EQ(four.files.at("N1.CFH"), earlier_) << "the samples after the Cancel are not stored";
  EXPECT_EQ(four.files.size(), 3u);
  ASSERT_EQ(four.messages.size(), 1u);
  EXPECT_THAT(four.messages[0], HasSubstr("1 of 3 files could not be extracted:\nT2.CHP: "));
  EXPECT_THAT(four.statusBar.back(), HasSubstr("Cancelled after 3 of 8 samples; 2 extracted into "));
}

TEST_F(ExtractWorkersTest, AnUnreadableLibraryIsEachSamplesMessageInListOrderOnFourWorkers) {
  ASSERT_TRUE(arraywriters::WriteBytes(LibraryPath(), arraywriters::XdaCdfImage(design_.Layout()).substr(0, 40)));
  const ExtractOutcome one = RunWith(1);
  const ExtractOutcome four = RunWith(4);
  EXPECT_TRUE(one == four);
  EXPECT_TRUE(four.stores.empty());
  EXPECT_EQ(four.files.size(), 1u) << "N1's earlier file stays";
  const std::string unreadable = ": The library file Mapping10K_Xba131.CDF cannot be read";
  ASSERT_EQ(four.messages.size(), 1u);
  EXPECT_EQ(four.messages[0], "8 of 8 files could not be extracted:\nT1.CHP" + unreadable +
                                  "\nT2.CHP: SNPs call is not performed\n    The CHP file T2.CHP cannot be read" +
                                  "\nT3.CHP" + unreadable + "\nR1.CHP" + unreadable + "\nN1.CHP" + unreadable +
                                  "\nP1.CHP" + unreadable + "\nN2.CHP" + unreadable + "\nP2.CHP" + unreadable);
}

TEST_F(ExtractWorkersTest, ALibraryReplacedDuringTheRunIsReadAgainForTheSamplesAfter) {
  platform::FileStatus old;
  ASSERT_TRUE(platform::GetFileStatus(LibraryPath(), old));
  const auto writeOld = [&] {
    WriteLibrary(design_.Layout());
    ASSERT_TRUE(platform::SetModificationTime(LibraryPath(), old.modificationTime));
  };
  const ExtractOutcome unchanged = RunWith(1);
  // The replacement differs in its size only (text form) or in its
  // modification time only (the same form).
  struct Case {
    const char* what;
    bool textForm;
    std::int64_t timeShift;
  };
  for (const Case c : {Case{"size", true, 0}, Case{"time", false, 60}}) {
    const auto writeNew = [&] {
      const arraywriters::CdfLayout swapped = SwappedLayout();
      ASSERT_TRUE(arraywriters::WriteBytes(LibraryPath(), c.textForm ? arraywriters::TextCdfImage(swapped)
                                                                     : arraywriters::XdaCdfImage(swapped)));
      ASSERT_TRUE(platform::SetModificationTime(LibraryPath(), old.modificationTime + c.timeShift));
    };
    writeNew();
    const ExtractOutcome swapped = RunWith(1);
    ASSERT_NE(swapped.files.at("T3.CFH"), unchanged.files.at("T3.CFH"));
    for (int workers : {1, 4}) {
      SCOPED_TRACE(std::string(c.what) + ", workers " + std::to_string(workers));
      writeOld();
      // Replaced as the first sample is stored.
      const ExtractOutcome changed = RunWith(workers, [&](const std::string& what) {
        if (what == "sample T1") writeNew();
      });
      for (const auto& [file, bytes] : changed.files) {
        EXPECT_TRUE(bytes == (file == "T1.CFH" ? unchanged : swapped).files.at(file)) << file;
      }
      EXPECT_EQ(changed.files.size(), unchanged.files.size());
      EXPECT_EQ(changed.messages, swapped.messages);
    }
    writeOld();
  }
}

}  // namespace
}  // namespace qova::test
