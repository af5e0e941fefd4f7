#include "platform/Archive.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/ByteOrder.h"
#include "platform/Strings.h"

namespace {

const char* ArchiveCauseText(CArchiveException::Cause cause) {
  switch (cause) {
    case CArchiveException::none: return "No error occurred in the archive of %s.";
    case CArchiveException::readOnly: return "Tried to write to an archive opened for loading (%s).";
    case CArchiveException::endOfFile: return "Unexpected end of file while reading %s.";
    case CArchiveException::writeOnly: return "Tried to read from an archive opened for storing (%s).";
    case CArchiveException::badIndex: return "%s has an invalid format.";
    case CArchiveException::badClass: return "%s holds an unexpected object.";
    case CArchiveException::badSchema: return "%s holds an object of an unsupported version.";
    case CArchiveException::bufferFull: return "The archive buffer of %s is full.";
    case CArchiveException::badFormat: return "%s is not in the expected format.";
    case CArchiveException::genericException: break;
  }
  return "An unknown archive error occurred with %s.";
}

// Markers of the string length prefix.
constexpr std::uint8_t kLength8Escape = 0xFF;
constexpr std::uint16_t kLength16Escape = 0xFFFF;
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint32_t kLength32Escape = 0xFFFFFFFF;

}  // namespace

CArchiveException::CArchiveException(Cause cause, std::string fileName)
    : m_cause(cause), m_strFileName(std::move(fileName)) {
  std::string name = m_strFileName.empty() ? std::string("an unnamed file") : m_strFileName;
  message_ = platform::Format(ArchiveCauseText(m_cause), name.c_str());
}

const char* CArchiveException::what() const noexcept { return message_.c_str(); }

CArchive::CArchive(CFile* file, UINT mode, int bufferSize)
    : file_(file),
      loading_((mode & load) != 0),
      bufferSize_(bufferSize > 0 ? std::size_t(bufferSize) : std::size_t(kDefaultBufferSize)) {
  buffer_.reserve(bufferSize_);
}

CArchive::~CArchive() {
  if (!file_) return;
  try {
    Flush();
  } catch (...) {
    // A destructor cannot report; Close is the call that does.
  }
}

void CArchive::Throw(CArchiveException::Cause cause) const {
  throw CArchiveException(cause, file_ ? file_->GetFilePath() : std::string());
}

// ---- raw bytes ---------------------------------------------------------

void CArchive::FillBuffer(std::size_t needed) {
  if (bufferPos_ > 0) {
    buffer_.erase(0, bufferPos_);
    bufferPos_ = 0;
  }
  std::size_t want = std::max(needed, bufferSize_);
  while (buffer_.size() < needed) {
    std::size_t have = buffer_.size();
    buffer_.resize(want);
    UINT got = file_->Read(buffer_.data() + have, UINT(want - have));
    buffer_.resize(have + got);
    if (got == 0) break;
  }
}

UINT CArchive::Read(void* buffer, UINT count) {
  if (!loading_) Throw(CArchiveException::writeOnly);
  if (!file_) Throw(CArchiveException::genericException);
  auto out = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    std::size_t available = buffer_.size() - bufferPos_;
    if (available == 0) {
      // Large requests skip the buffer; small ones refill it.
      if (count - done >= bufferSize_) {
        UINT got = file_->Read(out + done, UINT(count - done));
        done += got;
        break;
      }
      FillBuffer(1);
      available = buffer_.size() - bufferPos_;
      if (available == 0) break;
    }
    std::size_t n = std::min<std::size_t>(available, count - done);
    std::memcpy(out + done, buffer_.data() + bufferPos_, n);
    bufferPos_ += n;
    done += n;
  }
  return UINT(done);
}

void CArchive::ReadExact(void* buffer, std::size_t count) {
  auto out = static_cast<char*>(buffer);
  if (loading_ && count <= buffer_.size() - bufferPos_) {
    std::memcpy(out, buffer_.data() + bufferPos_, count);
    bufferPos_ += count;
    return;
  }
  while (count > 0) {
    UINT chunk = UINT(std::min<std::size_t>(count, std::numeric_limits<UINT>::max()));
    UINT got = Read(out, chunk);
    if (got < chunk) Throw(CArchiveException::endOfFile);
    out += got;
    count -= got;
  }
}

void CArchive::FlushBuffer() {
  if (!buffer_.empty()) {
    std::string pending;
    pending.swap(buffer_);
    buffer_.reserve(bufferSize_);
    file_->Write(pending.data(), UINT(pending.size()));
  }
}

void CArchive::Write(const void* buffer, std::size_t count) {
  if (loading_) Throw(CArchiveException::readOnly);
  if (!file_) Throw(CArchiveException::genericException);
  auto in = static_cast<const char*>(buffer);
  if (buffer_.size() + count <= bufferSize_) {
    buffer_.append(in, count);
    if (buffer_.size() == bufferSize_) FlushBuffer();
    return;
  }
  FlushBuffer();
  if (count >= bufferSize_) {
    while (count > 0) {
      UINT chunk = UINT(std::min<std::size_t>(count, std::size_t(1) << 30));
      file_->Write(in, chunk);
      in += chunk;
      count -= chunk;
    }
    return;
  }
  buffer_.append(in, count);
}

void CArchive::Flush() {
  if (!file_) return;
  if (loading_) {
    // Hand back what was buffered but not consumed, so the file's position is
    // where the archive's reading ended.
    std::size_t unread = buffer_.size() - bufferPos_;
    buffer_.clear();
    bufferPos_ = 0;
    if (unread > 0) file_->Seek(-LONGLONG(unread), CFile::current);
  } else {
    FlushBuffer();
  }
}

void CArchive::Close() {
  Flush();
  file_ = nullptr;
}

void CArchive::Abort() {
  buffer_.clear();
  bufferPos_ = 0;
  file_ = nullptr;
}

std::uint64_t CArchive::BytesLeft() const {
  if (!loading_ || !file_) return 0;
  std::uint64_t buffered = buffer_.size() - bufferPos_;
  std::uint64_t length = file_->GetLength();
  std::uint64_t position = file_->GetPosition();
  return buffered + (length > position ? length - position : 0);
}

void CArchive::CheckAvailable(std::uint64_t count, std::uint64_t elementSize) const {
  if (!loading_) Throw(CArchiveException::writeOnly);
  if (elementSize == 0 || count == 0) return;
  // More than the whole file could hold is a corrupt length; more than what is
  // left of it is a file that ends early.
  std::uint64_t whole = file_ ? file_->GetLength() : 0;
  if (count > whole / elementSize) Throw(CArchiveException::badFormat);
  if (count > BytesLeft() / elementSize) Throw(CArchiveException::endOfFile);
}

// ---- numbers -----------------------------------------------------------

namespace {
template <typename T>
std::uint64_t ToBits(T v) {
  if constexpr (sizeof(T) == 1) {
    return std::uint8_t(v);
  } else if constexpr (sizeof(T) == 2) {
    std::uint16_t u;
    std::memcpy(&u, &v, 2);
    return u;
  } else if constexpr (sizeof(T) == 4) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    return u;
  } else {
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    return u;
  }
}

template <typename T>
void WriteLE(CArchive& ar, T v) {
  char bytes[sizeof(T)];
  std::uint64_t bits = ToBits(v);
  for (std::size_t i = 0; i < sizeof(T); ++i) bytes[i] = char(bits >> (8 * i));
  ar.Write(bytes, sizeof(T));
}

template <typename T>
T ReadLE(CArchive& ar) {
  unsigned char bytes[sizeof(T)];
  ar.ReadExact(bytes, sizeof(T));
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) bits |= std::uint64_t(bytes[i]) << (8 * i);
  T v;
  if constexpr (sizeof(T) == 1) {
    auto b = std::uint8_t(bits);
    std::memcpy(&v, &b, 1);
  } else if constexpr (sizeof(T) == 2) {
    auto b = std::uint16_t(bits);
    std::memcpy(&v, &b, 2);
  } else if constexpr (sizeof(T) == 4) {
    auto b = std::uint32_t(bits);
    std::memcpy(&v, &b, 4);
  } else {
    std::memcpy(&v, &bits, 8);
  }
  return v;
}
}  // namespace

CArchive& CArchive::operator<<(std::uint8_t v) { WriteLE(*this, v); return *this; }
CArchive& CArchive::operator<<(std::int8_t v) { WriteLE(*this, v); return *this; }
CArchive& CArchive::operator<<(char v) { WriteLE(*this, v); return *this; }
CArchive& CArchive::operator<<(bool v) { WriteLE(*this, std::uint8_t(v ? 1 : 0)); return *this; }
CArchive& CArchive::operator<<(std::uint16_t v) { WriteLE(*this, v); return *this; }
CArchive& CArchive::operator<<(std::int16_t v) { WriteLE(*this, v); return *this; }
CArchive& CArchive::operator<<(std::uint32_t v) { WriteLE(*this, v); return *this; }
CArchive& CArchive::operator<<(std::int32_t v) { WriteLE(*this, v); return *this; }
CArchive& CArchive::operator<<(std::uint64_t v) { WriteLE(*this, v); return *this; }
CArchive& CArchive::operator<<(std::int64_t v) { WriteLE(*this, v); return *this; }
CArchive& CArchive::operator<<(float v) { WriteLE(*this, v); return *this; }
CArchive& CArchive::operator<<(double v) { WriteLE(*this, v); return *this; }

CArchive& CArchive::operator>>(std::uint8_t& v) { v = ReadLE<std::uint8_t>(*this); return *this; }
CArchive& CArchive::operator>>(std::int8_t& v) { v = ReadLE<std::int8_t>(*this); return *this; }
CArchive& CArchive::operator>>(char& v) { v = ReadLE<char>(*this); return *this; }
CArchive& CArchive::operator>>(bool& v) { v = ReadLE<std::uint8_t>(*this) != 0; return *this; }
CArchive& CArchive::operator>>(std::uint16_t& v) { v = ReadLE<std::uint16_t>(*this); return *this; }
CArchive& CArchive::operator>>(std::int16_t& v) { v = ReadLE<std::int16_t>(*this); return *this; }
CArchive& CArchive::operator>>(std::uint32_t& v) { v = ReadLE<std::uint32_t>(*this); return *this; }
CArchive& CArchive::operator>>(std::int32_t& v) { v = ReadLE<std::int32_t>(*this); return *this; }
CArchive& CArchive::operator>>(std::uint64_t& v) { v = ReadLE<std::uint64_t>(*this); return *this; }
CArchive& CArchive::operator>>(std::int64_t& v) { v = ReadLE<std::int64_t>(*this); return *this; }
CArchive& CArchive::operator>>(float& v) { v = ReadLE<float>(*this); return *this; }
CArchive& CArchive::operator>>(double& v) { v = ReadLE<double>(*this); return *this; }

// ---- strings -----------------------------------------------------------

void CArchive::WriteStringLength(std::uint64_t length) {
  if (length < kLength8Escape) {
    *this << std::uint8_t(length);
    return;
  }
  *this << kLength8Escape;
  // 0xFFFE announces a wide string, so it cannot be a 16-bit length.
  if (length < kWideMarker) {
    *this << std::uint16_t(length);
    return;
  }
  *this << kLength16Escape;
  if (length < kLength32Escape) {
    *this << std::uint32_t(length);
    return;
  }
  *this << kLength32Escape << std::uint64_t(length);
}

std::uint64_t CArchive::ReadStringLength(bool& wide) {
  wide = false;
  for (;;) {
    std::uint8_t b8 = ReadLE<std::uint8_t>(*this);
    if (b8 < kLength8Escape) return b8;
    std::uint16_t b16 = ReadLE<std::uint16_t>(*this);
    if (b16 == kWideMarker) {
      // The marker appears once, before the real prefix; a second one is not a string.
      if (wide) Throw(CArchiveException::badFormat);
      wide = true;
      continue;
    }
    if (b16 < kLength16Escape) return b16;
    std::uint32_t b32 = ReadLE<std::uint32_t>(*this);
    if (b32 < kLength32Escape) return b32;
    return ReadLE<std::uint64_t>(*this);
  }
}

CArchive& CArchive::operator<<(const std::string& v) {
  WriteStringLength(v.size());
  Write(v.data(), v.size());
  return *this;
}

CArchive& CArchive::operator<<(const char* v) {
  std::string_view text = v ? std::string_view(v) : std::string_view();
  WriteStringLength(text.size());
  Write(text.data(), text.size());
  return *this;
}

CArchive& CArchive::operator>>(std::string& v) {
  if (!loading_) Throw(CArchiveException::writeOnly);
  bool wide = false;
  std::uint64_t length = ReadStringLength(wide);
  if (wide) {
    CheckAvailable(length, 2);
    std::string raw(std::size_t(length) * 2, '\0');
    ReadExact(raw.data(), raw.size());
    std::u16string units(std::size_t(length), u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) units[i] = char16_t(platform::ReadLE16(raw.data() + 2 * i));
    v = platform::Narrow(units);
  } else {
    CheckAvailable(length, 1);
    std::string text(std::size_t(length), '\0');
    ReadExact(text.data(), text.size());
    v = std::move(text);
  }
  return *this;
}

// ---- times -------------------------------------------------------------

CArchive& CArchive::operator<<(CTime v) {
  std::int64_t t = v.GetTime();
  bool fits = t >= std::numeric_limits<std::int32_t>::min() && t <= std::numeric_limits<std::int32_t>::max();
  // A 4-byte value equal to the marker would read back as the marker.
  if (fits && std::uint32_t(std::int32_t(t)) != kTime64Marker) {
    *this << std::int32_t(t);
  } else {
    *this << kTime64Marker << t;
  }
  return *this;
}

CArchive& CArchive::operator>>(CTime& v) {
  std::uint32_t low = ReadLE<std::uint32_t>(*this);
  if (low == kTime64Marker) {
    v = CTime(ReadLE<std::int64_t>(*this));
  } else {
    v = CTime(std::int64_t(std::int32_t(low)));
  }
  return *this;
}
