// Genotyping CHP files of every form cut short, read through the registry as
// the extraction reads them (the calls alone) and as a full read does (a
// record per probe set): each is refused with the place where it ends.
#include <gtest/gtest.h>

#include "arrayfiles/unified/UnifiedCHPData.h"
#include "tests/arrayfiles/chp_test_files.h"

namespace {

using unified_io::UnifiedCHPDataReg;
using unified_io::UnifiedCHPLegacyData;

// The bytes of `file` as written with only its first `records` genotyping
// records, its header still counting all of them: where record `records`
// begins in the whole file.
template <class File>
std::size_t RecordStart(File file, std::size_t records) {
  file.numProbeSets = std::int32_t(file.genotyping.size());
  file.genotyping.resize(records);
  return file.Bytes().size();
}

std::string Offset(std::size_t at) { return " at offset " + std::to_string(at) + " "; }

struct Cut {
  const char* what;
  std::size_t size;   // bytes kept
  std::string where;  // what the reason says
};

struct FormCuts {
  const char* form;
  std::string bytes;
  std::vector<std::uint8_t> calls;  // of the whole file
  std::vector<Cut> cuts;
};

FormCuts XdaCuts() {
  const arraywriters::XdaChpFile file = chptest::XdaGenotyping();
  const std::string bytes = file.Bytes();
  const std::size_t records = RecordStart(file, 0);  // after the record size
  const std::size_t versionAt = chptest::XdaTextsEnd(file) - 4 - file.algorithmVersion.size();
  const std::size_t parentAt = 24 + 4 + file.progId.size();
  const std::string formatError = std::string(legacy_chp::messages::kWrongFormat) + " CHP file: ";
  return {"XDA",
          bytes,
          {6, 7, 8},
          {{"in the fixed part of the header", 10,
            formatError + "the fixed part of the header at offset 8 runs past the end of the file (10 bytes)"},
           {"inside a header text", versionAt + 5,
            formatError + "the algorithm version" + Offset(versionAt) + "runs past the end of the file"},
           {"where a header text begins", parentAt,
            formatError + "the parent CEL file name" + Offset(parentAt) + "runs past the end of the file"},
           {"before the record size", records - 4,
            formatError + "the genotyping record size" + Offset(records - 4) + "runs past the end of the file (" +
                std::to_string(records - 4) + " bytes)"},
           {"inside the second record", records + 21 + 5,
            formatError + "the genotyping records" + Offset(records) +
                "run past the end of the file (3 records of 21 bytes, 26 bytes left)"},
           {"after the second record", records + 42,
            formatError + "the genotyping records" + Offset(records) +
                "run past the end of the file (3 records of 21 bytes, 42 bytes left)"}}};
}

FormCuts OlderCuts(std::int32_t version) {
  const arraywriters::OlderChpFile file = chptest::OlderGenotyping(version);
  const std::string bytes = file.Bytes();
  const std::size_t first = RecordStart(file, 0), second = RecordStart(file, 1), third = RecordStart(file, 2);
  const std::size_t chipTypeAt = first - 4 - file.progId.size() - 2 * 256;
  const std::size_t versionAt = 22 + 4 + 4 + file.algorithmName.size();
  const std::string formatError = std::string(legacy_chp::messages::kWrongFormat) + " CHP file: ";
  const auto record = [&](int i, std::size_t at, std::size_t size) {
    return formatError + "the genotyping record " + std::to_string(i) + " of 3" + Offset(at) +
           "runs past the end of the file (" + std::to_string(size) + " bytes)";
  };
  return {version == 12 ? "older, version 12" : "older",
          bytes,
          {6, legacy_chp::kOlderFormNoCall, 8},
          {{"in the version", 24, formatError + "the version at offset 22 runs past the end of the file (24 bytes)"},
           {"where a header text begins", versionAt,
            formatError + "the algorithm version" + Offset(versionAt) + "runs past the end of the file"},
           {"in the chip type", chipTypeAt + 100,
            formatError + "the chip type" + Offset(chipTypeAt) + "runs past the end of the file"},
           {"at the first record", first, record(0, first, first)},
           {"inside the second record", second + 7, record(1, second, second + 7)},
           {"after the second record", third, record(2, third, third)}}};
}

// The first byte of the text `name` in a generic file's narrow name column.
std::size_t NameAt(const std::string& bytes, const std::string& name) { return bytes.find(name); }

FormCuts GenericCuts() {
  const std::string bytes = arraywriters::GenericChpBytes(chptest::GenericGenotyping());
  // Each row begins with its name's 32-bit length.
  const std::size_t rows = NameAt(bytes, "SNP_A-1") - 4;
  const std::size_t rowBytes = NameAt(bytes, "SNP_A-22") - NameAt(bytes, "SNP_A-1");
  // The three zones of four floats close the file.
  const std::size_t zones = bytes.size() - 3 * 16;
  const auto groupPastEnd = [](std::size_t size) {
    return "lies past the end of the file (" + std::to_string(size) + " bytes)";
  };
  return {"generic",
          bytes,
          {6, 7, 8, 11},
          // The file-type id's length, after the magic number, the version
          // and the group count.
          {{"in the file header", 30,
            "the length 35" + Offset(10) + "does not fit the 16 bytes left"},
           {"at the first row", rows, groupPastEnd(rows)},
           {"inside the second row", rows + rowBytes + 5, groupPastEnd(rows + rowBytes + 5)},
           {"after the second row", rows + 2 * rowBytes, groupPastEnd(rows + 2 * rowBytes)},
           {"inside the zones", zones + 20,
            "the data set \"Background Zone Data\"" + Offset(zones) + "runs past the end of the file"}}};
}

class ChpTruncationTest : public qova::test::TempHomeTest {
 protected:
  // The file read through the registry: its calls, or null with `reason`.
  std::unique_ptr<unified_io::UnifiedCHPData> Read(const std::string& bytes, bool callsOnly,
                                                   std::vector<std::uint8_t>& calls, std::string& reason) {
    const std::string path = Path("cut.chp");
    EXPECT_TRUE(arraywriters::WriteBytes(path, bytes));
    std::unique_ptr<unified_io::UnifiedCHPData> data =
        UnifiedCHPDataReg::Read(path, reason, [callsOnly](unified_io::UnifiedCHPData& d) {
          UnifiedCHPLegacyData::FromBase(&d)->SetGenotypeCallsOnly(callsOnly);
        });
    calls.clear();
    if (UnifiedCHPLegacyData* chp = UnifiedCHPLegacyData::FromBase(data.get())) {
      EXPECT_TRUE(chp->GetGenotypeCalls(calls));
    }
    return data;
  }
};

TEST_F(ChpTruncationTest, EveryFormRefusesAFileCutShortOnBothReadsAndSaysWhere) {
  for (const FormCuts& form : {XdaCuts(), OlderCuts(13), OlderCuts(12), GenericCuts()}) {
    for (const bool callsOnly : {true, false}) {
      SCOPED_TRACE(std::string(form.form) + (callsOnly ? ", calls only" : ", full read"));
      std::vector<std::uint8_t> calls;
      std::string reason;
      EXPECT_TRUE(Read(form.bytes, callsOnly, calls, reason) != nullptr) << reason;
      EXPECT_EQ(calls, form.calls);
      for (const Cut& cut : form.cuts) {
        SCOPED_TRACE(cut.what);
        ASSERT_LT(cut.size, form.bytes.size());
        EXPECT_TRUE(Read(form.bytes.substr(0, cut.size), callsOnly, calls, reason) == nullptr);
        EXPECT_TRUE(calls.empty());
        EXPECT_NE(reason.find(cut.where), std::string::npos) << reason;
      }
    }
  }
}

}  // namespace
