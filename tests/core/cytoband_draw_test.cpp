// The ideogram of one chromosome on the recording canvas: one 70-unit
// rectangle per band in its stain colour, across SNP slots or positions.
#include <gtest/gtest.h>

#include <vector>

#include "core/Cytoband.h"
#include "platform/ui/RecordingCanvas.h"

namespace {

using platform::ui::DrawOp;
using platform::ui::DrawRecord;
using platform::ui::RecordingCanvas;

// Chromosome 1 with three bands (the middle one holds no SNP), chromosome 2
// with one.
CCytoband Bands() {
  CCytoband t;
  t.BandCount = 4;
  t.BandStart = {1, 1001, 2001, 1};
  t.BandEnd = {1000, 2000, 5000, 9000};
  t.BandCode = {CCytoband::EncodeBand(true, 1, 0), CCytoband::EncodeBand(true, 0, 0),
                CCytoband::EncodeBand(false, 1, 1), CCytoband::EncodeBand(false, 2, 0)};
  t.BandStain = {4, 5, 0, 2};
  t.BandFirstSnp = {0, 7, 7, 20};
  t.BandLastSnp = {6, 6, 19, 30};
  t.ChromosomeFirstBand[1] = 0;
  t.ChromosomeFirstBand[2] = 3;
  for (int c = 3; c < CCytoband::kChromosomeSlots; ++c) t.ChromosomeFirstBand[c] = 4;
  return t;
}

std::vector<DrawRecord> Rectangles(const RecordingCanvas& canvas) {
  std::vector<DrawRecord> rects;
  for (const DrawRecord& r : canvas.Records()) {
    if (r.op == DrawOp::Rectangle) rects.push_back(r);
  }
  return rects;
}

TEST(CytobandDrawTest, PositionModeDrawsEachBandAtPositionOverTen) {
  RecordingCanvas canvas(2000, 1000);
  Bands().Draw(&canvas, 1, 40, 300, TRUE);
  const std::vector<DrawRecord> rects = Rectangles(canvas);
  ASSERT_EQ(rects.size(), 3u);
  const struct {
    CRect rect;
    int stain;
  } expected[] = {
      {CRect(40, 300, 140, 370), 4},
      {CRect(140, 300, 240, 370), 5},
      {CRect(240, 300, 540, 370), 0},
  };
  for (std::size_t i = 0; i < rects.size(); ++i) {
    EXPECT_EQ(rects[i].Rect(), expected[i].rect) << i;
    EXPECT_EQ(rects[i].fill, CCytoband::kStainColors[expected[i].stain]) << i;
    EXPECT_EQ(rects[i].color, CCytoband::kStainColors[expected[i].stain]) << i;
  }
}

TEST(CytobandDrawTest, SnpModeSkipsBandsWithoutSnps) {
  RecordingCanvas canvas(2000, 1000);
  Bands().Draw(&canvas, 1, 5, 0, FALSE);
  const std::vector<DrawRecord> rects = Rectangles(canvas);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].Rect(), CRect(5, 0, 11, 70));
  EXPECT_EQ(rects[1].Rect(), CRect(12, 0, 24, 70));
  EXPECT_EQ(rects[1].fill, CCytoband::kStainColors[0]);

  canvas.Clear();
  Bands().Draw(&canvas, 2, 0, 0, FALSE);
  ASSERT_EQ(Rectangles(canvas).size(), 1u);
  EXPECT_EQ(Rectangles(canvas)[0].Rect(), CRect(20, 0, 30, 70)) << "only the chromosome's own bands";

  canvas.Clear();
  Bands().Draw(&canvas, 24, 0, 0, FALSE);
  Bands().Draw(&canvas, 0, 0, 0, TRUE);
  EXPECT_TRUE(canvas.Records().empty());
}

}  // namespace
