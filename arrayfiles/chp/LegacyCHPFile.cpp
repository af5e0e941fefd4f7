#include "arrayfiles/chp/LegacyCHPFile.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "arrayfiles/chp/LegacyCHPInput.h"
#include "platform/ByteOrder.h"
#include "platform/FileMapping.h"

namespace legacy_chp {

namespace {

// First 32-bit word of an XDA CHP file.
constexpr std::int32_t kXdaMagic = 65;

std::string FindValue(const std::vector<TagValuePair>& pairs, const std::string& tag) {
  for (const TagValuePair& pair : pairs) {
    if (pair.tag == tag) return pair.value;
  }
  return {};
}

}  // namespace

void CLegacyCHPHeader::Clear() {
  magic = 0;
  version = 0;
  cols = 0;
  rows = 0;
  numProbeSets = 0;
  assayType = kUnknown;
  chipType.clear();
  algorithmName.clear();
  algorithmVersion.clear();
  parentCelFile.clear();
  progId.clear();
  algorithmParameters.clear();
  summaryParameters.clear();
  zoneCount = 0;
  smoothFactor = 0.0f;
  zones.clear();
}

std::string CLegacyCHPHeader::GetAlgorithmParameter(const std::string& tag) const {
  return FindValue(algorithmParameters, tag);
}

std::string CLegacyCHPHeader::GetSummaryParameter(const std::string& tag) const {
  return FindValue(summaryParameters, tag);
}

BackgroundZone CLegacyCHPHeader::GetBackgroundZone(float x, float y) const {
  for (const BackgroundZone& zone : zones) {
    if (zone.x == x && zone.y == y) return zone;
  }
  return {};
}

void CResequencingData::Clear() {
  calledBases.clear();
  scores.clear();
  forceCalls.clear();
  origCalls.clear();
}

void CLegacyCHPFile::Clear() {
  header.Clear();
  results.clear();
  resequencing.Clear();
}

bool CLegacyCHPFile::IsXDACompatibleFile() const {
  platform::FileMapping file;
  if (!file.Open(fileName) || file.Size() < 4) return false;
  platform::MappedView view = file.Map(0, 4);
  return view.IsValid() && std::int32_t(platform::ReadLE32(view.Data())) == kXdaMagic;
}

bool CLegacyCHPFile::Open(bool headerOnly) {
  Clear();
  platform::FileMapping file;
  platform::MappedView view;
  if (file.Open(fileName) && file.Size() <= std::numeric_limits<std::size_t>::max()) {
    view = file.Map(0, std::size_t(file.Size()));
  }
  if (!view.IsValid()) {
    errorText = messages::kUnableToOpen;
    return false;
  }
  detail::LegacyInput in(view.Data(), view.Size());
  bool isXda = view.Size() >= 4 && std::int32_t(platform::ReadLE32(view.Data())) == kXdaMagic;
  return isXda ? detail::ReadXdaForm(in, *this, headerOnly)
               : detail::ReadOlderForm(in, *this, headerOnly);
}

bool CLegacyCHPFile::Read(bool headerOnly) {
  if (Open(headerOnly)) return true;
  Clear();
  return false;
}

namespace detail {

bool Fail(CLegacyCHPFile& file, const char* message) {
  file.errorText = message;
  return false;
}

void LegacyInput::Take(void* out, std::size_t n) {
  std::size_t have = std::min(n, Left());
  std::memset(out, 0, n);
  std::memcpy(out, data_ + pos_, have);
  pos_ += have;
}

std::int32_t LegacyInput::Int32() {
  std::uint8_t b[4];
  Take(b, 4);
  return std::int32_t(platform::ReadLE32(b));
}

std::uint16_t LegacyInput::UInt16() {
  std::uint8_t b[2];
  Take(b, 2);
  return platform::ReadLE16(b);
}

std::uint8_t LegacyInput::UInt8() {
  std::uint8_t b;
  Take(&b, 1);
  return b;
}

float LegacyInput::Float32() {
  std::uint8_t b[4];
  Take(b, 4);
  return platform::ReadLEFloat(b);
}

float LegacyInput::Thousandths() { return float(Int32() / 1000.0); }

void LegacyInput::Skip(std::size_t bytes) { pos_ += std::min(bytes, Left()); }

std::string LegacyInput::FixedText(std::size_t n) {
  std::size_t have = std::min(n, Left());
  const char* start = reinterpret_cast<const char*>(data_ + pos_);
  pos_ += have;
  return std::string(start, strnlen(start, have));
}

bool LegacyInput::CountedText(std::string& text) {
  std::int32_t n = Int32();
  if (n < 0 || std::size_t(n) > Left()) return false;
  text = FixedText(std::size_t(n));
  return true;
}

bool LegacyInput::Fits(std::int64_t count, std::size_t bytesEach) const {
  if (count < 0) return false;
  return bytesEach == 0 || std::uint64_t(count) <= Left() / bytesEach;
}

}  // namespace detail
}  // namespace legacy_chp
