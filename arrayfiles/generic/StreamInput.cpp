#include "arrayfiles/generic/StreamInput.h"

#include <cstring>

#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/MemoryInput.h"
#include "platform/ByteOrder.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace generic_io {

using generic_exceptions::InvalidFileTypeException;

std::uint64_t OpenInputFile(std::string_view path, std::ifstream& stream) {
  platform::FileStatus status;
  if (!platform::GetFileStatus(path, status) || status.isFolder) throw generic_exceptions::FileNotFoundException();
  stream.open(platform::NativePath(path), std::ios::in | std::ios::binary);
  if (!stream.good()) throw generic_exceptions::FileNotFoundException();
  return status.size;
}

namespace {

unsigned long long Ull(std::uint64_t value) { return static_cast<unsigned long long>(value); }

}  // namespace

void ThrowInvalidAt(const std::string& detail) {
  InvalidFileTypeException error;
  error.Description(StringUtils::NarrowToWide(detail));
  throw error;
}

void RequireFits(std::uint64_t count, std::uint64_t minItemBytes, std::uint64_t bytesLeft) {
  if (minItemBytes > 0 && count > bytesLeft / minItemBytes) throw InvalidFileTypeException();
}

HeaderStream::HeaderStream(std::istream& stream, std::uint64_t fileSize)
    : stream_(&stream), size_(fileSize), budget_(fileSize) {
  std::istream::pos_type here = stream_->tellg();
  if (here != std::istream::pos_type(-1)) position_ = std::uint64_t(here);
  if (position_ > size_) throw InvalidFileTypeException();
}

HeaderStream::HeaderStream(const std::uint8_t* fileBytes, std::uint64_t fileSize)
    : bytes_(fileBytes), size_(fileSize), budget_(fileSize) {}

void HeaderStream::Seek(std::uint64_t position) {
  if (position > size_) {
    ThrowInvalidAt(platform::Format("the header at offset %llu lies past the end of the file (%llu bytes)",
                                    Ull(position), Ull(size_)));
  }
  if (stream_ != nullptr) {
    stream_->clear();
    stream_->seekg(std::istream::off_type(position), std::ios::beg);
    if (!*stream_) throw InvalidFileTypeException();
  }
  position_ = position;
}

void HeaderStream::RequireBytes(std::size_t n) const {
  if (n > BytesLeft()) {
    ThrowInvalidAt(platform::Format("the header field at offset %llu runs past the end of the file (%llu bytes)",
                                    Ull(position_), Ull(size_)));
  }
  if (n > budget_) {
    ThrowInvalidAt(platform::Format("the headers read at offset %llu pass the file's %llu bytes: their chain loops",
                                    Ull(position_), Ull(size_)));
  }
}

void HeaderStream::Read(void* out, std::size_t n) {
  RequireBytes(n);
  if (stream_ == nullptr) {
    if (n > 0) std::memcpy(out, bytes_ + position_, n);
  } else {
    stream_->read(static_cast<char*>(out), std::streamsize(n));
    if (std::size_t(stream_->gcount()) != n) throw InvalidFileTypeException();
  }
  position_ += n;
  budget_ -= n;
}

void HeaderStream::Skip(std::size_t n) {
  RequireBytes(n);
  if (stream_ != nullptr) {
    stream_->seekg(std::istream::off_type(n), std::ios::cur);
    if (!*stream_) throw InvalidFileTypeException();
  }
  position_ += n;
  budget_ -= n;
}

namespace StreamInput {

std::uint8_t ReadUInt8(HeaderStream& stream) {
  std::uint8_t value;
  stream.Read(&value, 1);
  return value;
}

std::int8_t ReadInt8(HeaderStream& stream) { return static_cast<std::int8_t>(ReadUInt8(stream)); }

std::uint32_t ReadUInt32(HeaderStream& stream) {
  std::uint8_t bytes[4];
  stream.Read(bytes, 4);
  return platform::ReadBE32(bytes);
}

std::int32_t ReadInt32(HeaderStream& stream) { return static_cast<std::int32_t>(ReadUInt32(stream)); }

namespace {
// A count of items of `itemBytes` each that must fit in the rest of the file.
std::size_t ReadLength(HeaderStream& stream, std::size_t itemBytes) {
  const std::uint64_t at = stream.Position();
  std::int32_t count = ReadInt32(stream);
  if (count < 0 || (itemBytes > 0 && std::uint64_t(count) > stream.BytesLeft() / itemBytes)) {
    ThrowInvalidAt(platform::Format("the length %d at offset %llu does not fit the %llu bytes left", count, Ull(at),
                                    Ull(stream.BytesLeft())));
  }
  return std::size_t(count);
}
}  // namespace

std::string ReadText8(HeaderStream& stream) {
  std::string text(ReadLength(stream, 1), '\0');
  stream.Read(text.data(), text.size());
  return text.substr(0, text.find('\0'));
}

std::u16string ReadText16(HeaderStream& stream) {
  std::u16string text;
  ReadText16(stream, text);
  return text;
}

void ReadText16(HeaderStream& stream, std::u16string& text) {
  std::size_t count = ReadLength(stream, 2);
  // Read in place and swap to host order: headers hold many short texts, and
  // a staging buffer per text would double the allocations.
  text.resize(count);
  stream.Read(text.data(), count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    char16_t unit = platform::ReadBE16(reinterpret_cast<const std::uint8_t*>(text.data() + i));
    if (unit == 0) {
      text.resize(i);
      break;
    }
    text[i] = unit;
  }
}

void SkipText16(HeaderStream& stream) { stream.Skip(ReadLength(stream, 2) * 2); }

std::vector<std::uint8_t> ReadBlob(HeaderStream& stream) {
  std::vector<std::uint8_t> bytes(ReadLength(stream, 1));
  stream.Read(bytes.data(), bytes.size());
  return bytes;
}

std::uint32_t ReadCount(HeaderStream& stream, std::uint32_t minItemBytes) {
  const std::uint64_t at = stream.Position();
  std::uint32_t count = ReadUInt32(stream);
  if (minItemBytes > 0 && count > stream.BytesLeft() / minItemBytes) {
    ThrowInvalidAt(platform::Format("the count %u at offset %llu does not fit the %llu bytes left", count, Ull(at),
                                    Ull(stream.BytesLeft())));
  }
  return count;
}

}  // namespace StreamInput

namespace MemoryInput {

namespace {
std::size_t ReadCellCount(const std::uint8_t*& cursor, const std::uint8_t* end, std::size_t itemBytes) {
  if (end - cursor < 4) throw InvalidFileTypeException();
  std::int32_t count = static_cast<std::int32_t>(platform::ReadBE32(cursor));
  cursor += 4;
  if (count < 0) throw InvalidFileTypeException();
  RequireFits(std::uint64_t(count), itemBytes, std::uint64_t(end - cursor));
  return std::size_t(count);
}
}  // namespace

std::string ReadText8(const std::uint8_t*& cursor, const std::uint8_t* end) {
  std::size_t count = ReadCellCount(cursor, end, 1);
  std::string text(reinterpret_cast<const char*>(cursor), count);
  cursor += count;
  return text.substr(0, text.find('\0'));
}

namespace {
// A 16-bit text cell into `Text`, each unit through `unitOf`; the text ends
// at its first zero unit, the cursor after the whole cell.
template <class Text, class UnitOf>
Text ReadText16As(const std::uint8_t*& cursor, const std::uint8_t* end, UnitOf unitOf) {
  std::size_t count = ReadCellCount(cursor, end, 2);
  Text text;
  text.reserve(count);
  bool ended = false;
  for (std::size_t i = 0; i < count; ++i, cursor += 2) {
    char16_t unit = platform::ReadBE16(cursor);
    if (unit == 0) ended = true;
    if (!ended) text.push_back(unitOf(unit));
  }
  return text;
}
}  // namespace

std::u16string ReadText16(const std::uint8_t*& cursor, const std::uint8_t* end) {
  return ReadText16As<std::u16string>(cursor, end, [](char16_t unit) { return unit; });
}

std::string ReadText16Narrow(const std::uint8_t*& cursor, const std::uint8_t* end) {
  return ReadText16As<std::string>(cursor, end, platform::NarrowUnit);
}

}  // namespace MemoryInput

}  // namespace generic_io
