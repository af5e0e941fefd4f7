// The shared parts of the text exports: numbers as printf prints them, the
// files of a sample, the checked samples, the save dialog, and a writer that
// replaces its file only when the whole export is written.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <cstdio>
#include <limits>

#include "document/exports/TextExport.h"
#include "platform/ui/CommonDialogs.h"
#include "tests/document/DocumentTestSupport.h"

using namespace qova::document::exports;
namespace exports = qova::document::exports;

namespace qova::test {
namespace {

using Items = std::vector<std::string>;

std::string Printf(const char* format, double value) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

TEST(TextExportNumbers, FixedAndIntegerTextsAreThoseOfPrintf) {
  const double values[] = {0.0, -0.0, 1.0, -1.5, 0.0000005, 0.0000015, 0.0000025, -0.0000004, 123456.789,
                           2.5e-7, 1e15, -3.4028234663852886e38, static_cast<double>(0.1f), static_cast<double>(-2.675f),
                           std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN(), 1.7976931348623157e308};
  for (double v : values) {
    std::string text;
    exports::AppendFixed(text, v);
    EXPECT_EQ(text, Printf("%f", v)) << v;
  }
  const std::int64_t ints[] = {0, 7, -1, 2147483647, -2147483647 - 1};
  for (std::int64_t v : ints) {
    std::string text;
    exports::AppendInt(text, v);
    EXPECT_EQ(text, std::to_string(v));
  }
}

class TextExportTest : public DocumentTest {
 protected:
  [[nodiscard]] std::vector<std::string> FilesIn(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(platform::NativePath(folder)))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(TextExportTest, SampleFilesJoinFolderNameAndTheExtensionOfTheirRole) {
  struct Case {
    SampleFileRole role;
    int allele;
    std::string expected;
  };
  const Case cases[] = {
      {SampleFileRole::SelfResult, 0, ResultFolder() + "S1.CFS"},
      {SampleFileRole::SelfResult, 1, ResultFolder() + "S1.CFS"},
      {SampleFileRole::NonSelfResult, 0, ResultFolder() + "S1.CFN"},
      {SampleFileRole::NonSelfResult, 1, ResultFolder() + "S1.CFA"},
      {SampleFileRole::ArrayData, 1, ArrayFolder() + "S1.CFH"},
  };
  for (const Case& c : cases) {
    Setting().NONSELFALLELE = c.allele;
    EXPECT_EQ(exports::SampleFilePath(Setting(), "S1", c.role), c.expected);
  }
}

TEST_F(TextExportTest, SaveDialogAsksForATextFileAndCancelGivesNothing) {
  platform::ui::FileDialogRequest seen;
  bool answer = true;
  Ui().OnFileDialog([&](platform::ui::FileDialogRequest& r) {
    seen = r;
    r.chosen = {Root() + "out.txt"};
    return answer;
  });
  EXPECT_EQ(exports::AskTextOutputPath(), Root() + "out.txt");
  EXPECT_FALSE(seen.open);
  EXPECT_EQ(seen.defaultExtension, "txt");
  EXPECT_EQ(seen.initialName, "");
  EXPECT_NE(seen.flags & OFN_OVERWRITEPROMPT, 0u);
  using Filters = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(seen.filters, (Filters{{"text file(*.txt)", "*.txt"}, {"All files(*.*)", "*.*"}}));
  answer = false;
  EXPECT_EQ(exports::AskTextOutputPath(), std::nullopt);
}

TEST_F(TextExportTest, TheFileAppearsWholeAtFinishWithLfLinesAndTheSkippedSamplesInOneMessage) {
  const std::string path = Root() + "out.txt";
  ASSERT_TRUE(platform::WriteWholeFile(path, "old\r\n"));
  exports::TextExport out;
  ASSERT_TRUE(out.Open(path));
  out.Text("a").Tab().Int(-3).Tab().Fixed(0.5).EndLine();
  out.Skip("S2", "no such file");
  out.Skip("S3", "damaged");
  EXPECT_EQ(Bytes(path), "old\r\n");
  // A long export goes out in several writes.
  for (int i = 0; i < 100000; ++i) out.Int(i).Tab().Fixed(i / 7.0).EndLine();
  EXPECT_EQ(Bytes(path), "old\r\n");
  ASSERT_TRUE(out.Finish());
  const std::string bytes = Bytes(path);
  EXPECT_EQ(bytes.substr(0, 30), "a\t-3\t0.500000\n0\t0.000000\n1\t0.1");
  EXPECT_EQ(bytes.find('\r'), std::string::npos);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 100001);
  EXPECT_EQ(bytes.substr(bytes.size() - 19), "99999\t14285.571429\n");
  EXPECT_EQ(Messages(), Items{"These samples were left out:\nS2: no such file\nS3: damaged"});
  EXPECT_EQ(FilesIn(Root()), (Items{"ArrayData", "Results", "data", "out.txt"}));
}

TEST_F(TextExportTest, AFileThatCannotBeCreatedIsToldAndNothingIsWritten) {
  // A file where the folder should be stops the creation whoever runs the test.
  ASSERT_TRUE(platform::WriteWholeFile(Root() + "notafolder", "x"));
  exports::TextExport out;
  EXPECT_FALSE(out.Open(Root() + "notafolder/out.txt"));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("cannot be created"), std::string::npos);
  EXPECT_NE(Messages()[0].find("out.txt"), std::string::npos);
  EXPECT_FALSE(out.Finish());
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(FilesIn(Root()), (Items{"ArrayData", "Results", "data", "notafolder"}));
}

TEST_F(TextExportTest, AnAbandonedExportLeavesTheOldFileAndNoTemporary) {
  const std::string path = Root() + "out.txt";
  ASSERT_TRUE(platform::WriteWholeFile(path, "old\n"));
  {
    exports::TextExport out;
    ASSERT_TRUE(out.Open(path));
    out.Text("new").EndLine();
    out.Abandon();
  }
  EXPECT_EQ(Bytes(path), "old\n");
  EXPECT_EQ(FilesIn(Root()), (Items{"ArrayData", "Results", "data", "out.txt"}));
}

}  // namespace
}  // namespace qova::test
