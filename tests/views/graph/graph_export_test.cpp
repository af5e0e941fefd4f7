// Export Graph writes an enhanced metafile that an independent reader
// (emf2svg-conv) converts; Copy puts the chart on the clipboard; printing
// draws it on the printer's page at the size it has on the screen, or as
// large as the page (the pages are kept under <build>/artefacts/graph).
#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "core/GenomeTables.h"
#include "resources/CommandIds.h"
#include "tests/views/graph/GraphTestSupport.h"
#include "platform/ui/PictureBounds.h"
#ifdef QOVA_RASTER_CANVAS
#include "platform/qt/PdfPages.h"
#include "platform/qt/RasterCanvas.h"
#endif

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

// The right end of the chromosome lines and the foot of the cells of X, in
// the picture's pixels.
CSize ChartCorner(const Picture& picture, COLORREF lineColour) {
  CSize corner{0, 0};
  for (const platform::ui::DrawRecord& r : picture.records) {
    if (r.op == DrawOp::Line && r.color == lineColour) corner.cx = std::max<LONG>(corner.cx, std::max(r.x1, r.x2));
    if (r.op == DrawOp::FillRect) corner.cy = std::max<LONG>(corner.cy, r.y2);
  }
  return corner;
}

// On paper the chart keeps the size it has on the screen (its zoom, the
// printer's pixels counted against the screen's 96 to the inch); along an
// axis where that is larger than the page it is as large as the page. Copy
// keeps the screen's size.
TEST_F(GraphExportTest, ThePrintedChartHasItsSizeOnTheScreenOrFillsThePage) {
  const platform::ui::PrinterSettings a4At1200{"PDF", 9917, 14033, 1200, {}};
  const platform::ui::PrinterSettings a4At600{"PDF", 4960, 7016, 600, {}};
  struct Case {
    const char* name;
    int samples;
    long zoomX, zoomY;
    platform::ui::PrinterSettings printer;
    bool fillsWidth, fillsHeight;
  };
  const Case cases[] = {
      {"print_two_samples", 2, 100, 100, a4At1200, false, false},
      {"print_zoomed", 2, 200, 150, a4At600, false, false},
      {"print_wide", 20, 250, 100, a4At1200, true, false},
      {"print_tall", 3, 100, 400, a4At1200, false, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ASSERT_TRUE(Open(PatternChangeText(k.samples)));
    Layout().zoomX = k.zoomX;
    Layout().zoomY = k.zoomY;
    const GraphLayout& l = Layout();
    const COLORREF lineColour = Doc().m_pSetting->m_Colour[6];
    // In logical units: the lines end at the last column's right edge; the
    // cells of X end at the foot of the genome.
    const long long right = l.graphX + 1LL * k.samples * l.Pitch() - l.interval;
    const long long foot = l.graphY + 22LL * l.chSpace + ChromosomeStartTableKb[24] / l.yDiv;

    Ui().OnPrintDialog([&k](platform::ui::PrintDialogRequest& request) {
      request.printer = k.printer;
      return true;
    });
    const std::size_t jobs = Ui().PrintJobs().size();
    Command(ID_FILE_PRINT);
    ASSERT_EQ(Ui().PrintJobs().size(), jobs + 1);
    ASSERT_EQ(Ui().PrintJobs().back().pages.size(), 1u);
    const Picture& page = Ui().PrintJobs().back().pages[0];
    const CSize printed = ChartCorner(page, lineColour);
    const int dpi = k.printer.dpi;
    if (k.fillsWidth) {
      EXPECT_LE(printed.cx, k.printer.width);
      EXPECT_GT(printed.cx, k.printer.width * 99 / 100);
    } else {
      EXPECT_NEAR(printed.cx, right * k.zoomX * dpi / (100 * 96), 1);
    }
    if (k.fillsHeight) {
      EXPECT_LE(printed.cy, k.printer.height);
      EXPECT_GT(printed.cy, k.printer.height * 99 / 100);
    } else {
      EXPECT_NEAR(printed.cy, foot * k.zoomY * dpi / (100 * 96), 1);
    }
    EXPECT_NE(page.FindText(platform::Format("S%02d", k.samples)), nullptr);
#ifdef QOVA_RASTER_CANVAS
    const std::string pdf = Artefact(std::string(k.name) + ".pdf");
    EXPECT_TRUE(platform::qt::WritePdf({page}, pdf, k.name));
    (void)std::system(("pdftoppm -png -r 100 -singlefile '" + pdf + "' '" + Artefact(k.name) + "' 2>/dev/null").c_str());
#endif

    // Copy keeps the screen's size, cut to the chart's bounds.
    Command(ID_EDIT_COPY);
    ASSERT_TRUE(Ui().ClipboardPicture().has_value());
    const CSize copied = ChartCorner(*Ui().ClipboardPicture(), lineColour);
    const platform::ui::PixelBox drawn = platform::ui::DrawnBounds(Draw());
    EXPECT_EQ(copied.cx, right * k.zoomX / 100 - drawn.left);
    EXPECT_EQ(copied.cy, foot * k.zoomY / 100 - drawn.top);
  }
}

std::int32_t SignedWord(const std::string& bytes, std::size_t at) { return std::int32_t(Word(bytes, at)); }

// Copy puts on the clipboard the picture that Export Graph's metafile
// bounds: as large as the chart (not the screen it is recorded against),
// with the chart's top-left corner at the picture's, for charts small, zoomed
// and wider than the screen.
TEST_F(GraphExportTest, CopyGivesThePictureWithinTheExportedMetafilesBounds) {
  struct Case {
    const char* name;
    int samples;
    long zoomX, zoomY;
    long numbersX, namesY;  // the chromosome numbers' column and the names' line
  };
  const Case cases[] = {
      {"copy_three_samples", 3, 100, 100, 0, 0},
      {"copy_zoomed", 12, 200, 150, 0, 0},
      {"copy_wider_than_the_screen", 20, 600, 60, 0, 0},
      {"copy_away_from_the_corner", 5, 150, 100, 30, 40},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ASSERT_TRUE(Open(PatternChangeText(k.samples)));
    Layout().zoomX = k.zoomX;
    Layout().zoomY = k.zoomY;
    Layout().chromosomeX = k.numbersX;
    Layout().sampleNameY = k.namesY;
    const std::string emf = Path(std::string(k.name) + ".emf");
    AnswerFileDialog(emf);
    Command(res::kCmdExportGraph);
    std::string bytes;
    ASSERT_TRUE(platform::ReadWholeFile(emf, bytes));
    ASSERT_GE(bytes.size(), 24u);
    const std::int32_t left = SignedWord(bytes, 8), top = SignedWord(bytes, 12);
    const std::int32_t right = SignedWord(bytes, 16), bottom = SignedWord(bytes, 20);
    ASSERT_LT(left, right);
    ASSERT_LT(top, bottom);

    Command(ID_EDIT_COPY);
    ASSERT_TRUE(Ui().ClipboardPicture().has_value());
    const Picture& copied = *Ui().ClipboardPicture();
    EXPECT_EQ(copied.caps.width, right - left + 1);
    EXPECT_EQ(copied.caps.height, bottom - top + 1);
    // The chart keeps its size: each name and the chart's corner move by the
    // bounds' corner alone.
    const Picture screen = Draw();
    for (const int n : {1, k.samples}) {
      const std::string name = platform::Format("S%02d", n);
      const platform::ui::DrawRecord* shown = screen.FindText(name);
      const platform::ui::DrawRecord* pasted = copied.FindText(name);
      ASSERT_NE(shown, nullptr);
      ASSERT_NE(pasted, nullptr);
      EXPECT_EQ(std::pair(pasted->x1, pasted->y1), std::pair(shown->x1 - left, shown->y1 - top)) << name;
    }
    const COLORREF lineColour = Doc().m_pSetting->m_Colour[6];
    const CSize corner = ChartCorner(copied, lineColour), shownCorner = ChartCorner(screen, lineColour);
    EXPECT_EQ(std::pair(corner.cx, corner.cy), std::pair(shownCorner.cx - left, shownCorner.cy - top));
    EXPECT_LT(corner.cx, copied.caps.width);
    EXPECT_LE(corner.cy, copied.caps.height);
#ifdef QOVA_RASTER_CANVAS
    platform::qt::RasterCanvas canvas(copied.caps.width, copied.caps.height);
    copied.ReplayOn(*canvas.Surface());
    EXPECT_TRUE(canvas.SavePng(Artefact(std::string(k.name) + ".png")));
#endif
  }
}

}  // namespace
}  // namespace qova::test
