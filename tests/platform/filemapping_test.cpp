// Read-only mapping of array files.
#include "platform/FileMapping.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/File.h"
#include "tests/support/TempHome.h"

namespace {

using platform::FileMapping;
using platform::MappedView;

class FileMappingTest : public qova::test::TempHomeTest {
 protected:
  static constexpr std::size_t kGranularity = FileMapping::kAllocationGranularity;

  std::string MakeFile(const std::string& name, std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = char((i * 31 + 7) & 0xFF);
    EXPECT_TRUE(platform::WriteWholeFile(Path(name), bytes));
    return bytes;
  }
};

TEST_F(FileMappingTest, MapsWholeFileAndItsLastByte) {
  std::string bytes = MakeFile("A.CEL", 200000);
  FileMapping mapping;
  ASSERT_TRUE(mapping.Open("c:\\a.cel"));
  EXPECT_EQ(mapping.Size(), 200000u);
  MappedView all = mapping.Map(0, bytes.size());
  ASSERT_TRUE(all.IsValid());
  ASSERT_EQ(all.Size(), bytes.size());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(all.Data()), all.Size()), bytes);

  std::uint64_t offset = 3 * kGranularity;
  MappedView tail = mapping.Map(offset, bytes.size() - offset);
  ASSERT_TRUE(tail.IsValid());
  EXPECT_EQ(tail.Data()[tail.Size() - 1], static_cast<std::uint8_t>(bytes.back()));
  EXPECT_EQ(tail.Data()[0], static_cast<std::uint8_t>(bytes[offset]));
}

TEST_F(FileMappingTest, ReleasedPagesReadTheSameBytesAgain) {
  const std::string bytes = MakeFile("big.bin", 3 * kGranularity + 123);
  FileMapping mapping;
  ASSERT_TRUE(mapping.Open(Path("big.bin")));
  const MappedView view = mapping.Map(0, bytes.size());
  ASSERT_TRUE(view.IsValid());
  const auto read = [&] { return std::string(reinterpret_cast<const char*>(view.Data()), view.Size()); };
  ASSERT_EQ(read(), bytes);
  // Unaligned ranges, a range past the end, an empty one and the whole view.
  const std::pair<std::size_t, std::size_t> ranges[] = {
      {7, kGranularity + 5}, {2 * kGranularity - 1, 10 * kGranularity}, {bytes.size() + 10, 4}, {100, 0},
      {0, bytes.size()}};
  for (const auto& [offset, length] : ranges) {
    view.ReleasePages(offset, length);
    EXPECT_EQ(read(), bytes) << offset << " " << length;
  }
}

TEST_F(FileMappingTest, RefusesRangesItCannotServe) {
  MakeFile("b.bin", 2 * kGranularity);
  FileMapping mapping;
  ASSERT_TRUE(mapping.Open(Path("b.bin")));
  struct Case {
    std::uint64_t offset;
    std::size_t length;
    bool valid;
    std::size_t size;
  };
  const Case cases[] = {
      {0, 0, true, 0},
      {2 * kGranularity, 0, true, 0},          // at the very end: empty, not an error
      {2 * kGranularity, 1, false, 0},         // one byte past the end
      {0, 2 * kGranularity + 1, false, 0},
      {kGranularity, kGranularity, true, kGranularity},
      {3 * kGranularity, 0, false, 0},         // beyond the end
      {100, 10, false, 0},                     // not aligned
      {kGranularity, std::size_t(-1), false, 0},  // a length that wraps the offset
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.offset << "+" << c.length);
    MappedView view = mapping.Map(c.offset, c.length);
    EXPECT_EQ(view.IsValid(), c.valid);
    EXPECT_EQ(view.Size(), c.size);
  }
}

TEST_F(FileMappingTest, FileThatShrankAfterOpenIsNotMappedPastItsEnd) {
  MakeFile("c.bin", 3 * kGranularity);
  FileMapping mapping;
  ASSERT_TRUE(mapping.Open(Path("c.bin")));
  ASSERT_EQ(::truncate(Path("c.bin").c_str(), 10), 0);
  EXPECT_FALSE(mapping.Map(0, 3 * kGranularity).IsValid());
  MappedView small = mapping.Map(0, 10);
  ASSERT_TRUE(small.IsValid());
  EXPECT_EQ(small.Data()[9], std::uint8_t((9 * 31 + 7) & 0xFF));
}

TEST_F(FileMappingTest, OpenFailsCleanly) {
  FileMapping mapping;
  EXPECT_FALSE(mapping.Open("c:\\missing.cel"));
  EXPECT_FALSE(mapping.IsOpen());
  EXPECT_FALSE(mapping.Map(0, 0).IsValid());
  EXPECT_FALSE(mapping.Open("c:\\"));
  MakeFile("empty.cel", 0);
  ASSERT_TRUE(mapping.Open("c:\\EMPTY.CEL"));
  EXPECT_EQ(mapping.Size(), 0u);
  EXPECT_TRUE(mapping.Map(0, 0).IsValid());
  EXPECT_FALSE(mapping.Map(0, 1).IsValid());
}

TEST_F(FileMappingTest, ViewsAndMappingsMoveAndOutliveNothing) {
  std::string bytes = MakeFile("d.bin", 1000);
  FileMapping first;
  ASSERT_TRUE(first.Open(Path("d.bin")));
  FileMapping second(std::move(first));
  EXPECT_FALSE(first.IsOpen());
  ASSERT_TRUE(second.IsOpen());
  MappedView view = second.Map(0, 1000);
  MappedView moved;
  moved = std::move(view);
  EXPECT_FALSE(view.IsValid());
  EXPECT_EQ(view.Data(), nullptr);
  ASSERT_TRUE(moved.IsValid());
  second.Close();
  // A view stays readable after its mapping object closes the file.
  EXPECT_EQ(moved.Data()[999], static_cast<std::uint8_t>(bytes[999]));
  moved.Reset();
  EXPECT_FALSE(moved.IsValid());
  EXPECT_EQ(moved.Size(), 0u);
}

}  // namespace
