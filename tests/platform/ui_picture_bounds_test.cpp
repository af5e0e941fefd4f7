// The bounds of what a recorded picture draws, and the picture cut to them:
// each kind of record moved by the bounds' corner alone, the sizes of texts
// and the clips they keep as they were drawn.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/ui/PictureBounds.h"

namespace qova::test {
namespace {

using namespace platform::ui;

DrawRecord Record(DrawOp op, int x1, int y1, int x2, int y2) {
  DrawRecord r;
  r.op = op;
  std::tie(r.x1, r.y1, r.x2, r.y2) = std::tuple(x1, y1, x2, y2);
  return r;
}

TEST(PictureBoundsTest, APictureCutToItsDrawingMovesEveryRecordByTheBoundsCorner) {
  // A text 30 wide and 10 high at (100, 50), turned by 90 degrees: it rises
  // from its corner, clipped to a box around it.
  Picture turned;
  DeviceFont font;
  font.escapement = 900;
  turned.fonts.push_back(font);
  turned.texts = "S01";
  DrawRecord text = Record(DrawOp::Text, 100, 50, 30, 10);
  text.textLength = 3;
  text.clip = 1;
  turned.records.push_back(text);
  turned.clips.push_back(CRect(90, 10, 120, 60));
  Picture mixed;
  mixed.records = {Record(DrawOp::FillRect, 10, 20, 30, 25), Record(DrawOp::Line, 5, 40, 50, 40),
                   Record(DrawOp::Invert, 60, 60, 60, 70)};  // an empty inversion draws nothing
  Picture pixel;
  pixel.records = {Record(DrawOp::Pixel, 7, 9, 0, 0)};
  struct Case {
    const char* name;
    const Picture& picture;
    std::tuple<long long, long long, long long, long long> bounds;
    std::vector<std::tuple<int, int, int, int>> moved;  // x1, y1, x2, y2 of each record after the cut
  };
  const Case cases[] = {
      {"a pixel", pixel, {7, 9, 7, 9}, {{0, 0, 0, 0}}},
      {"a fill, a line and an empty inversion", mixed, {5, 20, 50, 40}, {{5, 0, 25, 5}, {0, 20, 45, 20}, {55, 40, 55, 50}}},
      {"a turned text", turned, {100, 20, 110, 50}, {{0, 30, 30, 10}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const PixelBox box = DrawnBounds(k.picture);
    EXPECT_EQ(std::tuple(box.left, box.top, box.right, box.bottom), k.bounds);
    const Picture cut = CutToDrawing(k.picture);
    EXPECT_EQ(cut.caps.width, std::get<2>(k.bounds) - std::get<0>(k.bounds) + 1);
    EXPECT_EQ(cut.caps.height, std::get<3>(k.bounds) - std::get<1>(k.bounds) + 1);
    ASSERT_EQ(cut.records.size(), k.moved.size());
    for (std::size_t i = 0; i < k.moved.size(); ++i)
      EXPECT_EQ(std::tuple(cut.records[i].x1, cut.records[i].y1, cut.records[i].x2, cut.records[i].y2), k.moved[i]) << i;
  }
  const Picture cut = CutToDrawing(turned);
  ASSERT_EQ(cut.clips.size(), 1u);
  EXPECT_EQ(cut.clips[0], CRect(-10, -10, 20, 40));
  EXPECT_EQ(cut.TextOf(cut.records[0]), "S01");
  // Nothing drawn: nothing to paste.
  const Picture empty = CutToDrawing(Picture{});
  EXPECT_EQ(std::pair(empty.caps.width, empty.caps.height), std::pair(0, 0));
}

}  // namespace
}  // namespace qova::test
