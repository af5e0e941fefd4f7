#pragma once
// The framework's file object: binary files opened through the path rules of
// Paths.h, failures reported as CFileException carrying the cause and the name.
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

class CFileException : public std::exception {
 public:
  enum Cause {
    none = 0,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile,
  };

  CFileException() = default;
  CFileException(Cause cause, int osError, std::string fileName);

  // Fills the fields from an errno value.
  void SetFromErrno(int error, std::string fileName);
  [[nodiscard]] const char* what() const noexcept override;

  Cause m_cause = none;
  int m_lOsError = 0;
  std::string m_strFileName;

 private:
  std::string message_;
};

class CFile {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };
  enum SeekPosition { begin = 0, current = 1, end = 2 };

  CFile() = default;
  // Opens or throws CFileException.
  CFile(std::string_view fileName, UINT openFlags);
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens `fileName` (a program path, translated by NativePath). On failure
  // returns FALSE and, when given, fills `error`.
  [[nodiscard]] virtual BOOL Open(std::string_view fileName, UINT openFlags, CFileException* error = nullptr);
  // Reads up to `count` bytes; fewer only at the end of the file. Throws on an I/O error.
  virtual UINT Read(void* buffer, UINT count);
  // Writes all `count` bytes or throws (diskFull, hardIO, accessDenied).
  virtual void Write(const void* buffer, UINT count);
  virtual ULONGLONG Seek(LONGLONG offset, UINT from);
  virtual ULONGLONG GetPosition() const;
  virtual ULONGLONG GetLength() const;
  virtual void Flush();
  // Closes; throws when the final flush fails.
  virtual void Close();
  // Closes and ignores any failure.
  virtual void Abort();

  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  [[nodiscard]] bool IsOpen() const { return fd_ >= 0; }
  // The name as given to Open, and the native path it resolved to.
  [[nodiscard]] const std::string& GetFilePath() const { return name_; }
  [[nodiscard]] const std::string& GetNativePath() const { return nativePath_; }

 protected:
  void ThrowErrno(int error) const;

  int fd_ = -1;
  std::string name_;
  std::string nativePath_;
};

// A file held in memory: loaders run over it in tests and fuzz targets.
class CMemFile : public CFile {
 public:
  CMemFile() = default;
  explicit CMemFile(std::string bytes) : bytes_(std::move(bytes)) {}

  BOOL Open(std::string_view, UINT, CFileException* = nullptr) override { return TRUE; }
  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  ULONGLONG Seek(LONGLONG offset, UINT from) override;
  ULONGLONG GetPosition() const override { return pos_; }
  ULONGLONG GetLength() const override { return bytes_.size(); }
  void Flush() override {}
  void Close() override {}
  void Abort() override {}

  [[nodiscard]] const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
  ULONGLONG pos_ = 0;
};

namespace platform {

// Writes a file by replacing it: the bytes go to a temporary file in the same
// folder (named ".<name>.<random>.tmp", so no sample search lists it), which
// Commit flushes, syncs and renames over the target. Destroying it without a
// successful Commit removes the temporary file and leaves the old file as it was.
class CAtomicFile : public CFile {
 public:
  CAtomicFile() = default;
  ~CAtomicFile() override;

  // Creates the temporary file for `targetName`. FALSE (and `error`) on failure.
  [[nodiscard]] BOOL Open(std::string_view targetName, UINT openFlags = modeCreate | modeWrite,
            CFileException* error = nullptr) override;
  // Makes the new contents the file's. Throws CFileException on failure, after
  // which the old file is still in place.
  void Commit();
  // Closing without Commit discards the new contents.
  void Close() override;
  void Abort() override;
  // Writes, and once a few megabytes have gathered asks the disk to start on
  // them, so that Commit's flush waits only for the last of a large file.
  void Write(const void* buffer, UINT count) override;

  [[nodiscard]] const std::string& TempPath() const { return tempPath_; }

 private:
  std::string targetNative_;
  std::string tempPath_;
  bool committed_ = false;
  std::uint64_t unstarted_ = 0;  // bytes written since the disk was last asked to start
};

// Points at which an atomic replace can be interrupted; a test hook may end
// the process (or throw) there to show that a crash never loses the old file.
enum class AtomicStage { TempCreated, TempWritten, BeforeRename, AfterRename };
using AtomicStageHook = void (*)(AtomicStage stage, const std::string& targetNativePath);
void SetAtomicStageHook(AtomicStageHook hook);
// True for the name of an atomic replace's temporary file (file searches skip them).
[[nodiscard]] bool IsAtomicTempName(std::string_view fileName);

// Reads a whole file (program path). False when it cannot be opened or read.
[[nodiscard]] bool ReadWholeFile(std::string_view path, std::string& bytes);
// Replaces a whole file atomically. False (and nothing changed) on failure.
[[nodiscard]] bool WriteWholeFile(std::string_view path, std::string_view bytes);
// The same, with WriteFailureReason's words for a failure in `why`.
[[nodiscard]] bool WriteWholeFile(std::string_view path, std::string_view bytes, std::string& why);

// Why the file at `path` (a program path) could not be written, the system
// having said `error` (an errno value), for a message that has named the file:
// MissingFolderReason where a folder on the way is missing, else the system's
// words naming the file as it is on disk ("Access to /.../x.sgr was denied.").
[[nodiscard]] std::string WriteFailureReason(std::string_view path, int error);
// "the folder F does not exist", F being the first folder on the way to the
// file at `path` that is missing, walking from the root of its native path,
// with its trailing separator ("Output/sub/../x" without "sub" names
// ".../Output/sub/"). Nothing when every folder is there, or where the walk
// meets a component that is not a folder or that cannot be looked at: the
// system's own words tell those better.
[[nodiscard]] std::optional<std::string> MissingFolderReason(std::string_view path);
// "the folder F cannot be created", F being `folder` as it is on disk: why a
// file could not be written where CreateFolders failed first.
[[nodiscard]] std::string FolderNotCreatedReason(std::string_view folder);

// Splits text into lines, accepting LF and CR LF; the last line may lack its end.
[[nodiscard]] std::vector<std::string> SplitLines(std::string_view text);

}  // namespace platform
