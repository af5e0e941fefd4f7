// Raw data of analysed samples: Data > Output Raw Data of the shown sample,
// and the Display Samples export one file per sample or the samples of one
// array type side by side. The expected lines are printed with printf's own
// formats from the annotation table and the result's values.
#include <gmock/gmock.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <filesystem>

#include "document/exports/DialogOutputData.h"
#include "document/DocumentCommands.h"
#include "document/exports/RawDataFiles.h"
#include "resources/ExportDialogs.h"
#include "tests/document/display/display_samples_test_support.h"

namespace exports = qova::document::exports;
namespace core = qova::core;

namespace qova::test {
namespace {

namespace ex = qova::resources;
using Items = std::vector<std::string>;
using ::testing::HasSubstr;

std::string Printf(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

// Values that differ from SNP to SNP, in every array the result has.
void FillValues(CAnalyzedData& r) {
  for (std::size_t i = 0; i < r.LogRatio.size(); ++i) {
    const auto n = static_cast<int>(i);
    r.LogRatio[i] = static_cast<float>(n % 97) * 0.013f - 0.5f;
    r.CopyNumberState[i] = n % 7;
    r.CallTest[i] = n % 4;
    if (!r.LogRatioA.empty()) {
      r.LogRatioA[i] = static_cast<float>(n % 89) * -0.021f;
      r.LogRatioB[i] = static_cast<float>(n % 13) * 0.25f;
      r.AlleleStateA[i] = n % 5;
      r.AlleleStateB[i] = (n + 2) % 5;
      r.CallReference[i] = (n + 1) % 4;
    }
    if (!r.LohLikelihood.empty()) r.LohLikelihood[i] = static_cast<float>(n % 11) / 3.0f;
  }
}

class RawDataTest : public DisplaySamplesTest {
 protected:
  RawDataTest() { EXPECT_TRUE(platform::CreateFolders(OutputFolder())); }
  ~RawDataTest() override { platform::SetAtomicStageHook(nullptr); }

  [[nodiscard]] std::string OutputFolder() const { return Root() + "Output/"; }
  [[nodiscard]] std::string Output(const std::string& name) const { return Bytes(OutputFolder() + name); }
  [[nodiscard]] Items OutputFiles() const {
    Items names;
    for (const auto& entry : std::filesystem::directory_iterator(platform::NativePath(OutputFolder())))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // The annotation table of `family`, written by our generator and loaded.
  void LoadFamily(int family) {
    datagen::WriteDataFolder(Root() + "data/", {family});
    CBasicData& table = global_.BasicData[family];
    table.Allocate(core::kArrayFamilies[static_cast<std::size_t>(family)].snpCount,
                   core::kArrayFamilies[static_cast<std::size_t>(family)].extended ? 1 : 0);
    table.LoadFile(global_.DataFolder() + datagen::AnnotationFileName(family),
                   core::kArrayFamilies[static_cast<std::size_t>(family)].snpCount);
    ASSERT_TRUE(global_.HasBasicData(family));
  }

  // A result `file` ("S1.CFS") of `type` with values in every array.
  void WriteValued(const std::string& file, const char* type = kSmallType,
                   const std::function<void(SampleHeader&)>& edit = {}) {
    const std::string name = file.substr(0, file.find('.'));
    CArrayData sample(name, type, global_.TypeInfo(ArrayTypeIndex(type)), CTime(kCreated));
    if (edit) edit(sample.Header);
    const AnalysisKind kind = AnalysisKindOfFile(file).value();
    CAnalyzedData result(sample, kind);
    result.Header.SelfAnalyzed = kind == AnalysisKind::Self;
    result.Header.Combined = sample.Header.Combined;
    FillValues(result);
    result.StoreFile(ResultPath(file));
  }

  // The lines of the document's export of `file`, printed as the formats say.
  [[nodiscard]] std::string DocumentOracle(const std::string& file) const {
    CAnalyzedData r;
    r.LoadFileAllocating(ResultPath(file));
    const int type = ArrayTypeIndex(r.Header.ArrayType);
    const CBasicData& a = *global_.BasicDataOfType(type);
    const bool self = r.Header.SelfAnalyzed;
    std::string text = self ? "ID\tVendorSNPsID\trsID\tChromosome\tPosition\tlog2ratio_AB\tlog2ratio_A\tlog2ratio_B\tN_AB\tN_A"
                              "\tN_B\tCall_test\tCall_reference\n"
                            : "ID\tVendorSNPsID\trsID\tChromosome\tPosition\tlog2ratio_AB\tN_AB\tCall_test\tLOH_likelihood\n";
    for (int i = global_.ArrayFirstSnpIndex[type]; i <= global_.ArrayLastSnpIndexX[type]; ++i) {
      const auto u = static_cast<std::size_t>(i);
      const auto j = static_cast<std::size_t>(r.Header.Combined ? a.IndexMap[static_cast<std::size_t>(a.SortMap[u])] : a.IndexMap[u]);
      const std::string id = Printf("SNP_A-%d", a.VendorSnpId[j]);
      const std::string rs = Printf("rs%d", a.RsNumber[j]);
      if (self) {
        text += Printf("%d\t%s\t%s\t%d\t%d\t%f\t%f\t%f\t%d\t%d\t%d\t%d\t%d\n", i, id.c_str(), rs.c_str(), a.Chromosome[j],
                       a.Position[j], r.LogRatio[u], r.LogRatioA[u], r.LogRatioB[u], r.CopyNumberState[u],
                       r.AlleleStateA[u], r.AlleleStateB[u], r.CallTest[u], r.CallReference[u]);
      } else {
        text += Printf("%d\t%s\t%s\t%d\t%d\t%f\t%d\t%d\t%f\n", i, id.c_str(), rs.c_str(), a.Chromosome[j], a.Position[j],
                       r.LogRatio[u], r.CopyNumberState[u], r.CallTest[u], r.LohLikelihood[u]);
      }
    }
    return text;
  }

  // Display Samples on the self or non-self results with `names` checked,
  // "Output Data" > "Raw Data", and `choose` acting on the column dialog
  // (OK unless it closed it). `before` runs just before the export.
  void ExportRaw(bool self, const Items& names, const std::function<void(DialogDriver&)>& choose,
                 const std::function<void()>& before = {}) {
    Ui().OnDialog(ex::kOutputDataDialog, [](DialogDriver& d) { d.Click(ex::kOutputRawDataButton); });
    Ui().OnDialog(ex::kOutputRawDataDialog, [&](DialogDriver& d) {
      if (choose) choose(d);
      if (d.IsOpen()) d.Ok();
    });
    stillOpen_ = false;
    OpenDialog([&](DialogDriver& d) {
      d.SetCheck(display_ids::kUseTestOrRef, false).Click(self ? display_ids::kSelfAnalysis : display_ids::kNonSelfAnalysis);
      CheckLines(d, names);
      if (before) before();
      d.Click(display_ids::kOutputData);
      stillOpen_ = d.IsOpen();
    });
  }

  static void Only(DialogDriver& d, const std::vector<unsigned>& chosen, bool combined = false) {
    for (unsigned id : {ex::kRawId, ex::kRawVendorSnpId, ex::kRawRsId, ex::kRawChromosome, ex::kRawPosition,
                        ex::kRawLogRatio, ex::kRawLogRatioA, ex::kRawLogRatioB, ex::kRawState, ex::kRawStateA,
                        ex::kRawStateB, ex::kRawCallTest, ex::kRawCallReference, ex::kRawLohLikelihood}) {
      if (d.IsEnabled(id)) d.SetCheck(id, std::find(chosen.begin(), chosen.end(), id) != chosen.end());
    }
    d.SetCheck(ex::kRawCombined, combined);
  }

  bool stillOpen_ = false;
};

TEST_F(RawDataTest, TheShownSampleIsWrittenInTheLayoutOfItsKindAndACleanDocumentWritesNothing) {
  WriteValued("S1.CFS");
  WriteValued("S1.CFN");
  Run(command::kOutputRawData);
  EXPECT_EQ(OutputFiles(), Items{});

  for (const auto& [file, output] : {std::pair{"S1.CFS", "S1Self.txt"}, std::pair{"S1.CFN", "S1NonSelf.txt"}}) {
    ASSERT_EQ(Doc().OpenSingleResult(nullptr, file), CQOVADoc::kSucceeded);
    Run(command::kOutputRawData);
    const std::string written = Output(output);
    const std::string expected = DocumentOracle(file);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 11344 + 1) << output;
    EXPECT_EQ(platform::SplitLines(written), platform::SplitLines(expected)) << output;
    EXPECT_EQ(written, expected) << output;
  }
  EXPECT_EQ(Messages(), Items{});
}

// The grid and the integral view leave the sample shown before them in the
// document; it is not theirs to write.
TEST_F(RawDataTest, OnlyTheStatusOfOneShownSampleWritesIt) {
  WriteValued("S1.CFN");
  const std::pair<const char*, Items> cases[] = {{kStatusAnalysis, Items{"S1NonSelf.txt"}},
                                                 {kStatusSingle, Items{"S1NonSelf.txt"}},
                                                 {kStatusMultiple, Items{}},
                                                 {kStatusIntegrate, Items{}},
                                                 {kStatusClean, Items{}}};
  for (const auto& [status, written] : cases) {
    ASSERT_EQ(Doc().OpenSingleResult(nullptr, "S1.CFN"), CQOVADoc::kSucceeded);
    for (const std::string& name : OutputFiles()) ASSERT_TRUE(platform::RemoveFile(OutputFolder() + name));
    Doc().Status = status;
    Run(command::kOutputRawData);
    EXPECT_EQ(OutputFiles(), written) << status;
  }
  EXPECT_EQ(Messages(), Items{});
}

TEST_F(RawDataTest, ACombinedResultFindsItsAnnotationThroughSortMap) {
  LoadFamily(2);
  WriteValued("H_AND_X.CFN", "Mapping50K_Hind+Xba", [](SampleHeader& h) { h.Combined = true; });
  ASSERT_EQ(Doc().OpenSingleResult(nullptr, "H_AND_X.CFN"), CQOVADoc::kSucceeded);
  Run(command::kOutputRawData);
  const std::string written = Output("H_AND_XNonSelf.txt");
  EXPECT_EQ(written, DocumentOracle("H_AND_X.CFN"));
  // The same result without the flag reads other rows.
  Doc().AnalyzedData.Header.Combined = false;
  Run(command::kOutputRawData);
  EXPECT_NE(Output("H_AND_XNonSelf.txt"), written);
  EXPECT_EQ(Messages(), Items{});
}

TEST_F(RawDataTest, TheDocumentRefusesWhatItCannotWriteWithAMessageAndWritesNothing) {
  WriteValued("S1.CFN");
  const struct {
    const char* what;
    std::function<void(CQOVADoc&, CGlobalData&)> spoil;
    const char* said;
  } cases[] = {
      {"unknown type", [](CQOVADoc& d, CGlobalData&) { d.AnalyzedData.Header.ArrayType = "Mapping10K_Xba999"; },
       "unknown array type \"Mapping10K_Xba999\""},
      {"arrays too short", [](CQOVADoc& d, CGlobalData&) { d.AnalyzedData.LogRatio.resize(11343); },
       "does not fit the sample's 11343 values of log2ratio_AB"},
      {"table not loaded", [](CQOVADoc& d, CGlobalData&) { d.AnalyzedData.Header.ArrayType = "Mapping10K_Xba142"; },
       "the annotation table BasicDataXba142.dtt is not loaded"},
      {"row outside the table", [](CQOVADoc&, CGlobalData& g) { g.BasicData[0].IndexMap[7] = 11560; },
       "annotation row 11560 of SNP 7 lies outside the table's 11560 rows"},
      {"name leaving the folder", [](CQOVADoc& d, CGlobalData&) { d.AnalyzedData.Header.SampleName = "../S1"; },
       "the name is not a plain file name"},
  };
  const std::int32_t row7 = global_.BasicData[0].IndexMap[7];
  for (const auto& c : cases) {
    messages_.Clear();
    ASSERT_EQ(Doc().OpenSingleResult(nullptr, "S1.CFN"), CQOVADoc::kSucceeded);
    c.spoil(Doc(), global_);
    Run(command::kOutputRawData);
    global_.BasicData[0].IndexMap[7] = row7;
    ASSERT_EQ(Messages().size(), 1u) << c.what;
    EXPECT_THAT(Messages()[0], HasSubstr(c.said)) << c.what;
    EXPECT_EQ(OutputFiles(), Items{}) << c.what;
  }

  // An output folder that cannot hold files.
  messages_.Clear();
  ASSERT_TRUE(platform::WriteWholeFile(Root() + "notafolder", "x"));
  ASSERT_EQ(Doc().OpenSingleResult(nullptr, "S1.CFN"), CQOVADoc::kSucceeded);
  Doc().OutputFolder = Root() + "notafolder/";
  Run(command::kOutputRawData);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_THAT(Messages()[0], HasSubstr("cannot be created"));
}

TEST_F(RawDataTest, PerSampleFilesFollowEveryCellWithATab) {
  WriteValued("S1.CFS");
  WriteValued("S2.CFS");
  const CBasicData& a = Annotation();
  CAnalyzedData s2;
  s2.LoadFileAllocating(ResultPath("S2.CFS"));

  // The self defaults: every column but the LOH likelihood.
  ExportRaw(true, {"S2"}, {});
  EXPECT_TRUE(stillOpen_);
  std::string expected = "ID\tVendorSNPsID\trsID\tChromosome\tPosition\tlog2ratio_AB\tlog2ratio_A\tlog2ratio_B\tN_AB\tN_A\tN_B"
                         "\tCall_test\tCall_reference\t\n";
  for (std::size_t i = 0; i <= 11343; ++i) {
    const auto j = static_cast<std::size_t>(a.IndexMap[i]);
    expected += Printf("%d\tSNP_A-%d\trs%d\t%d\t%d\t%f\t%f\t%f\t%d\t%d\t%d\t%d\t%d\t\n", int(i), a.VendorSnpId[j],
                       a.RsNumber[j], a.Chromosome[j], a.Position[j], s2.LogRatio[i], s2.LogRatioA[i], s2.LogRatioB[i],
                       s2.CopyNumberState[i], s2.AlleleStateA[i], s2.AlleleStateB[i], s2.CallTest[i], s2.CallReference[i]);
  }
  EXPECT_EQ(Output("S2Self.txt"), expected);
  EXPECT_EQ(OutputFiles(), Items{"S2Self.txt"});

  // The ID alone, and the LOH likelihood a self result does not have: zeros.
  ExportRaw(true, {"S1", "S2"}, [](DialogDriver& d) { Only(d, {ex::kRawId, ex::kRawLohLikelihood}); });
  expected = "ID\tLOH_likelihood\t\n";
  for (int i = 0; i <= 11343; ++i) expected += std::to_string(i) + "\t0.000000\t\n";
  EXPECT_EQ(Output("S1Self.txt"), expected);
  EXPECT_EQ(Output("S2Self.txt"), expected);
  EXPECT_EQ(Messages(), Items{});
}

TEST_F(RawDataTest, TheColumnBoxesFollowTheAlleleFlag) {
  WriteValued("S1.CFS");
  WriteValued("S1.CFN");
  WriteValued("S1.CFA");
  const unsigned alleleBoxes[] = {ex::kRawLogRatioA, ex::kRawLogRatioB, ex::kRawStateA, ex::kRawStateB,
                                  ex::kRawCallReference};
  const struct {
    bool self;
    int switchOn;
    bool allele;
  } cases[] = {{true, 0, true}, {false, 0, false}, {false, 1, true}, {true, 1, true}};
  for (const auto& c : cases) {
    Setting().NONSELFALLELE = c.switchOn;
    ExportRaw(c.self, {"S1"}, [&](DialogDriver& d) {
      EXPECT_EQ(d.Caption(), "Output raw data");
      for (unsigned id : alleleBoxes) {
        EXPECT_EQ(d.IsEnabled(id), c.allele) << id;
        EXPECT_EQ(d.IsChecked(id), c.allele) << id;
      }
      EXPECT_TRUE(d.IsEnabled(ex::kRawLohLikelihood));
      EXPECT_EQ(d.IsChecked(ex::kRawLohLikelihood), !c.allele);
      EXPECT_FALSE(d.IsChecked(ex::kRawCombined));
      // Changes made this time are not the defaults of the next.
      d.SetCheck(ex::kRawId, false).SetCheck(ex::kRawCombined, true);
      d.Cancel();
    });
    EXPECT_EQ(OutputFiles(), Items{});
  }
}

TEST_F(RawDataTest, CombinedModePutsFortyFiveSamplesSideBySideInOneFileAsThePerSampleFilesHaveThem) {
  Items names;
  for (int k = 1; k <= 45; ++k) {
    names.push_back(Printf("S%02d", k));
    WriteValued(names.back() + ".CFN");
  }
  const std::vector<unsigned> chosen = {ex::kRawId, ex::kRawVendorSnpId, ex::kRawLogRatio, ex::kRawState};
  ExportRaw(false, names, [&](DialogDriver& d) { Only(d, chosen); });
  std::vector<Items> perSample;
  for (const std::string& name : names) perSample.push_back(platform::SplitLines(Output(name + "NonSelf.txt")));
  for (const std::string& name : names) ASSERT_TRUE(platform::RemoveFile(OutputFolder() + name + "NonSelf.txt"));

  ExportRaw(false, names, [&](DialogDriver& d) { Only(d, chosen, true); });
  EXPECT_EQ(OutputFiles(), Items{"Mapping10K_Xba131000NonSelf.txt"});
  // Line 1 names each sample above its first data column; then the per-sample
  // lines side by side, the annotation columns once.
  std::string line1 = "\t\t";
  for (const std::string& name : names) line1 += name + "\t\t";
  Items expected = {line1};
  for (std::size_t n = 0; n < perSample[0].size(); ++n) {
    std::string line = perSample[0][n];
    for (std::size_t k = 1; k < names.size(); ++k) {
      const std::string& other = perSample[k][n];
      std::size_t cut = 0;
      for (int tabs = 0; tabs < 2; ++tabs) cut = other.find('\t', cut) + 1;
      line += other.substr(cut);
    }
    expected.push_back(line);
  }
  const Items written = platform::SplitLines(Output("Mapping10K_Xba131000NonSelf.txt"));
  ASSERT_EQ(written.size(), 11344u + 2u);
  EXPECT_EQ(written, expected);
  EXPECT_EQ(Messages(), Items{});
}

TEST_F(RawDataTest, EachArrayTypeGetsAFileOfItsOwnAndGenomeWideSnp5Too) {
  WriteValued("A.CFN");
  WriteValued("B.CFN", "GenomeWideSNP_5");
  WriteValued("C.CFN");
  // Without a column of the annotation table no table is needed.
  ExportRaw(false, {"A", "B", "C"}, [](DialogDriver& d) { Only(d, {ex::kRawId, ex::kRawLogRatio}, true); });
  EXPECT_EQ(OutputFiles(), (Items{"GenomeWideSNP_5000NonSelf.txt", "Mapping10K_Xba131000NonSelf.txt"}));
  const Items small = platform::SplitLines(Output("Mapping10K_Xba131000NonSelf.txt"));
  ASSERT_EQ(small.size(), 11344u + 2u);
  EXPECT_EQ(small[0], "\tA\tC\t");
  EXPECT_EQ(small[1], "ID\tlog2ratio_AB\tlog2ratio_AB\t");
  EXPECT_EQ(small[2], "0\t-0.500000\t-0.500000\t");
  const Items wide = platform::SplitLines(Output("GenomeWideSNP_5000NonSelf.txt"));
  ASSERT_EQ(wide.size(), 500446u + 2u);
  EXPECT_EQ(wide[0], "\tB\t");
  EXPECT_EQ(wide.back(), Printf("500445\t%f\t", static_cast<float>(500445 % 97) * 0.013f - 0.5f));
  EXPECT_EQ(Messages(), Items{});
}

TEST_F(RawDataTest, BadResultsAndNamesAreSkippedAndNamedOnceAndTheOthersWritten) {
  for (const char* file : {"A.CFN", "Damaged.CFN", "Unknown.CFN", "Blocked.CFN", "Z.CFN"}) WriteValued(file);
  WriteValued("Evil.CFN", kSmallType, [](SampleHeader& h) { h.SampleName = "../Z"; });
  // Spoiled while the dialog lists them.
  const auto spoil = [this] {
    const std::string damaged = Bytes(ResultPath("Damaged.CFN"));
    ASSERT_TRUE(platform::WriteWholeFile(ResultPath("Damaged.CFN"), damaged.substr(0, damaged.size() / 2)));
    std::string unknown = Bytes(ResultPath("Unknown.CFN"));
    const std::size_t at = unknown.find("Mapping10K_Xba131");
    ASSERT_NE(at, std::string::npos);
    unknown.replace(at, 17, "Mapping10K_Xba999");
    ASSERT_TRUE(platform::WriteWholeFile(ResultPath("Unknown.CFN"), unknown));
    // A folder where the output file should go.
    ASSERT_TRUE(platform::CreateFolders(OutputFolder() + "BlockedNonSelf.txt"));
  };
  for (bool combined : {false, true}) {
    for (const char* file : {"Damaged.CFN", "Unknown.CFN"}) WriteValued(file);
    messages_.Clear();
    ExportRaw(false, {"A", "Blocked", "Damaged", "../Z", "Unknown", "Z"},
              [&](DialogDriver& d) { Only(d, {ex::kRawId, ex::kRawLogRatio}, combined); }, spoil);
    EXPECT_TRUE(stillOpen_);
    ASSERT_EQ(Messages().size(), 1u);
    const std::string told = Messages()[0];
    EXPECT_THAT(told, HasSubstr("\n../Z: the name is not a plain file name"));
    EXPECT_THAT(told, HasSubstr("\nDamaged: "));
    EXPECT_THAT(told, HasSubstr("\nUnknown: "));
    EXPECT_THAT(told, HasSubstr("Mapping10K_Xba999"));
    if (!combined) {
      EXPECT_THAT(told, HasSubstr("\nBlocked: arrange data cannot be loaded ("));
      EXPECT_EQ(OutputFiles(), (Items{"ANonSelf.txt", "BlockedNonSelf.txt", "ZNonSelf.txt"}));
    } else {
      EXPECT_EQ(platform::SplitLines(Output("Mapping10K_Xba131000NonSelf.txt"))[0], "\tA\tBlocked\tZ\t");
    }
  }
}

TEST_F(RawDataTest, AnOutputFolderThatCannotHoldFilesIsToldAndNothingIsWritten) {
  WriteValued("A.CFN");
  WriteValued("B.CFN");
  ASSERT_TRUE(platform::WriteWholeFile(Root() + "notafolder", "x"));
  Setting().DefaultOutputFolder = Root() + "notafolder/";
  for (bool combined : {false, true}) {
    messages_.Clear();
    ExportRaw(false, {"A", "B"}, [&](DialogDriver& d) { d.SetCheck(ex::kRawCombined, combined); });
    EXPECT_TRUE(stillOpen_);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_THAT(Messages()[0], HasSubstr(combined ? "Mapping10K_Xba131: arrange data cannot be loaded"
                                                  : "A: arrange data cannot be loaded"));
    EXPECT_EQ(Bytes(Root() + "notafolder"), "x");
  }
}

// Set by the test below: the block file to cut short once it is written.
std::string g_shortenedBlock;

TEST_F(RawDataTest, ABlockThatFailsStopsItsTypeAndTheOtherTypesAreDone) {
  Items names;
  for (int k = 1; k <= 21; ++k) {
    names.push_back(Printf("S%02d", k));
    WriteValued(names.back() + ".CFN");
  }
  WriteValued("Other.CFN", "Mapping10K_Xba142");
  names.push_back("Other");
  const auto choose = [](DialogDriver& d) { Only(d, {ex::kRawId, ex::kRawLogRatio}, true); };

  // Block 001 cannot be made (a folder has its name): the type's file is
  // abandoned and block 000 deleted.
  ASSERT_TRUE(platform::CreateFolders(OutputFolder() + "Mapping10K_Xba131001NonSelf.txt"));
  ExportRaw(false, names, choose);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_THAT(Messages()[0], HasSubstr("\nMapping10K_Xba131: arrange data cannot be loaded ("));
  EXPECT_EQ(OutputFiles(), (Items{"Mapping10K_Xba131001NonSelf.txt", "Mapping10K_Xba142000NonSelf.txt"}));
  ASSERT_TRUE(std::filesystem::remove(platform::NativePath(OutputFolder() + "Mapping10K_Xba131001NonSelf.txt")));

  // Block 001 is cut short after it is written: the merge stops and the blocks stay.
  messages_.Clear();
  g_shortenedBlock = "Mapping10K_Xba131001NonSelf.txt";
  platform::SetAtomicStageHook([](platform::AtomicStage stage, const std::string& path) {
    if (stage != platform::AtomicStage::AfterRename || !path.ends_with(g_shortenedBlock)) return;
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
  });
  ExportRaw(false, names, choose);
  platform::SetAtomicStageHook(nullptr);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_THAT(Messages()[0], HasSubstr("\nMapping10K_Xba131: the blocks were not merged ("));
  EXPECT_THAT(Messages()[0], HasSubstr("Mapping10K_Xba131001NonSelf.txt ends after"));
  EXPECT_EQ(OutputFiles(), (Items{"Mapping10K_Xba131000NonSelf.txt", "Mapping10K_Xba131001NonSelf.txt",
                                  "Mapping10K_Xba142000NonSelf.txt"}));
  EXPECT_EQ(platform::SplitLines(Output("Mapping10K_Xba131000NonSelf.txt")).size(), 11344u + 2u);
  EXPECT_EQ(platform::SplitLines(Output("Mapping10K_Xba142000NonSelf.txt")).size(), 10032u + 2u);
}

TEST(RawDataMerge, BlocksAreMergedSideBySideWithoutALineLimitAndRefusedWhenTheirLengthsDiffer) {
  TempHome home;
  const std::string a = home.Path("a.txt"), b = home.Path("b.txt"), c = home.Path("c.txt");
  const std::string wide(100000, 'w');
  ASSERT_TRUE(platform::WriteWholeFile(a, "a1\t\na2\t\r\n"));
  ASSERT_TRUE(platform::WriteWholeFile(b, wide + "\t\nb2\t\n"));
  ASSERT_TRUE(platform::WriteWholeFile(c, "c1\t\n"));
  EXPECT_THAT(exports::MergeBlockFiles({a, c}, 2), HasSubstr("c.txt ends after 1 lines, not 2"));
  EXPECT_THAT(exports::MergeBlockFiles({a, b}, 1), HasSubstr("holds more than 1 lines"));
  EXPECT_EQ(platform::FileExists(b), true);
  EXPECT_EQ(exports::MergeBlockFiles({a, b}, 2), "");
  std::string merged;
  ASSERT_TRUE(platform::ReadWholeFile(a, merged));
  EXPECT_EQ(merged, "a1\t" + wide + "\t\na2\tb2\t\n");
  EXPECT_FALSE(platform::FileExists(b));
}

}  // namespace
}  // namespace qova::test
