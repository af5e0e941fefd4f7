// Export Graph writes an enhanced metafile that an independent reader
// (emf2svg-conv) converts; Copy puts the chart on the clipboard; printing
// draws it on the printer's page.
#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "resources/CommandIds.h"
#include "tests/views/GraphTestSupport.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DrawOp;
using platform::ui::Picture;

constexpr const char* kConverter = "/usr/bin/emf2svg-conv";

std::string Artefact(const std::string& name) {
  const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "artefacts" / "graph";
  std::filesystem::create_directories(folder);
  return (folder / name).string();
}

std::size_t Count(const std::string& text, const std::regex& pattern) {
  return std::size_t(std::distance(std::sregex_iterator(text.begin(), text.end(), pattern), std::sregex_iterator()));
}

std::string Hex(COLORREF c) {
  return platform::Format("#%02X%02X%02X", unsigned(c & 0xFF), unsigned((c >> 8) & 0xFF), unsigned((c >> 16) & 0xFF));
}

std::uint32_t Word(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = (v << 8) | std::uint8_t(bytes[at + std::size_t(k)]);
  return v;
}

// The file's frame as the header states it: its size, its record count, and
// records that end exactly at the end-of-file record.
void ExpectWholeMetafile(const std::string& bytes) {
  ASSERT_GE(bytes.size(), 108u);
  EXPECT_EQ(Word(bytes, 0), 1u);
  EXPECT_EQ(bytes.substr(40, 4), " EMF");
  EXPECT_EQ(Word(bytes, 48), bytes.size());
  std::size_t at = 0, records = 0;
  std::uint32_t last = 0;
  while (at + 8 <= bytes.size()) {
    const std::uint32_t size = Word(bytes, at + 4);
    ASSERT_TRUE(size >= 8 && size % 4 == 0) << "record " << records;
    last = Word(bytes, at);
    at += size;
    ++records;
  }
  EXPECT_EQ(at, bytes.size());
  EXPECT_EQ(Word(bytes, 52), records);
  EXPECT_EQ(last, 14u);  // EMR_EOF
}

class GraphExportTest : public GraphTest {
 protected:
  // Exports through the menu command into `path` and converts it to SVG;
  // empty when the converter failed.
  std::string ExportAndConvert(const std::string& path) {
    AnswerFileDialog(path);
    Command(res::kCmdExportGraph);
    EXPECT_TRUE(messages_.Empty());
    const std::string svg = path + ".svg";
    const std::string command = std::string(kConverter) + " -i '" + path + "' -o '" + svg + "' 2>&1";
    if (std::system(command.c_str()) != 0) return {};
    std::string text;
    EXPECT_TRUE(platform::ReadWholeFile(svg, text));
    return text;
  }
};

TEST_F(GraphExportTest, TheExportedMetafileHoldsEveryCellSegmentAndName) {
  ASSERT_TRUE(Open(PatternChangeText(12)));
  const std::string emf = Artefact("graph.emf");
  std::filesystem::remove(emf);
  AnswerFileDialog(emf);
  Command(res::kCmdExportGraph);
  std::string bytes;
  ASSERT_TRUE(platform::ReadWholeFile(emf, bytes));
  ExpectWholeMetafile(bytes);
  if (!std::filesystem::exists(kConverter)) GTEST_SKIP() << "emf2svg-conv is not installed (scripts/deps installs it)";
  const std::string svg = ExportAndConvert(emf);
  ASSERT_FALSE(svg.empty()) << "emf2svg-conv refused " << emf;
  const CGraphSetting& s = *Doc().m_pSetting;
  // Every cell is filled in the neutral colour, each segment in its class's.
  const std::size_t perClass[6] = {4, 8, 12 * 23, 4 + 12, 4, 4};
  for (int k = 0; k < 6; ++k)
    EXPECT_EQ(Count(svg, std::regex("fill=\"" + Hex(s.m_Colour[k]) + "\"", std::regex::icase)), perClass[k])
        << "class " << k;
  for (const char* name : {"[S01]", "[S12]", "[22]", "[ X]"})
    EXPECT_NE(svg.find(std::string("<![CDATA") + name + "]>"), std::string::npos) << name;
  EXPECT_EQ(Count(svg, std::regex("<text ")), 12u + 3u * 23u);  // the names, the numbers, p and q
  // The names keep the font's escapement: turned by 270 degrees.
  EXPECT_EQ(Count(svg, std::regex("<text [^>]*rotate\\(-270")), 12u);
}

TEST_F(GraphExportTest, AnEmptyChartExportsAnEmptyMetafileAndCopiesAnEmptyPicture) {
  const std::string emf = Path("empty.emf");
  AnswerFileDialog(emf);
  Command(res::kCmdExportGraph);
  std::string bytes;
  ASSERT_TRUE(platform::ReadWholeFile(emf, bytes));
  ExpectWholeMetafile(bytes);
  Command(ID_EDIT_COPY);
  ASSERT_TRUE(Ui().ClipboardPicture().has_value());
  EXPECT_TRUE(Ui().ClipboardPicture()->records.empty());
  if (!std::filesystem::exists(kConverter)) GTEST_SKIP() << "emf2svg-conv is not installed (scripts/deps installs it)";
  EXPECT_FALSE(ExportAndConvert(emf).empty());
}

TEST_F(GraphExportTest, CopyAndPrintDrawTheChartAndAnUnwritableExportSaysSo) {
  ASSERT_TRUE(Open(PatternChangeText(3)));
  Command(ID_EDIT_COPY);
  ASSERT_TRUE(Ui().ClipboardPicture().has_value());
  EXPECT_EQ(Ui().ClipboardPicture()->records.size(), Draw().records.size());
  EXPECT_NE(Ui().ClipboardPicture()->FindText("S03"), nullptr);

  Ui().OnPrintDialog([](platform::ui::PrintDialogRequest&) { return true; });
  Command(ID_FILE_PRINT);
  ASSERT_EQ(Ui().PrintJobs().size(), 1u);
  ASSERT_EQ(Ui().PrintJobs()[0].pages.size(), 1u);
  EXPECT_NE(Ui().PrintJobs()[0].pages[0].FindText("S02"), nullptr);

  std::filesystem::create_directories(Path("folder.emf"));
  AnswerFileDialog(Path("folder.emf"));
  Command(res::kCmdExportGraph);
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_THAT(messages_.Texts()[0], ::testing::HasSubstr(Path("folder.emf")));
}

}  // namespace
}  // namespace qova::test
