#pragma once
// The framework's archive: a sequential binary encoding of the program's own
// files. Little-endian numbers, no tags, no alignment; strings with a length
// prefix (1, 3, 7 or 15 bytes); times in 4 bytes, or a marker and 8 bytes.
//
// Lengths and counts read from a file are checked against the bytes that
// remain before anything is allocated.
#include <cstdint>
#include <exception>
#include <string>

#include "platform/File.h"
#include "platform/Time.h"
#include "platform/Types.h"

class CArchiveException : public std::exception {
 public:
  enum Cause {
    none = 0,
    genericException,
    readOnly,    // writing to an archive opened for loading
    endOfFile,   // the file ends before the value does
    writeOnly,   // reading from an archive opened for storing
    badIndex,
    badClass,
    badSchema,
    bufferFull,
    badFormat,   // a length or count that no file of this size can hold
  };

  explicit CArchiveException(Cause cause = none, std::string fileName = {});
  [[nodiscard]] const char* what() const noexcept override;

  Cause m_cause = none;
  std::string m_strFileName;

 private:
  std::string message_;
};

class CArchive {
 public:
  enum Mode { store = 0, load = 1 };
  static constexpr int kDefaultBufferSize = 4096;
  // The marker of a 64-bit time (the value that follows is the time).
  static constexpr std::uint32_t kTime64Marker = 0x8000000A;

  CArchive(CFile* file, UINT mode, int bufferSize = kDefaultBufferSize);
  // Flushes a storing archive that was not closed (errors are swallowed here:
  // call Close to see them).
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  [[nodiscard]] bool IsLoading() const { return loading_; }
  [[nodiscard]] bool IsStoring() const { return !loading_; }
  [[nodiscard]] CFile* GetFile() const { return file_; }

  // Reads up to `count` bytes; returns how many were available.
  UINT Read(void* buffer, UINT count);
  // Reads exactly `count` bytes or throws endOfFile.
  void ReadExact(void* buffer, std::size_t count);
  void Write(const void* buffer, std::size_t count);
  void Flush();
  // Flushes a storing archive (throws on failure) and detaches from the file.
  void Close();
  // Detaches without flushing.
  void Abort();

  // Bytes that can still be read (buffered plus the rest of the file).
  [[nodiscard]] std::uint64_t BytesLeft() const;
  // Loaders call it before allocating for a count taken from a file: throws
  // badFormat when `count` elements of `elementSize` bytes exceed what the whole
  // file could hold, endOfFile when they merely exceed the bytes left.
  void CheckAvailable(std::uint64_t count, std::uint64_t elementSize) const;

  CArchive& operator<<(std::uint8_t v);
  CArchive& operator<<(std::int8_t v);
  CArchive& operator<<(char v);
  CArchive& operator<<(bool v);
  CArchive& operator<<(std::uint16_t v);
  CArchive& operator<<(std::int16_t v);
  CArchive& operator<<(std::uint32_t v);
  CArchive& operator<<(std::int32_t v);
  CArchive& operator<<(std::uint64_t v);
  CArchive& operator<<(std::int64_t v);
  CArchive& operator<<(float v);
  CArchive& operator<<(double v);
  CArchive& operator<<(const std::string& v);
  CArchive& operator<<(const char* v);
  CArchive& operator<<(CTime v);

  CArchive& operator>>(std::uint8_t& v);
  CArchive& operator>>(std::int8_t& v);
  CArchive& operator>>(char& v);
  CArchive& operator>>(bool& v);
  CArchive& operator>>(std::uint16_t& v);
  CArchive& operator>>(std::int16_t& v);
  CArchive& operator>>(std::uint32_t& v);
  CArchive& operator>>(std::int32_t& v);
  CArchive& operator>>(std::uint64_t& v);
  CArchive& operator>>(std::int64_t& v);
  CArchive& operator>>(float& v);
  CArchive& operator>>(double& v);
  // Accepts the narrow form and the wide form (0xFF 0xFFFE, then a prefix
  // counting 16-bit units), which it narrows.
  CArchive& operator>>(std::string& v);
  CArchive& operator>>(CTime& v);

  // The length prefix alone (used by the string operators).
  void WriteStringLength(std::uint64_t length);
  // Returns the length and whether the string that follows is wide.
  std::uint64_t ReadStringLength(bool& wide);

 private:
  void FillBuffer(std::size_t needed);
  void FlushBuffer();
  [[noreturn]] void Throw(CArchiveException::Cause cause) const;

  CFile* file_ = nullptr;
  bool loading_ = true;
  std::string buffer_;
  std::size_t bufferPos_ = 0;   // loading: next byte to hand out
  std::size_t bufferSize_ = kDefaultBufferSize;
};
