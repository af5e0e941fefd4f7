#include "arrayfiles/chp/LegacyCHPFile.h"

#include <algorithm>
#include <fstream>
#include <limits>

#include "arrayfiles/chp/LegacyCHPInput.h"
#include "arrayfiles/common/LittleEndianInput.h"
#include "platform/FileMapping.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace legacy_chp {

namespace {

// First 32-bit word of an XDA CHP file.
constexpr std::int32_t kXdaMagic = 65;

std::string FindValue(const TagValuePairList& pairs, const std::string& tag) {
  for (const TagValuePair& pair : pairs) {
    if (pair.Tag == tag) return pair.Value;
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
  genotypeCalls.clear();
  resequencing.Clear();
}

bool CLegacyCHPFile::IsXDACompatibleFile() const {
  std::ifstream in(platform::NativePath(fileName), std::ios::binary);
  if (!in.is_open()) return false;
  std::int32_t magic = 0;
  LittleEndianInput::ReadInt32(in, magic);
  // A file shorter than the word has no first word.
  return in.good() && magic == kXdaMagic;
}

bool CLegacyCHPFile::Open(bool headerOnly) {
  Clear();
  errorText.clear();
  bool isXda = IsXDACompatibleFile();
  platform::FileMapping file;
  platform::MappedView view;
  if (file.Open(fileName) && file.Size() <= std::numeric_limits<std::size_t>::max()) {
    view = file.Map(0, std::size_t(file.Size()));
  }
  if (!view.IsValid()) return detail::Fail(*this, messages::kUnableToOpen);
  detail::ByteStreamBuf bytes(view.Data(), view.Size());
  std::istream stream(&bytes);
  detail::LegacyInput in(stream);
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

bool FailAt(CLegacyCHPFile& file, const std::string& detail) {
  file.errorText = std::string(messages::kWrongFormat) + " CHP file: " + detail + ".";
  return false;
}

std::string PastEnd(const LegacyInput& in, const std::string& what, std::uint64_t at) {
  return platform::Format("the %s at offset %llu runs past the end of the file (%llu bytes)", what.c_str(),
                          static_cast<unsigned long long>(at), static_cast<unsigned long long>(in.FileSize()));
}

std::string ReadCountedTexts(LegacyInput& in, std::initializer_list<NamedText> texts) {
  for (const NamedText& field : texts) {
    const std::uint64_t at = in.Position();
    if (!in.CountedText(*field.text)) return PastEnd(in, field.name, at);
  }
  return {};
}

bool FailRecords(CLegacyCHPFile& file, const LegacyInput& in, const char* what, std::int64_t count,
                 std::size_t recordBytes) {
  return FailAt(file, platform::Format("the %s records at offset %llu run past the end of the file (%lld records of "
                                       "%zu bytes, %llu bytes left)",
                                       what, static_cast<unsigned long long>(in.Position()),
                                       static_cast<long long>(count), recordBytes,
                                       static_cast<unsigned long long>(in.Left())));
}

ByteStreamBuf::ByteStreamBuf(const std::uint8_t* data, std::size_t size) {
  // The get area is never written through: this buffer has no put area and
  // refuses putbacks of other characters.
  char* begin = const_cast<char*>(reinterpret_cast<const char*>(data));
  setg(begin, begin, begin + size);
}

ByteStreamBuf::pos_type ByteStreamBuf::seekoff(off_type offset, std::ios_base::seekdir dir,
                                               std::ios_base::openmode which) {
  if (!(which & std::ios_base::in)) return pos_type(off_type(-1));
  off_type base = dir == std::ios_base::beg   ? 0
                  : dir == std::ios_base::cur ? off_type(gptr() - eback())
                                              : off_type(egptr() - eback());
  if (offset < -base || offset > off_type(egptr() - eback()) - base) return pos_type(off_type(-1));
  setg(eback(), eback() + base + offset, egptr());
  return pos_type(base + offset);
}

ByteStreamBuf::pos_type ByteStreamBuf::seekpos(pos_type position, std::ios_base::openmode which) {
  return seekoff(off_type(position), std::ios_base::beg, which);
}

LegacyInput::LegacyInput(std::istream& in) : in_(in), fileSize_(LittleEndianInput::BytesLeft(in)) {}

std::uint64_t LegacyInput::Left() const {
  std::istream::pos_type here = in_.tellg();
  if (here == std::istream::pos_type(-1) || std::uint64_t(here) > fileSize_) return 0;
  return fileSize_ - std::uint64_t(here);
}

std::int32_t LegacyInput::Int32() {
  std::int32_t value = 0;
  LittleEndianInput::ReadInt32(in_, value);
  return value;
}

std::uint16_t LegacyInput::UInt16() {
  std::uint16_t value = 0;
  LittleEndianInput::ReadInt16(in_, value);
  return value;
}

std::uint8_t LegacyInput::UInt8() {
  std::uint8_t value = 0;
  LittleEndianInput::ReadInt8(in_, value);
  return value;
}

float LegacyInput::Float32() {
  float value = 0.0f;
  LittleEndianInput::ReadFloat(in_, value);
  return value;
}

float LegacyInput::Thousandths() { return float(Int32() / 1000.0); }

void LegacyInput::Skip(std::size_t bytes) {
  std::uint64_t left = Left();
  if (bytes > left) {
    // Past the end, as a read there would go: later fields read as 0.
    in_.setstate(std::ios::eofbit | std::ios::failbit);
    return;
  }
  in_.seekg(std::streamoff(bytes), std::ios::cur);
}

bool LegacyInput::Bytes(std::vector<std::uint8_t>& out, std::size_t n) {
  out.resize(n);
  in_.read(reinterpret_cast<char*>(out.data()), std::streamsize(n));
  return std::size_t(in_.gcount()) == n;
}

std::string LegacyInput::FixedText(std::size_t n) {
  std::string text;
  LittleEndianInput::ReadFixedText(in_, text, std::int32_t(n));
  return text;
}

bool LegacyInput::CountedText(std::string& text) {
  std::int32_t n = Int32();
  if (Ended() || n < 0 || std::uint64_t(n) > Left()) return false;
  text = FixedText(std::size_t(n));
  return true;
}

bool LegacyInput::Fits(std::int64_t count, std::size_t bytesEach) const {
  if (count < 0) return false;
  return bytesEach == 0 || std::uint64_t(count) <= Left() / bytesEach;
}

}  // namespace detail
}  // namespace legacy_chp
