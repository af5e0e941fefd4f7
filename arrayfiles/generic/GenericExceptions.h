#pragma once
// The exceptions of the array-file code. Callers tell failures apart by class
// only: every throw uses the default constructor, so the texts stay empty and
// only the time stamp is filled, except that a header reader that knows where
// a file is damaged says so in the description, for the user's message. The family derives from std::exception so a
// tool can report any of them by name through what().
#include <cstdint>
#include <exception>
#include <string>

namespace generic_exceptions {

class GenericException : public std::exception {
 public:
  // Empty texts, the current UTC time stamp, no source file, line 0, code 0.
  GenericException();

  [[nodiscard]] const char* what() const noexcept override { return "GenericException"; }

  [[nodiscard]] const std::u16string& Source() const { return source_; }
  void Source(std::u16string source) { source_ = std::move(source); }
  [[nodiscard]] const std::u16string& Description() const { return description_; }
  void Description(std::u16string description) { description_ = std::move(description); }
  [[nodiscard]] const std::u16string& TimeStamp() const { return timeStamp_; }
  [[nodiscard]] const std::string& SourceFile() const { return sourceFile_; }
  void SourceFile(std::string file) { sourceFile_ = std::move(file); }
  [[nodiscard]] std::uint16_t LineNumber() const { return lineNumber_; }
  void LineNumber(std::uint16_t line) { lineNumber_ = line; }
  [[nodiscard]] std::uint64_t ErrorCode() const { return errorCode_; }
  void ErrorCode(std::uint64_t code) { errorCode_ = code; }

 private:
  std::u16string source_;
  std::u16string description_;
  std::u16string timeStamp_;
  std::string sourceFile_;
  std::uint16_t lineNumber_ = 0;
  std::uint64_t errorCode_ = 0;
};

// Each member of the family adds nothing but its class (and its name for what()).
#define QOVA_GENERIC_EXCEPTION(ClassName)                                        \
  class ClassName : public GenericException {                                    \
   public:                                                                       \
    [[nodiscard]] const char* what() const noexcept override { return #ClassName; } \
  };

// The first byte of a generic file is not the magic number, or its headers are
// malformed (a count, length or position that does not fit the file).
QOVA_GENERIC_EXCEPTION(InvalidFileTypeException)
// The version byte of a generic file is not the supported one.
QOVA_GENERIC_EXCEPTION(InvalidVersionException)
// The file cannot be opened for reading.
QOVA_GENERIC_EXCEPTION(FileNotFoundException)
// The file mapping cannot be made, or an object is used without an open reader.
QOVA_GENERIC_EXCEPTION(FileNotOpenException)
QOVA_GENERIC_EXCEPTION(DataGroupNotFoundException)
// No data set of that name in the group, or an index outside the group.
QOVA_GENERIC_EXCEPTION(DataSetNotFoundException)
// Cells read before the data set was opened.
QOVA_GENERIC_EXCEPTION(DataSetNotOpenException)
// The window cannot be moved to the requested cells: the mapping failed or was
// released, or the row or column lies outside the data set.
QOVA_GENERIC_EXCEPTION(DataSetRemapException)
// A parameter or a column read as a type other than its own.
QOVA_GENERIC_EXCEPTION(ParameterMismatchException)
// No adapter can read the file.
QOVA_GENERIC_EXCEPTION(UnableToOpenFileException)
QOVA_GENERIC_EXCEPTION(ProbeSetNotFoundException)
QOVA_GENERIC_EXCEPTION(CDFAccessNotSupportedByModeException)

#undef QOVA_GENERIC_EXCEPTION

}  // namespace generic_exceptions
