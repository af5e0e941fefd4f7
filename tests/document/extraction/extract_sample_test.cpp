// Extraction of one sample from generated CHP, CEL and CDF files.
#include <gtest/gtest.h>

#include "core/ArrayTypes.h"
#include "tests/document/extraction/extract_test_support.h"
#include "tools/arraywriters/LegacyChpWriters.h"

namespace core = qova::core;

namespace {

using arraygen::ArrayDesign;
using qova::test::MakeSample;
using qova::test::LeanLayout;
using qova::test::SmallLayout;

class ExtractSampleTest : public qova::test::ExtractionTest {};

TEST_F(ExtractSampleTest, StoredSumsAreThePerfectMatchSumsOfTheCellsTheLibraryNames) {
  for (const char* type : {"Mapping10K_Xba131", "Mapping50K_Xba240"}) {
    SCOPED_TRACE(type);
    const ArrayDesign design(type, 11, SmallLayout(-1));
    const CArrayData sample = MakeSample(type, "S01", 11, "M");
    WriteLibrary(design);
    const arraygen::SampleFiles files = WriteSample(design, sample);

    const ExtractionResult result = Extract(files.ChpFile);
    ASSERT_TRUE(result.Stored) << result.Message;
    EXPECT_EQ(result.Message, "");
    EXPECT_EQ(result.SampleName, "S01");

    const CArrayData stored = LoadOutput("S01");
    const core::ArrayTypeInfo& info = *core::FindArrayType(type);
    EXPECT_EQ(stored.Header.ArrayType, type);
    EXPECT_EQ(stored.Header.FirstSnpIndex, info.firstSnp);
    EXPECT_EQ(stored.Header.LastSnpIndex, info.lastSnp);
    EXPECT_EQ(stored.Header.SnpCount, info.snpCount);
    EXPECT_EQ(stored.Header.IsTest, 1);
    EXPECT_EQ(stored.Header.IsPaired, 0);
    EXPECT_EQ(stored.Header.SelfReference, "");
    EXPECT_EQ(stored.Header.Sex, "M");
    platform::FileStatus chp;
    ASSERT_TRUE(platform::GetFileStatus(DataPath(files.ChpFile), chp));
    EXPECT_EQ(stored.Header.CreateTime.GetTime(), chp.creationTime);

    const arraywriters::CelArray cel = design.MakeCel(sample);
    for (std::size_t k = 0; k < design.SnpProbeSets().size(); ++k) {
      const qova::test::AlleleSums sums = qova::test::SumsOf(design, cel, k);
      const std::size_t p = static_cast<std::size_t>(info.firstSnp) + k;
      ASSERT_EQ(stored.SignalA[p], static_cast<float>(sums.a)) << k;
      ASSERT_EQ(stored.SignalB[p], static_cast<float>(sums.b)) << k;
      ASSERT_NEAR(stored.SignalA[p], sample.SignalA[p], 1.0) << "the model's signal comes back";
      ASSERT_EQ(stored.Call[p], sample.Call[p]) << k;
    }
    // The library's SNP probe sets fill the type's range and no more: the
    // family's SNPs before it, those of the other array of the set, stay zero.
    EXPECT_EQ(design.SnpProbeSets().size(), static_cast<std::size_t>(info.lastSnp - info.firstSnp + 1));
    if (info.firstSnp > 0) {
      EXPECT_EQ(stored.SignalA[static_cast<std::size_t>(info.firstSnp) - 1], 0.0f);
      EXPECT_EQ(stored.Call[static_cast<std::size_t>(info.firstSnp) - 1], kCallNone);
    }
  }
}

TEST_F(ExtractSampleTest, CallStringsMapToSampleCallsAndEveryOtherCodeIsNoCall) {
  const ArrayDesign design("Mapping10K_Xba131", 3, SmallLayout(-1));
  const CArrayData sample = MakeSample("Mapping10K_Xba131", "Codes");
  WriteLibrary(design);
  WriteSample(design, sample);
  // Replace the CHP file by one with every kind of code.
  const std::uint8_t kCodes[] = {6, 7, 8, 0, 5, 9, 11, 255};
  const std::int32_t kExpected[] = {kCallA, kCallB, kCallAB, kCallNone, kCallNone, kCallNone, kCallNone, kCallNone};
  arraywriters::XdaChpFile chp;
  chp.cols = design.Layout().cols;
  chp.rows = design.Layout().rows;
  chp.chipType = "Mapping10K_Xba131";
  chp.summaryParameters = {{"CalledGender", "F"}};
  chp.genotyping.resize(design.Layout().probeSets.size());
  for (std::size_t k = 0; k < design.SnpProbeSets().size(); ++k) {
    chp.genotyping[static_cast<std::size_t>(design.SnpProbeSets()[k])].call = kCodes[k % 8];
  }
  ASSERT_TRUE(arraywriters::WriteBytes(DataPath("Codes.CHP"), chp.Bytes()));

  ASSERT_TRUE(Extract("Codes.CHP").Stored);
  const CArrayData stored = LoadOutput("Codes");
  for (std::size_t k = 0; k < design.SnpProbeSets().size(); ++k) EXPECT_EQ(stored.Call[k], kExpected[k % 8]) << k;
}

TEST_F(ExtractSampleTest, EveryFormOfTheFilesExtractsToTheSameBytes) {
  const ArrayDesign design("Mapping50K_Hind240", 5, LeanLayout());
  const CArrayData sample = MakeSample("Mapping50K_Hind240", "Forms", 5, "F");
  std::string reference;
  for (arraygen::CdfForm cdf : arraygen::kAllCdfForms) {
    WriteLibrary(design, cdf);
    for (arraywriters::CelForm cel : arraywriters::kAllCelForms) {
      for (arraygen::ChpForm chp : arraygen::kAllChpForms) {
        SCOPED_TRACE(std::string(arraygen::FormName(cdf)) + " " + arraygen::FormName(cel) + " " +
                     arraygen::FormName(chp));
        arraygen::SampleFileOptions options;
        options.Cel = cel;
        options.Chp = chp;
        WriteSample(design, sample, options);
        const ExtractionResult result = Extract("Forms.CHP");
        ASSERT_TRUE(result.Stored) << result.Message;
        const std::string bytes = BytesWithoutTimes("Forms");
        if (reference.empty()) reference = bytes;
        EXPECT_EQ(bytes, reference);
      }
    }
  }
}

TEST_F(ExtractSampleTest, SampleNamesDropTheExtensionAndTheAlgorithmSuffix) {
  struct Case {
    const char* file;
    const char* name;
  } const kCases[] = {
      {"S01.brlmm-p.CHP", "S01"}, {"S02.BRLMM.CHP", "S02"},       {"S03.chp", "S03"},
      {"S04.Brlmm-P.chp", "S04"}, {"S05.brlmm-p.brlmm.CHP", "S05.brlmm-p"},
      {"S06.brlmm-pX.CHP", "S06.brlmm-pX"}, {"S07.xyz", "S07"},  {".CHP", ""}, {"ab", ""},
      {"S08brlmm.CHP", "S08brlmm"},
  };
  for (const Case& c : kCases) EXPECT_EQ(SampleNameOfChpFile(c.file), c.name) << c.file;
}

TEST_F(ExtractSampleTest, PairedSamplesNameEachOtherAsSelfReference) {
  const ArrayDesign design("Mapping10K_Xba131", 3, SmallLayout(-1));
  WriteLibrary(design);
  arraygen::SampleFileOptions options;
  options.ChpSuffix = ".brlmm.CHP";
  WriteSample(design, MakeSample("Mapping10K_Xba131", "T1"), options);
  WriteSample(design, MakeSample("Mapping10K_Xba131", "N1"), options);

  ASSERT_TRUE(Extract("N1.brlmm.CHP", kExtractPairedReference, "T1.brlmm.CHP").Stored);
  ASSERT_TRUE(Extract("T1.brlmm.CHP", kExtractPairedTest, "N1.brlmm.CHP").Stored);
  const CArrayData reference = LoadOutput("N1");
  const CArrayData test = LoadOutput("T1");
  EXPECT_EQ(reference.Header.IsTest, 0);
  EXPECT_EQ(reference.Header.IsPaired, 1);
  EXPECT_EQ(reference.Header.SelfReference, "T1");
  EXPECT_EQ(test.Header.IsTest, 1);
  EXPECT_EQ(test.Header.IsPaired, 1);
  EXPECT_EQ(test.Header.SelfReference, "N1");

  ASSERT_TRUE(Extract("N1.brlmm.CHP", kExtractUnpairedReference).Stored);
  EXPECT_EQ(LoadOutput("N1").Header.IsTest, 0);
  EXPECT_EQ(LoadOutput("N1").Header.IsPaired, 0);
  EXPECT_EQ(LoadOutput("N1").Header.SelfReference, "");
}

TEST_F(ExtractSampleTest, TheGenomeWideChipReadsItsFullLibraryFile) {
  const ArrayDesign design("GenomeWideSNP_5", 3, LeanLayout());
  WriteLibrary(design);
  EXPECT_TRUE(platform::FileExists(Path("Library/GenomeWideSNP_5.Full.cdf")));
  WriteSample(design, MakeSample("GenomeWideSNP_5", "W1"));
  EXPECT_TRUE(Extract("W1.CHP").Stored);
  EXPECT_EQ(LibraryFilePath("Lib/", "GenomeWideSNP_5"), "Lib/GenomeWideSNP_5.Full.cdf");
  EXPECT_EQ(LibraryFilePath("Lib/", "genomewidesnp_5"), "Lib/genomewidesnp_5.CDF");
  EXPECT_EQ(LibraryFilePath("Lib", "Mendel_Sty"), "Lib/Mendel_Sty.CDF");
}

// Failures: each gives its message and writes nothing, and an older .CFH of
// the same sample stays as it was.
class ExtractFailureTest : public qova::test::ExtractionTest {
 protected:
  ExtractFailureTest() : design_("Mapping10K_Xba131", 3, SmallLayout(-1)) {
    WriteLibrary(design_);
    files_ = WriteSample(design_, MakeSample("Mapping10K_Xba131", "F1"));
    EXPECT_TRUE(arraywriters::WriteBytes(OutputPath("F1"), "old contents"));
  }

  void ExpectRefused(const std::string& message, const std::string& chpFile = "F1.CHP") {
    const ExtractionResult result = Extract(chpFile);
    EXPECT_FALSE(result.Stored);
    EXPECT_EQ(result.Message, message);
    EXPECT_EQ(qova::test::FileBytes(OutputPath("F1")), "old contents");
  }

  ArrayDesign design_;
  arraygen::SampleFiles files_;
};

TEST_F(ExtractFailureTest, MissingCelFile) {
  platform::RemoveFile(DataPath("F1.CEL"));
  ExpectRefused(kCelFileNotFoundMessage);
}



TEST_F(ExtractFailureTest, TruncatedCelFileIsReportedByNameAndPlace) {
  const std::string bytes = qova::test::FileBytes(DataPath("F1.CEL"));
  ASSERT_TRUE(arraywriters::WriteBytes(DataPath("F1.CEL"), bytes.substr(0, bytes.size() / 2)));
  const ExtractionResult result = Extract("F1.CHP");
  EXPECT_FALSE(result.Stored);
  EXPECT_TRUE(result.Message.starts_with("The CEL file F1.CEL cannot be read: the cell table at offset ")) << result.Message;
  EXPECT_NE(result.Message.find(" runs past the end of the file ("), std::string::npos) << result.Message;
  EXPECT_EQ(qova::test::FileBytes(OutputPath("F1")), "old contents");
}

TEST_F(ExtractFailureTest, AMissingOrDamagedChpFileHasNoCallsAndTheReaderSaysWhere) {
  platform::RemoveFile(DataPath("F1.CHP"));
  ExpectRefused(std::string(kNoGenotypeCallsMessage) + "\nThe CHP file F1.CHP does not exist");
  ASSERT_TRUE(arraywriters::WriteBytes(DataPath("F1.CHP"), std::string(300, 'x')));
  ExpectRefused(std::string(kNoGenotypeCallsMessage) +
                "\nThe CHP file F1.CHP cannot be read: at offset 0 the file begins with neither the XDA number 65 "
                "nor \"BioArray Sequence File\".");

  // The legacy and generic forms cut short: the message names the file and
  // the place where it ends too early.
  const CArrayData sample = MakeSample("Mapping10K_Xba131", "F1");
  struct Case {
    arraygen::ChpForm form;
    std::size_t cut;    // bytes taken off the end
    const char* where;  // what the reason says after "cannot be read: "
  } cases[] = {
      {arraygen::ChpForm::kXda, 5, "the genotyping records at offset "},
      // The generic form ends with the headers of its last group.
      {arraygen::ChpForm::kGeneric, 5, "the header field at offset "},
      {arraygen::ChpForm::kGeneric, 0, "the header at offset "},  // cut in half
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(arraygen::FormName(c.form));
    arraygen::SampleFileOptions options;
    options.Chp = c.form;
    const std::string bytes = arraygen::ChpFileBytes(design_, sample, "F1.CEL", options);
    const std::size_t kept = c.cut > 0 ? bytes.size() - c.cut : bytes.size() / 2;
    ASSERT_TRUE(arraywriters::WriteBytes(DataPath("F1.CHP"), bytes.substr(0, kept)));
    const ExtractionResult result = Extract("F1.CHP");
    EXPECT_FALSE(result.Stored);
    const std::string lead = std::string(kNoGenotypeCallsMessage) + "\nThe CHP file F1.CHP cannot be read: " + c.where;
    EXPECT_TRUE(result.Message.starts_with(lead)) << result.Message;
    EXPECT_NE(result.Message.find(" past the end of the file ("), std::string::npos) << result.Message;
    EXPECT_EQ(qova::test::FileBytes(OutputPath("F1")), "old contents");
  }
}

TEST_F(ExtractFailureTest, MissingLibraryFileIsReportedBeforeAnythingIsWritten) {
  platform::RemoveFile(Path("Library/Mapping10K_Xba131.CDF"));
  ExpectRefused(kLibraryFileNotFoundMessage);
}

TEST_F(ExtractFailureTest, UnreadableLibraryFile) {
  ASSERT_TRUE(arraywriters::WriteBytes(Path("Library/Mapping10K_Xba131.CDF"), "[CDF]\nVersion=GC3.0\n[Chip]\nNumberOfUnits=9\n"));
  ExpectRefused("The library file Mapping10K_Xba131.CDF cannot be read");
}

TEST_F(ExtractFailureTest, UnknownChipTypeIsRefused) {
  const ArrayDesign lower("Mapping10K_Xba131", 3, SmallLayout(-1));
  arraywriters::CelArray cel = lower.MakeCel(MakeSample("Mapping10K_Xba131", "F1"));
  cel.chipType = "Mapping10K_xba131";
  cel.datHeader = arraywriters::MakeDatHeader(cel.chipType, cel.cols, cel.rows);
  ASSERT_TRUE(arraywriters::SaveCelFile(DataPath("F1.CEL"), arraywriters::CelForm::kXda, cel));
  ASSERT_TRUE(arraywriters::WriteBytes(Path("Library/Mapping10K_xba131.CDF"),
                                       qova::test::FileBytes(Path("Library/Mapping10K_Xba131.CDF"))));
  ExpectRefused("The chip type \"Mapping10K_xba131\" of F1.CEL is not one this program knows");
}

TEST_F(ExtractFailureTest, ALibraryWhoseSnpProbeSetsDoNotFillTheTypeIsRefused) {
  // One SNP probe set more or fewer than the type's SNPs: the grids are
  // those of the scans made with the library, so only the counts differ.
  const core::ArrayTypeInfo& info = *core::FindArrayType("Mapping10K_Xba131");
  for (const std::int32_t sets : {info.lastSnp - info.firstSnp + 2, info.lastSnp - info.firstSnp}) {
    SCOPED_TRACE(sets);
    const ArrayDesign other("Mapping10K_Xba131", 3, SmallLayout(sets));
    WriteLibrary(other);
    WriteSample(other, MakeSample("Mapping10K_Xba131", "F1"));
    ExpectRefused("The library file Mapping10K_Xba131.CDF holds " + std::to_string(sets) +
                  " SNP probe sets, the chip type Mapping10K_Xba131 has 11560 SNPs");
  }

  // Exactly the type's range fits.
  const ArrayDesign full("Mapping10K_Xba131", 3, SmallLayout(info.lastSnp - info.firstSnp + 1));
  WriteLibrary(full);
  WriteSample(full, MakeSample("Mapping10K_Xba131", "F1"));
  EXPECT_TRUE(Extract("F1.CHP").Stored);
}

TEST_F(ExtractFailureTest, ChpWithFewerResultsThanTheLibraryIsRefused) {
  arraywriters::XdaChpFile chp;
  chp.cols = design_.Layout().cols;
  chp.rows = design_.Layout().rows;
  chp.chipType = "Mapping10K_Xba131";
  chp.genotyping.resize(static_cast<std::size_t>(design_.SnpProbeSets()[10]));
  ASSERT_TRUE(arraywriters::WriteBytes(DataPath("F1.CHP"), chp.Bytes()));
  ExpectRefused("The CHP file F1.CHP has no result for probe set " + std::to_string(design_.SnpProbeSets()[10]) +
                " of the library file Mapping10K_Xba131.CDF");
}

TEST_F(ExtractFailureTest, ALibraryOfAnotherGridIsRefusedBeforeItsCellsAreRead) {
  // Scans of smaller arrays than the library file describes: half the rows,
  // or one column fewer, so that the library's last column lies just
  // outside. The binary form declares its grid, and the two are compared;
  // the generic form declares none, and its first cell outside is named.
  const arraywriters::CelArray full = design_.MakeCel(MakeSample("Mapping10K_Xba131", "F1"));
  const std::string grid = std::to_string(full.cols) + " x " + std::to_string(full.rows);
  for (const arraygen::CdfForm form : {arraygen::CdfForm::kXda, arraygen::CdfForm::kGeneric}) {
    WriteLibrary(design_, form);
    for (auto [cols, rows] : {std::pair{full.cols, full.rows / 2}, std::pair{full.cols - 1, full.rows}}) {
      const std::string scan = std::to_string(cols) + " x " + std::to_string(rows);
      SCOPED_TRACE(std::string(arraygen::FormName(form)) + " " + scan);
      arraywriters::CelArray cel = full;
      cel.cols = cols;
      cel.rows = rows;
      cel.cells.clear();
      for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < cols; ++x) cel.cells.push_back(full.cells[std::size_t(y) * std::size_t(full.cols) + x]);
      }
      ASSERT_TRUE(arraywriters::SaveCelFile(DataPath("F1.CEL"), arraywriters::CelForm::kGeneric, cel));
      const ExtractionResult result = Extract("F1.CHP");
      EXPECT_FALSE(result.Stored);
      if (form == arraygen::CdfForm::kXda) {
        EXPECT_EQ(result.Message, "The library file Mapping10K_Xba131.CDF is of " + grid +
                                      " cells, the CEL file F1.CEL of " + scan + " cells");
      } else {
        EXPECT_TRUE(result.Message.starts_with("The library file Mapping10K_Xba131.CDF names the cell ("))
            << result.Message;
        EXPECT_TRUE(result.Message.ends_with("outside the CEL file F1.CEL of " + scan + " cells")) << result.Message;
      }
      EXPECT_EQ(qova::test::FileBytes(OutputPath("F1")), "old contents");
    }
  }
}

TEST_F(ExtractFailureTest, NamesThatWouldBreakListsOrPathsAreRefused) {
  for (const char* name : {"F$1", "F\t1", "F/1", "..\\F1"}) {
    SCOPED_TRACE(name);
    const ExtractionResult result = Extract(std::string(name) + ".CHP");
    EXPECT_FALSE(result.Stored);
    EXPECT_EQ(result.Message, std::string("The sample name \"") + name +
                                  "\" cannot be used: it holds \"$\", a tab or a path separator");
  }
  EXPECT_EQ(Extract(".CHP").Message, "The file name gives no sample name");
  const ExtractionResult partner = Extract("F1.CHP", kExtractPairedTest, "N$1.CHP");
  EXPECT_FALSE(partner.Stored);
  EXPECT_EQ(partner.Message, "The sample name \"N$1\" cannot be used: it holds \"$\", a tab or a path separator");
  EXPECT_EQ(qova::test::FileBytes(OutputPath("F1")), "old contents");
}

TEST_F(ExtractFailureTest, OutputThatCannotBeWrittenIsReportedWithWhy) {
  // A file where the folder should be: the system's words.
  folders_.ArrayDataFolder = Path("ArrayData/F1.CFH/");
  ExtractionResult result = Extract("F1.CHP");
  EXPECT_FALSE(result.Stored);
  EXPECT_EQ(result.Message, "The sample file F1.CFH cannot be written: " + OutputPath("F1") +
                                " contains an incorrect path.");
  // A folder that is not there, given the Windows way.
  folders_.ArrayDataFolder = Path("Gone") + "\\";
  result = Extract("F1.CHP");
  EXPECT_FALSE(result.Stored);
  EXPECT_EQ(result.Message,
            "The sample file F1.CFH cannot be written: the folder " + Path("Gone/") + " does not exist");
  EXPECT_FALSE(platform::FolderExists(Path("Gone")));
}

}  // namespace
