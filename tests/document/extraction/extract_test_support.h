#pragma once
// A temporary home with the three folders of an extraction and generated
// array files in them.
#include <gtest/gtest.h>

#include <string>

#include "document/extraction/SampleExtraction.h"
#include "platform/Paths.h"
#include "platform/Time.h"
#include "tests/arraygen/ArrayGenTestSupport.h"
#include "tests/support/TempHome.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/arraywriters/GenericWriter.h"

namespace qova::test {

class ExtractionTest : public TempHomeTest {
 protected:
  ExtractionTest() {
    folders_.DataFolder = Path("Data/");
    folders_.LibraryFolder = Path("Library/");
    folders_.ArrayDataFolder = Path("ArrayData/");
    EXPECT_TRUE(platform::CreateFolders(folders_.DataFolder));
    EXPECT_TRUE(platform::CreateFolders(folders_.LibraryFolder));
    EXPECT_TRUE(platform::CreateFolders(folders_.ArrayDataFolder));
    // Stores stamp the save time: a fixed clock makes files comparable.
    platform::SetClock([]() -> std::int64_t { return 1'200'000'000; });
  }
  ~ExtractionTest() override { platform::SetClock(nullptr); }

  // Writes the library file of `design` in `form`.
  void WriteLibrary(const arraygen::ArrayDesign& design, arraygen::CdfForm form = arraygen::CdfForm::kXda) {
    design.WriteCdf(platform::JoinPath(folders_.LibraryFolder, arraygen::LibraryFileName(design.ArrayType())), form);
  }

  arraygen::SampleFiles WriteSample(const arraygen::ArrayDesign& design, const CArrayData& sample,
                                    const arraygen::SampleFileOptions& options = {}) {
    return arraygen::WriteSampleFiles(design, folders_.DataFolder, sample, options);
  }

  ExtractionResult Extract(const std::string& chpFile, ExtractionMode mode = kExtractUnpairedTest,
                           const std::string& partner = {}) {
    return ExtractSampleFiles({chpFile, mode, partner}, folders_);
  }

  [[nodiscard]] std::string DataPath(const std::string& name) const {
    return platform::JoinPath(folders_.DataFolder, name);
  }
  [[nodiscard]] std::string OutputPath(const std::string& sampleName) const {
    return platform::JoinPath(folders_.ArrayDataFolder, sampleName + ".CFH");
  }

  [[nodiscard]] CArrayData LoadOutput(const std::string& sampleName) const {
    CArrayData sample;
    sample.LoadFile(OutputPath(sampleName));
    return sample;
  }

  // The output's bytes with both of its times fixed, for comparisons of
  // files extracted at different moments.
  [[nodiscard]] std::string BytesWithoutTimes(const std::string& sampleName) {
    CArrayData sample = LoadOutput(sampleName);
    sample.Header.CreateTime = CTime(0);
    const std::string path = Path("compare.CFH");
    sample.StoreFile(path);
    return FileBytes(path);
  }

  ExtractionFolders folders_;
};

}  // namespace qova::test
