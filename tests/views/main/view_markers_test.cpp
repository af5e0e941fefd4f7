// Marking with the mouse and the marker commands, as a user runs them on a
// copy of the demo: Mark stores the extracted sample, the shown result and the
// sample's other result with the new region (and a picture of chromosome 8
// shows its stroke), EditMarker edits the list (read-only on a result shown
// alone), the marker list file round-trips through save and load, and a store
// that fails names its file and keeps the old one.
#include <gmock/gmock.h>

#include <sys/stat.h>
#include <unistd.h>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/App.h"
#include "platform/ui/Headless.h"
#include "resources/CommandIds.h"
#include "resources/MarkerDialogs.h"
#include "tests/views/ViewToolTestSupport.h"
#include "views/main/MarkerListFile.h"
#ifdef QOVA_RASTER_CANVAS
#include "platform/qt/RasterCanvas.h"
#endif

using namespace qova::views::main;
namespace views = qova::views;

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using platform::ui::Headless;

class ViewMarkerTest : public ViewToolTest {
 protected:
  ~ViewMarkerTest() override {
    platform::SetAtomicStageHook(nullptr);
    if (!root_.empty()) ::chmod((root_ + "Results").c_str(), 0755);
  }

  // The copy, with Tumour01's non-self result beside its self result, and
  // Tumour01 shown from its self result with its extracted sample.
  void ShowTumour01() {
    root_ = OwnCopy();
    {
      // The Sample Manager's automatic analysis: references chosen, then non-self.
      CQOVADoc other(global_);
      other.RunSampleAction("Tumour01", kActionAutomaticAnalysis);
    }
    EXPECT_TRUE(platform::FileExists(Result(".CFN")));
    OpenCopy(root_, "Tumour01", ".CFS");
  }
  [[nodiscard]] std::string Result(const char* extension) const { return root_ + "Results/Tumour01" + extension; }
  [[nodiscard]] std::string Sample() const { return root_ + "ArrayData/Tumour01.CFH"; }
  // The markers each of the three files holds.
  [[nodiscard]] std::vector<MarkerRegionList> StoredMarkers() const {
    CArrayData sample;
    sample.LoadFile(Sample());
    CAnalyzedData self, other;
    self.LoadFileAllocating(Result(".CFS"));
    other.LoadFileAllocating(Result(".CFN"));
    return {sample.Markers, self.Markers, other.Markers};
  }
  // Marks slots under `from`..`to` as user marker `number`.
  void Mark(CQOVAView& view, CPoint from, CPoint to, int number) {
    Headless().OnDialog(res::kMarkSetDialog, [number](DialogDriver& d) {
      d.Click(res::kMarkSetUserRadio).Select(res::kMarkSetUserNumbers, number).Ok();
    });
    view.OnParameterMark();
    Drag(view, from, to);
  }

  std::string root_;
};

TEST_F(ViewMarkerTest, MarkStoresTheRegionInTheSampleAndBothResultsAndThePictureShowsIt) {
  ShowTumour01();
  CQOVAView& view = NewView();
  // Over the gain planted on 40 % to 95 % of chromosome 8.
  const int length = End(8) - First(8);
  const CPoint from = Over(view, 8, First(8) + length / 2), to = Over(view, 8, First(8) + length * 3 / 4);
  const int lo = SlotAt(view, from), hi = SlotAt(view, to);
  // The analysis left a region of its own on the sample; the new one follows it.
  MarkerRegionList marked = doc_->ArrayData.Markers;
  marked.push_back({8, lo, hi, 33});
  int openedKind = -1;
  bool hmmChecked = false;
  Headless().OnDialog(res::kMarkSetDialog, [&](DialogDriver& d) {
    hmmChecked = d.IsChecked(res::kMarkSetHmmRadio);
    openedKind = d.CurSel(res::kMarkSetHmmNumbers);
    d.Click(res::kMarkSetUserRadio).Select(res::kMarkSetUserNumbers, 1).Ok();
  });
  view.OnParameterMark();
  Drag(view, from, to);
  // The dialog opened on the state shown at the first slot.
  EXPECT_TRUE(hmmChecked);
  EXPECT_EQ(openedKind, view.m_pCopyNumberState[std::size_t(lo)]);
  EXPECT_EQ(doc_->ArrayData.Markers, marked);
  EXPECT_EQ(doc_->AnalyzedData.Markers, marked);
  EXPECT_EQ(StoredMarkers(), (std::vector<MarkerRegionList>{marked, marked, marked}));
  EXPECT_EQ(view.m_nMouseMode, MOUSE_NONE);
  EXPECT_TRUE(view.m_bDataShown);
  EXPECT_TRUE(messages_.Texts().empty()) << messages_.Texts()[0];

  // Chromosome 8 with the markers' panel on: one stroke of user marker 1.
  view.m_pDisplaySetting->ITEMS.SELF |= 0x800;
  view.m_nViewFlags |= VIEW_ONE_CHROMOSOME;
  view.m_nChromosome = 8;
  view.OnUpdate(nullptr, 0, nullptr);
  EXPECT_EQ(CountOf(Draw(view), platform::ui::DrawOp::Line, view.m_pDisplaySetting->MARKER.COL[1]), 1u);
#ifdef QOVA_RASTER_CANVAS
  const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "artefacts" / "views";
  std::filesystem::create_directories(folder);
  platform::qt::RasterCanvas canvas(kCanvasWidth, kCanvasHeight);
  view.OnDraw(&canvas);
  EXPECT_TRUE(canvas.SavePng((folder / "Tumour01_marked_chr8.png").string()));
#endif
}

TEST_F(ViewMarkerTest, EditMarkerTakesTheEditedListAndIsReadOnlyOnAResultShownAlone) {
  ShowTumour01();
  CQOVAView& shown = FramedView();
  doc_->ArrayData.Markers = {{1, 10, 20, 33}, {3, First(3) + 5, First(3) + 50, 1}, {8, First(8), First(8) + 9, 35}};
  doc_->AnalyzedData.Markers = doc_->ArrayData.Markers;
  shown.OnUpdate(nullptr, 0, nullptr);
  EXPECT_TRUE(Frame().IsCommandEnabled(res::kCmdEditMarker));
  std::vector<std::string> lines;
  Headless().OnDialog(res::kMarkerEditDialog, [&](DialogDriver& d) {
    lines = d.Items(res::kMarkerEditList);
    d.Select(res::kMarkerEditList, 1).Click(res::kMarkerEditDelete).Ok();
  });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdEditMarker));
  EXPECT_EQ(lines.size(), 3u);
  const MarkerRegionList kept = {{1, 10, 20, 33}, {8, First(8), First(8) + 9, 35}};
  EXPECT_EQ(StoredMarkers(), (std::vector<MarkerRegionList>{kept, kept, kept}));
  // The state marker went: the shown states are the HMM's again there.
  EXPECT_EQ(shown.m_pCopyNumberState[std::size_t(First(3) + 5)],
            doc_->AnalyzedData.CopyNumberState[std::size_t(First(3) + 5)]);

  // The result alone: the editor shows its markers, OK cannot be pressed, nothing is written.
  doc_->Status = kStatusSingle;
  shown.OnUpdate(nullptr, 0, nullptr);
  ASSERT_TRUE(shown.m_nViewFlags & VIEW_NOT_ANALYSIS);
  const std::string before = Bytes(Sample());
  bool okEnabled = true, editEnabled = true;
  Headless().OnDialog(res::kMarkerEditDialog, [&](DialogDriver& d) {
    okEnabled = d.IsEnabled(IDOK);
    editEnabled = d.IsEnabled(res::kMarkerEditDelete);
    lines = d.Items(res::kMarkerEditList);
    d.Cancel();
  });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdEditMarker));
  EXPECT_FALSE(okEnabled);
  EXPECT_FALSE(editEnabled);
  EXPECT_EQ(lines.size(), 2u);
  EXPECT_EQ(Bytes(Sample()), before);
  // Neither the grid nor a view without data offers it.
  shown.m_nViewFlags |= VIEW_MULTIPLE;
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdEditMarker));
  shown.m_nViewFlags &= ~VIEW_MULTIPLE;
  shown.m_bDataShown = FALSE;
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdEditMarker));
}

// The list file: regions whose ends lie on SNPs come back as they were, other
// ends move inward to the nearest SNP, bad lines are skipped.
TEST_F(ViewMarkerTest, TheMarkerListReadsBackOnTheSnpsAndSkipsWhatFitsNoChromosome) {
  const CBasicData& table = global_.BasicData[0];
  const SlotPosition position = IndexMapPositions(table);
  const ChromosomeStartRow starts(qova::core::kArrayChromosomeStarts[0], qova::core::kChromosomeTableSlots);
  const MarkerRegionList regions = {{2, First(2) + 3, First(2) + 40, 33}, {23, First(23), End(23) - 1, 2},
                                    {7, First(7) + 100, First(7) + 100, 38}};
  const std::string text = MarkerListText(regions, position);
  EXPECT_EQ(text.substr(0, text.find('\n') + 1),
            platform::Format("33\t2\t%d\t%d\n", PositionOfSlot(First(2) + 3), PositionOfSlot(First(2) + 40)));
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(ReadMarkerList(text, starts, position).regions, regions);

  const int p10 = PositionOfSlot(First(4) + 10), p11 = PositionOfSlot(First(4) + 11);
  const int p20 = PositionOfSlot(First(4) + 20), p21 = PositionOfSlot(First(4) + 21);
  ASSERT_LT(p10 + 1, p11);
  ASSERT_LT(p20 + 1, p21);
  const std::string edited = platform::Format(
      "34\t4\t%d\t%d\r\n"       // between SNPs: moved inward
      "33\t24\t100\t200\n"      // no such chromosome
      "33\t0\t100\t200\n"
      "33\t4\t%d\t%d\n"         // between two neighbouring SNPs: no SNP inside
      "35\t\t\t4\t%d\t%d\n"     // runs of tabs are one separator
      "\n"
      "33\t4\t999999999\t999999999\n",  // beyond the chromosome's last SNP
      p10 + 1, p21 - 1, p10 + 1, p11 - 1, p10, p20);
  const MarkerListReading reading = ReadMarkerList(edited, starts, position);
  EXPECT_EQ(reading.regions, (MarkerRegionList{{4, First(4) + 11, First(4) + 20, 34}, {4, First(4) + 10, First(4) + 20, 35}}));
  std::vector<std::pair<int, std::string>> skipped;
  for (const SkippedMarkerLine& line : reading.skipped) skipped.emplace_back(line.line, line.why);
  EXPECT_EQ(skipped, (std::vector<std::pair<int, std::string>>{
                         {2, "chromosome 24 is not 1 to 23"},
                         {3, "chromosome 0 is not 1 to 23"},
                         {4, platform::Format("no SNP of chromosome 4 lies from %d to %d", p10 + 1, p11 - 1)},
                         {7, "no SNP of chromosome 4 lies from 999999999 to 999999999"}}));
}

// A file that is no list at all must not make a box screens long.
TEST_F(ViewMarkerTest, TheLinesLeftOutAreListedTwelveAtMostAndCutToSixtyCharacters) {
  std::vector<SkippedMarkerLine> skipped;
  for (int k = 1; k <= 14; ++k) skipped.push_back({k, "x\ty", "why"});
  skipped[0].text = std::string(59, 'a') + "\tbc";
  const std::string text = SkippedLinesText(skipped);
  const std::vector<std::string> lines = platform::SplitLines(text);
  ASSERT_EQ(lines.size(), 13u) << text;
  EXPECT_EQ(lines[0], "line 1: " + std::string(59, 'a') + " ... (why)");
  EXPECT_EQ(lines[11], "line 12: x y (why)");
  EXPECT_EQ(lines[12], "... and 2 more lines");
  skipped.resize(12);
  EXPECT_EQ(platform::SplitLines(SkippedLinesText(skipped)).back(), "line 12: x y (why)");
}

TEST_F(ViewMarkerTest, SaveThenLoadThroughTheCommandsReplacesTheListAndStoresIt) {
  ShowTumour01();
  CQOVAView& view = FramedView();
  doc_->ArrayData.Markers = {{5, First(5) + 2, First(5) + 30, 36}, {12, First(12) + 7, First(12) + 8, 3}};
  doc_->AnalyzedData.Markers = doc_->ArrayData.Markers;
  const MarkerRegionList saved = doc_->ArrayData.Markers;
  const std::string list = Path("markers.txt");
  std::vector<bool> opens;
  Headless().OnFileDialog([&](platform::ui::FileDialogRequest& r) {
    opens.push_back(r.open);
    EXPECT_NE(r.flags & OFN_OVERWRITEPROMPT, 0u);
    r.chosen = {list};
    return true;
  });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdSaveMarkerList));
  ASSERT_TRUE(platform::FileExists(list));
  // A different list in memory; the load replaces it, and the files take it.
  doc_->ArrayData.Markers = {{1, 1, 2, 33}};
  doc_->AnalyzedData.Markers = doc_->ArrayData.Markers;
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdLoadMarkerList));
  EXPECT_EQ(opens, (std::vector<bool>{false, true}));
  EXPECT_EQ(doc_->ArrayData.Markers, saved);
  EXPECT_EQ(StoredMarkers(), (std::vector<MarkerRegionList>{saved, saved, saved}));
  // The state marker is laid over the shown states at once.
  EXPECT_EQ(view.m_pCopyNumberState[std::size_t(First(12) + 7)], 3);

  // A file that cannot be read is named and changes nothing.
  Headless().OnFileDialog([&](platform::ui::FileDialogRequest& r) {
    r.chosen = {Path("missing.txt")};
    return true;
  });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdLoadMarkerList));
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_THAT(messages_.Texts()[0], ::testing::HasSubstr("missing.txt"));
  EXPECT_EQ(doc_->ArrayData.Markers, saved);

  // Loading needs the extracted sample; saving does not.
  doc_->Status = kStatusSingle;
  view.OnUpdate(nullptr, 0, nullptr);
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdLoadMarkerList));
  EXPECT_TRUE(Frame().IsCommandEnabled(res::kCmdSaveMarkerList));
}

// A list that cannot be saved is named as it is on disk, with why.
TEST_F(ViewMarkerTest, AMarkerListThatCannotBeSavedIsNamedWithWhy) {
  ShowTumour01();
  FramedView();
  ASSERT_TRUE(platform::CreateFolders(Path("taken.txt/")));
  const struct {
    std::string chosen;
    std::string told;
  } cases[] = {
      {Path("gone/deeper/markers.txt"), "The marker list " + Path("gone/deeper/markers.txt") +
                                            " cannot be written: the folder " + Path("gone/") + " does not exist"},
      {Path("Taken.TXT"), "The marker list " + Path("taken.txt") + " cannot be written: Access to " +
                              Path("taken.txt") + " was denied."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    Headless().OnFileDialog([&c](platform::ui::FileDialogRequest& r) {
      r.chosen = {c.chosen};
      return true;
    });
    messages_.Clear();
    ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdSaveMarkerList));
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{c.told});
  }
  EXPECT_FALSE(platform::FolderExists(Path("gone")));
}

// A saved list loads back whole; a list mixing lines that hold a region with
// lines that cannot: the regions are loaded and stored, the others named in
// one box; a list of which no line can be read leaves the markers and the
// files as they were, and an empty list is the list of a sample without
// markers.
TEST_F(ViewMarkerTest, LoadingAMarkerListLeavesOutAndNamesTheLinesItCannotRead) {
  ShowTumour01();
  FramedView();
  const int p10 = PositionOfSlot(First(4) + 10), p11 = PositionOfSlot(First(4) + 11);
  const int p20 = PositionOfSlot(First(4) + 20);
  const std::string range = platform::Format("\t%d\t%d", p10, p20);
  const struct {
    std::string line;
    std::optional<MarkerRegion> region;  // or the line is left out, for `why`
    std::string why;
  } cases[] = {
      {"3\t4" + range, MarkerRegion{4, First(4) + 10, First(4) + 20, 3}, ""},
      {"text", std::nullopt, "not four numbers separated by tabs"},
      {"33\t99" + range, std::nullopt, "chromosome 99 is not 1 to 23"},
      {platform::Format("33\t4\t%d\t%d", p20, p10), std::nullopt,
       platform::Format("the start %d lies after the end %d", p20, p10)},
      {platform::Format("33 4 %d %d", p10, p20), std::nullopt, "not four numbers separated by tabs"},
      {"33\t4\t1e300" + platform::Format("\t%d", p20), std::nullopt, "field 3 is not a whole number that fits an int"},
      {"-5\t4" + range, std::nullopt, "kind -5 is neither an HMM state 0 to 6 nor a user marker 32 to 39"},
      {"999999999999\t4" + range, std::nullopt, "field 1 is not a whole number that fits an int"},
      {"39\t12" + platform::Format("\t%d\t%d", PositionOfSlot(First(12) + 7), PositionOfSlot(First(12) + 8)),
       MarkerRegion{12, First(12) + 7, First(12) + 8, 39}, ""},
      {"7\t4" + range, std::nullopt, "kind 7 is neither an HMM state 0 to 6 nor a user marker 32 to 39"},
      {"40\t4" + range, std::nullopt, "kind 40 is neither an HMM state 0 to 6 nor a user marker 32 to 39"},
      {platform::Format("33\t4\t%d\t%d", p10 + 1, p11 - 1), std::nullopt,
       platform::Format("no SNP of chromosome 4 lies from %d to %d", p10 + 1, p11 - 1)},
      {"", std::nullopt, ""},  // blank: passed over
      {"33\t4\t100", std::nullopt, "not four numbers separated by tabs"},
      {"+32\t23\t0" + platform::Format("\t%d", PositionOfSlot(First(23) + 3)),
       MarkerRegion{23, First(23), First(23) + 3, 32}, ""},
  };
  std::string list, told;
  MarkerRegionList loaded;
  int number = 0;
  for (const auto& c : cases) {
    list += c.line + "\n";
    ++number;
    if (c.region) loaded.push_back(*c.region);
    if (c.why.empty()) continue;
    std::string shown = c.line;
    std::replace(shown.begin(), shown.end(), '\t', ' ');
    told += platform::Format("\nline %d: %s (%s)", number, shown.c_str(), c.why.c_str());
  }
  const auto load = [&](const std::string& text) {
    EXPECT_TRUE(platform::WriteWholeFile(Path("markers.txt"), text));
    Headless().OnFileDialog([&](platform::ui::FileDialogRequest& r) {
      r.chosen = {Path("markers.txt")};
      return true;
    });
    messages_.Clear();
    EXPECT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdLoadMarkerList));
  };
  // The list of the region the analysis left (user marker 7) loads back whole.
  const MarkerRegionList analysed = doc_->ArrayData.Markers;
  ASSERT_EQ(analysed.size(), 1u);
  EXPECT_EQ(analysed[0].Kind, MarkerRegion::kUserMarkerBase + 7);
  Headless().OnFileDialog([&](platform::ui::FileDialogRequest& r) {
    r.chosen = {Path("saved.txt")};
    return true;
  });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdSaveMarkerList));
  doc_->ArrayData.Markers.clear();
  load(Bytes(Path("saved.txt")));
  EXPECT_TRUE(messages_.Texts().empty()) << messages_.Texts()[0];
  EXPECT_EQ(StoredMarkers(), (std::vector<MarkerRegionList>{analysed, analysed, analysed}));

  load(list);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"These lines of the marker list " + Path("markers.txt") +
                                                        " could not be read and are left out:" + told});
  EXPECT_EQ(doc_->ArrayData.Markers, loaded);
  EXPECT_EQ(StoredMarkers(), (std::vector<MarkerRegionList>{loaded, loaded, loaded}));

  const std::string sample = Bytes(Sample()), self = Bytes(Result(".CFS")), other = Bytes(Result(".CFN"));
  load("text\n33\t99" + range + "\n");
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"No line of the marker list " + Path("markers.txt") +
                                                        " can be read; the markers are left as they were:\n"
                                                        "line 1: text (not four numbers separated by tabs)\n"
                                                        "line 2: 33 99" + platform::Format(" %d %d", p10, p20) +
                                                        " (chromosome 99 is not 1 to 23)"});
  EXPECT_EQ(doc_->ArrayData.Markers, loaded);
  EXPECT_EQ(doc_->AnalyzedData.Markers, loaded);
  EXPECT_TRUE(Bytes(Sample()) == sample && Bytes(Result(".CFS")) == self && Bytes(Result(".CFN")) == other)
      << "a file of which no line can be read was stored";

  load("\n");
  EXPECT_TRUE(messages_.Texts().empty()) << messages_.Texts()[0];
  EXPECT_EQ(StoredMarkers(), (std::vector<MarkerRegionList>{{}, {}, {}}));
}

TEST_F(ViewMarkerTest, AStoreIntoAReadOnlyResultsFolderNamesTheFileKeepsItAndKeepsTheMarkers) {
  ShowTumour01();
  CQOVAView& view = NewView();
  const std::string before = Bytes(Result(".CFS"));
  ::chmod((root_ + "Results").c_str(), 0555);
  // Permissions do not stop the superuser: the replace fails where they would.
  if (::geteuid() == 0) {
    platform::SetAtomicStageHook([](platform::AtomicStage stage, const std::string& target) {
      if (stage == platform::AtomicStage::TempCreated && target.find("/Results/") != std::string::npos)
        throw CFileException(CFileException::accessDenied, EACCES, target);
    });
  }
  const CPoint from = Over(view, 8, First(8) + 100), to = Over(view, 8, First(8) + 200);
  MarkerRegionList marked = doc_->ArrayData.Markers;
  marked.push_back({8, SlotAt(view, from), SlotAt(view, to), 34});
  Mark(view, from, to, 2);
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_THAT(messages_.Texts()[0], ::testing::HasSubstr(platform::NativePath(Result(".CFS"))));
  EXPECT_EQ(Bytes(Result(".CFS")), before);
  EXPECT_EQ(doc_->ArrayData.Markers, marked);
  EXPECT_EQ(doc_->AnalyzedData.Markers, marked);
}

}  // namespace
}  // namespace qova::test
