// The archive encoding of the program's own files, byte for byte.
#include "platform/Archive.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <limits>
#include <new>

#include "platform/ByteOrder.h"
#include "tests/support/TempHome.h"

// Records the largest allocation while a test asks for it, so a test can show
// that a hostile length is refused before anything is allocated for it.
namespace {
std::atomic<bool> g_trackAllocations{false};
std::atomic<std::size_t> g_largestAllocation{0};
}  // namespace

__attribute__((noinline)) void* operator new(std::size_t size) {
  if (g_trackAllocations.load(std::memory_order_relaxed)) {
    std::size_t seen = g_largestAllocation.load();
    while (size > seen && !g_largestAllocation.compare_exchange_weak(seen, size)) {
    }
  }
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept { std::free(p); }
// The nothrow forms too (the standard library's temporary buffers use them), so
// that every allocation of the program pairs with the delete above.
__attribute__((noinline)) void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return ::operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
__attribute__((noinline)) void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

std::string Stored(const std::function<void(CArchive&)>& write) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  write(ar);
  ar.Close();
  return file.Bytes();
}

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(char(v));
  return out;
}

CArchiveException::Cause CauseOfLoading(const std::string& bytes, const std::function<void(CArchive&)>& read) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  try {
    read(ar);
  } catch (const CArchiveException& e) {
    return e.m_cause;
  }
  return CArchiveException::none;
}

std::string ReadString(const std::string& bytes) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  std::string s;
  ar >> s;
  EXPECT_EQ(ar.BytesLeft(), 0u) << "the string did not consume exactly its bytes";
  return s;
}

TEST(ArchiveTest, NumbersAreLittleEndianWithoutPadding) {
  std::string bytes = Stored([](CArchive& ar) {
    ar << std::uint8_t(0x81) << std::int8_t(-2) << 'Q' << true << false;
    ar << std::uint16_t(0x1234) << std::int16_t(-2);
    ar << std::uint32_t(0x89ABCDEF) << std::int32_t(-3);
    ar << std::uint64_t(0x0102030405060708ull) << std::int64_t(-4);
    ar << 1.5f << -2.0;
  });
  std::string expected = Bytes({0x81, 0xFE, 'Q', 1, 0, 0x34, 0x12, 0xFE, 0xFF, 0xEF, 0xCD, 0xAB, 0x89,
                                0xFD, 0xFF, 0xFF, 0xFF, 8, 7, 6, 5, 4, 3, 2, 1,
                                0xFC, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                0x00, 0x00, 0xC0, 0x3F, 0, 0, 0, 0, 0, 0, 0x00, 0xC0});
  EXPECT_EQ(bytes, expected);

  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  std::uint8_t u8; std::int8_t i8; char c; bool t, f;
  std::uint16_t u16; std::int16_t i16; std::uint32_t u32; std::int32_t i32;
  std::uint64_t u64; std::int64_t i64; float fl; double d;
  ar >> u8 >> i8 >> c >> t >> f >> u16 >> i16 >> u32 >> i32 >> u64 >> i64 >> fl >> d;
  EXPECT_EQ(u8, 0x81); EXPECT_EQ(i8, -2); EXPECT_EQ(c, 'Q'); EXPECT_TRUE(t); EXPECT_FALSE(f);
  EXPECT_EQ(u16, 0x1234); EXPECT_EQ(i16, -2); EXPECT_EQ(u32, 0x89ABCDEFu); EXPECT_EQ(i32, -3);
  EXPECT_EQ(u64, 0x0102030405060708ull); EXPECT_EQ(i64, -4); EXPECT_EQ(fl, 1.5f); EXPECT_EQ(d, -2.0);
  EXPECT_EQ(ar.BytesLeft(), 0u);
}

TEST(ArchiveTest, AnyNonZeroByteReadsAsTrue) {
  CMemFile file(Bytes({0, 1, 2, 0xFF}));
  CArchive ar(&file, CArchive::load);
  bool v[4];
  ar >> v[0] >> v[1] >> v[2] >> v[3];
  EXPECT_FALSE(v[0]);
  EXPECT_TRUE(v[1]);
  EXPECT_TRUE(v[2]);
  EXPECT_TRUE(v[3]);
}

struct PrefixCase {
  std::uint64_t length;
  std::string prefix;
};

TEST(ArchiveTest, StringLengthPrefixGrowsAtEachBoundary) {
  const PrefixCase cases[] = {
      {0, Bytes({0x00})},
      {1, Bytes({0x01})},
      {254, Bytes({0xFE})},
      {255, Bytes({0xFF, 0xFF, 0x00})},
      {256, Bytes({0xFF, 0x00, 0x01})},
      {65533, Bytes({0xFF, 0xFD, 0xFF})},
      {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
      {65535, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
      {65536, Bytes({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00})},
      {100000, Bytes({0xFF, 0xFF, 0xFF, 0xA0, 0x86, 0x01, 0x00})},
  };
  for (const PrefixCase& c : cases) {
    SCOPED_TRACE(c.length);
    std::string text(c.length, 'x');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = char('a' + i % 26);
    std::string bytes = Stored([&](CArchive& ar) { ar << text; });
    ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
    EXPECT_EQ(bytes.substr(0, c.prefix.size()), c.prefix);
    EXPECT_EQ(bytes.substr(c.prefix.size()), text);
    EXPECT_EQ(ReadString(bytes), text);
  }
}

TEST(ArchiveTest, LengthsFromFourGigabytesUseTheSixtyFourBitPrefix) {
  const PrefixCase cases[] = {
      {0xFFFFFFFEull, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF})},
      {0xFFFFFFFFull, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0})},
      {0x123456789ull, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x89, 0x67, 0x45, 0x23, 1, 0, 0, 0})},
  };
  for (const PrefixCase& c : cases) {
    SCOPED_TRACE(c.length);
    std::string bytes = Stored([&](CArchive& ar) { ar.WriteStringLength(c.length); });
    EXPECT_EQ(bytes, c.prefix);
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    bool wide = true;
    EXPECT_EQ(ar.ReadStringLength(wide), c.length);
    EXPECT_FALSE(wide);
  }
}

TEST(ArchiveTest, WideStringIsReadAndNarrowed) {
  // 0xFF, 0xFFFE announces 16-bit units, then the usual prefix counts them.
  std::string shortForm = Bytes({0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b', 0, 0xE9, 0});
  EXPECT_EQ(ReadString(shortForm), "ab\xE9");

  std::string unitAboveByte = Bytes({0xFF, 0xFE, 0xFF, 0x02, 'x', 0, 0x3A, 0x04});
  EXPECT_EQ(ReadString(unitAboveByte), "x?");

  std::string longForm = Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01});
  for (int i = 0; i < 300; ++i) platform::AppendLE16(longForm, std::uint16_t('A' + i % 26));
  std::string expected;
  for (int i = 0; i < 300; ++i) expected.push_back(char('A' + i % 26));
  EXPECT_EQ(ReadString(longForm), expected);

  std::string empty = Bytes({0xFF, 0xFE, 0xFF, 0x00, 'n'});
  CMemFile file(empty);
  CArchive ar(&file, CArchive::load);
  std::string s = "old";
  char next = 0;
  ar >> s >> next;
  EXPECT_EQ(s, "");
  EXPECT_EQ(next, 'n');
}

TEST(ArchiveTest, SecondWideMarkerIsABadFormat) {
  std::string twice = Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x01, 'a', 0});
  EXPECT_EQ(CauseOfLoading(twice, [](CArchive& ar) { std::string s; ar >> s; }), CArchiveException::badFormat);
}

struct TimeCase {
  std::int64_t time;
  std::string bytes;
};

TEST(ArchiveTest, TimesUseFourBytesWhileTheyFitAndTheMarkedFormAfterwards) {
  const TimeCase cases[] = {
      {0, Bytes({0, 0, 0, 0})},
      {1700000000, Bytes({0x00, 0xF1, 0x53, 0x65})},
      {-1, Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
      {0x7FFFFFFF, Bytes({0xFF, 0xFF, 0xFF, 0x7F})},
      {std::numeric_limits<std::int32_t>::min(), Bytes({0, 0, 0, 0x80})},
      // 2038-01-19 03:14:08 UTC, the first second past 32 bits
      {0x80000000ll, Bytes({0x0A, 0, 0, 0x80, 0, 0, 0, 0x80, 0, 0, 0, 0})},
      // 2100-01-01 00:00:00 UTC
      {4102444800ll, Bytes({0x0A, 0, 0, 0x80, 0x00, 0x57, 0x86, 0xF4, 0, 0, 0, 0})},
      // a 32-bit value equal to the marker must not be taken for it
      {-2147483638ll, Bytes({0x0A, 0, 0, 0x80, 0x0A, 0, 0, 0x80, 0xFF, 0xFF, 0xFF, 0xFF})},
  };
  for (const TimeCase& c : cases) {
    SCOPED_TRACE(c.time);
    std::string bytes = Stored([&](CArchive& ar) { ar << CTime(c.time); });
    EXPECT_EQ(bytes, c.bytes);
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    CTime t;
    ar >> t;
    EXPECT_EQ(t.GetTime(), c.time);
    EXPECT_EQ(ar.BytesLeft(), 0u);
  }
}

TEST(ArchiveTest, FourByteTimesAreSignExtended) {
  CMemFile file(Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80}));
  CArchive ar(&file, CArchive::load);
  CTime a, b;
  ar >> a >> b;
  EXPECT_EQ(a.GetTime(), -2);
  EXPECT_EQ(b.GetTime(), -2147483648ll);
}

TEST(ArchiveTest, TruncatedArchiveRaisesEndOfFileAtEveryCut) {
  // Strings come last so that every declared length fits in the cut file:
  // what ends early is the file, not a length that no file could hold.
  auto write = [](CArchive& ar) {
    ar << std::int32_t(7) << 3.25f << 1.0e300 << true << CTime(1700000000) << CTime(5000000000ll);
    ar << std::uint16_t(9) << std::uint64_t(1) << "Mapping250K_Nsp" << std::string(20, 'z');
  };
  auto read = [](CArchive& ar) {
    std::int32_t i; float f; double d; bool b; CTime t1, t2; std::uint16_t w; std::uint64_t q;
    std::string s1, s2;
    ar >> i >> f >> d >> b >> t1 >> t2 >> w >> q >> s1 >> s2;
  };
  std::string whole = Stored(write);
  ASSERT_EQ(CauseOfLoading(whole, read), CArchiveException::none);
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    SCOPED_TRACE(cut);
    EXPECT_EQ(CauseOfLoading(whole.substr(0, cut), read), CArchiveException::endOfFile);
  }
}

struct HostileCase {
  const char* what;
  std::string bytes;
};

TEST(ArchiveTest, HostileLengthIsABadFormatAndAllocatesNothingForIt) {
  std::string filler(64, 'p');
  const HostileCase cases[] = {
      {"32-bit length", Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}) + filler},
      {"64-bit length", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}) + filler},
      {"wide length that overflows when doubled",
       Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0, 0, 0, 0, 0, 0, 0x80}) + filler},
      {"16-bit length in a small file", Bytes({0xFF, 0x00, 0x10}) + filler},
  };
  for (const HostileCase& c : cases) {
    SCOPED_TRACE(c.what);
    g_largestAllocation = 0;
    g_trackAllocations = true;
    CArchiveException::Cause cause = CauseOfLoading(c.bytes, [](CArchive& ar) { std::string s; ar >> s; });
    g_trackAllocations = false;
    EXPECT_EQ(cause, CArchiveException::badFormat);
    EXPECT_LT(g_largestAllocation.load(), std::size_t(64 * 1024));
  }
}

TEST(ArchiveTest, CheckAvailableTellsCorruptCountsFromShortFiles) {
  std::string bytes(100, '\0');
  struct Case {
    std::uint64_t skip, count, size;
    CArchiveException::Cause cause;
  };
  const Case cases[] = {
      {0, 25, 4, CArchiveException::none},
      {0, 26, 4, CArchiveException::badFormat},
      {60, 10, 4, CArchiveException::none},
      {60, 11, 4, CArchiveException::endOfFile},
      {0, std::numeric_limits<std::uint64_t>::max(), 8, CArchiveException::badFormat},
      {0, 0x4000000000000001ull, 4, CArchiveException::badFormat},
      {0, 0, 4, CArchiveException::none},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    EXPECT_EQ(CauseOfLoading(bytes, [&](CArchive& ar) {
                std::string skipped(c.skip, '\0');
                ar.ReadExact(skipped.data(), skipped.size());
                ar.CheckAvailable(c.count, c.size);
              }),
              c.cause);
  }
}

TEST(ArchiveTest, LargeArchivesCrossTheBufferIntact) {
  qova::test::TempHome home;
  std::string big(10000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = char(i * 7);
  {
    CFile file(home.Path("big.bin"), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    for (int i = 0; i < 5000; ++i) ar << std::int32_t(i) << std::uint8_t(i);
    ar << big;
    ar.Write(big.data(), big.size());
    ar << "end";
    ar.Close();
    file.Close();
  }
  CFile file(home.Path("big.bin"), CFile::modeRead);
  CArchive ar(&file, CArchive::load);
  EXPECT_EQ(ar.BytesLeft(), 5000u * 5 + 3 + 10000 + 10000 + 4);
  for (int i = 0; i < 5000; ++i) {
    std::int32_t a;
    std::uint8_t b;
    ar >> a >> b;
    ASSERT_EQ(a, i);
    ASSERT_EQ(b, std::uint8_t(i));
  }
  std::string s, raw(10000, '\0'), end;
  ar >> s;
  EXPECT_EQ(s, big);
  EXPECT_EQ(ar.Read(raw.data(), UINT(raw.size())), 10000u);
  EXPECT_EQ(raw, big);
  ar >> end;
  EXPECT_EQ(end, "end");
  EXPECT_EQ(ar.BytesLeft(), 0u);
  char extra;
  EXPECT_EQ(ar.Read(&extra, 1), 0u);
}

TEST(ArchiveTest, DestructorFlushesAStoringArchive) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << std::int32_t(5);
  }
  EXPECT_EQ(file.Bytes(), Bytes({5, 0, 0, 0}));
  CMemFile aborted;
  {
    CArchive ar(&aborted, CArchive::store);
    ar << std::int32_t(5);
    ar.Abort();
  }
  EXPECT_TRUE(aborted.Bytes().empty());
}

}  // namespace
