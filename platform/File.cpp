#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "platform/Paths.h"
#include "platform/Strings.h"

namespace {

const char* CauseText(CFileException::Cause cause) {
  switch (cause) {
    case CFileException::none: return "No error occurred while accessing %s.";
    case CFileException::fileNotFound: return "%s was not found.";
    case CFileException::badPath: return "%s contains an incorrect path.";
    case CFileException::tooManyOpenFiles: return "Could not open %s because there are too many open files.";
    case CFileException::accessDenied: return "Access to %s was denied.";
    case CFileException::invalidFile: return "An incorrect file handle was used with %s.";
    case CFileException::removeCurrentDir: return "%s could not be removed because it is the current folder.";
    case CFileException::directoryFull: return "%s could not be created because the folder is full.";
    case CFileException::badSeek: return "Seek failed on %s.";
    case CFileException::hardIO: return "A hardware I/O error was reported while accessing %s.";
    case CFileException::sharingViolation: return "A sharing violation occurred while accessing %s.";
    case CFileException::lockViolation: return "A locking violation occurred while accessing %s.";
    case CFileException::diskFull: return "Disk full while accessing %s.";
    case CFileException::endOfFile: return "An attempt was made to access %s past its end.";
    case CFileException::genericException: break;
  }
  return "An unknown error occurred while accessing %s.";
}

CFileException::Cause CauseFromErrno(int error) {
  switch (error) {
    case 0: return CFileException::none;
    case ENOENT: return CFileException::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL: return CFileException::badPath;
    case EMFILE:
    case ENFILE: return CFileException::tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
    case ETXTBSY: return CFileException::accessDenied;
    case EBADF: return CFileException::invalidFile;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return CFileException::diskFull;
    case EIO: return CFileException::hardIO;
    case ESPIPE: return CFileException::badSeek;
    default: return CFileException::genericException;
  }
}

platform::AtomicStageHook g_stageHook = nullptr;

void RunStageHook(platform::AtomicStage stage, const std::string& target) {
  if (g_stageHook) g_stageHook(stage, target);
}

// Largest single read or write handed to the system at once.
constexpr std::size_t kMaxChunk = std::size_t(1) << 30;

}  // namespace

// ---- CFileException ----------------------------------------------------

CFileException::CFileException(Cause cause, int osError, std::string fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName)) {
  std::string name = m_strFileName.empty() ? std::string("an unnamed file") : m_strFileName;
  message_ = platform::Format(CauseText(m_cause), name.c_str());
}

void CFileException::SetFromErrno(int error, std::string fileName) {
  *this = CFileException(CauseFromErrno(error), error, std::move(fileName));
}

const char* CFileException::what() const noexcept {
  return message_.empty() ? "file error" : message_.c_str();
}

// ---- CFile -------------------------------------------------------------

CFile::CFile(std::string_view fileName, UINT openFlags) {
  CFileException error;
  if (!Open(fileName, openFlags, &error)) throw error;
}

CFile::~CFile() {
  if (fd_ >= 0) ::close(fd_);
}

BOOL CFile::Open(std::string_view fileName, UINT openFlags, CFileException* error) {
  if (fd_ >= 0) Abort();
  name_ = std::string(fileName);
  nativePath_ = platform::NativePath(fileName);

  int flags = O_CLOEXEC;
  switch (openFlags & 0x3) {
    case modeWrite: flags |= O_WRONLY; break;
    case modeReadWrite: flags |= O_RDWR; break;
    default: flags |= O_RDONLY; break;
  }
  if (openFlags & modeCreate) {
    flags |= O_CREAT;
    if (!(openFlags & modeNoTruncate)) flags |= O_TRUNC;
  }
  int fd = ::open(nativePath_.c_str(), flags, 0666);
  if (fd < 0) {
    if (error) error->SetFromErrno(errno, name_);
    return FALSE;
  }
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    if (error) error->SetFromErrno(EISDIR, name_);
    return FALSE;
  }
  fd_ = fd;
  return TRUE;
}

void CFile::ThrowErrno(int error) const {
  CFileException e;
  e.SetFromErrno(error, name_);
  throw e;
}

UINT CFile::Read(void* buffer, UINT count) {
  if (fd_ < 0) ThrowErrno(EBADF);
  auto out = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    ssize_t n = ::read(fd_, out + done, std::min<std::size_t>(count - done, kMaxChunk));
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(errno);
    }
    if (n == 0) break;
    done += std::size_t(n);
  }
  return UINT(done);
}

void CFile::Write(const void* buffer, UINT count) {
  if (fd_ < 0) ThrowErrno(EBADF);
  auto in = static_cast<const char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    ssize_t n = ::write(fd_, in + done, std::min<std::size_t>(count - done, kMaxChunk));
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(errno);
    }
    if (n == 0) ThrowErrno(ENOSPC);
    done += std::size_t(n);
  }
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
  if (fd_ < 0) ThrowErrno(EBADF);
  int whence = from == current ? SEEK_CUR : from == end ? SEEK_END : SEEK_SET;
  off_t pos = ::lseek(fd_, off_t(offset), whence);
  if (pos < 0) throw CFileException(CFileException::badSeek, errno, name_);
  return ULONGLONG(pos);
}

ULONGLONG CFile::GetPosition() const {
  if (fd_ < 0) ThrowErrno(EBADF);
  off_t pos = ::lseek(fd_, 0, SEEK_CUR);
  if (pos < 0) ThrowErrno(errno);
  return ULONGLONG(pos);
}

ULONGLONG CFile::GetLength() const {
  if (fd_ < 0) ThrowErrno(EBADF);
  struct stat st;
  if (::fstat(fd_, &st) != 0) ThrowErrno(errno);
  return ULONGLONG(st.st_size);
}

void CFile::Flush() {
  if (fd_ < 0) return;
  if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) ThrowErrno(errno);
}

void CFile::Close() {
  if (fd_ < 0) return;
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) ThrowErrno(errno);
}

void CFile::Abort() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

// ---- CMemFile ----------------------------------------------------------

UINT CMemFile::Read(void* buffer, UINT count) {
  if (pos_ >= bytes_.size()) return 0;
  std::size_t n = std::min<std::size_t>(count, bytes_.size() - pos_);
  std::memcpy(buffer, bytes_.data() + pos_, n);
  pos_ += n;
  return UINT(n);
}

void CMemFile::Write(const void* buffer, UINT count) {
  if (pos_ + count > bytes_.size()) bytes_.resize(pos_ + count, '\0');
  std::memcpy(bytes_.data() + pos_, buffer, count);
  pos_ += count;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
  LONGLONG base = from == current ? LONGLONG(pos_) : from == end ? LONGLONG(bytes_.size()) : 0;
  LONGLONG target = base + offset;
  if (target < 0) throw CFileException(CFileException::badSeek, EINVAL, name_);
  pos_ = ULONGLONG(target);
  return pos_;
}

// ---- CAtomicFile -------------------------------------------------------

namespace platform {

void SetAtomicStageHook(AtomicStageHook hook) { g_stageHook = hook; }

bool IsAtomicTempName(std::string_view fileName) {
  return fileName.size() > 5 && fileName.front() == '.' && fileName.substr(fileName.size() - 4) == ".tmp";
}

CAtomicFile::~CAtomicFile() {
  if (!committed_) Abort();
}

BOOL CAtomicFile::Open(std::string_view targetName, UINT openFlags, CFileException* error) {
  Abort();
  committed_ = false;
  name_ = std::string(targetName);
  targetNative_ = NativePath(targetName);
  nativePath_ = targetNative_;
  std::string folder = FolderOf(targetNative_);
  std::string base = FileNameOf(targetNative_);
  if (base.empty()) {
    if (error) error->SetFromErrno(EISDIR, name_);
    return FALSE;
  }

  static std::mt19937_64 random{std::random_device{}()};
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tempPath_ = folder + "." + base + "." + Format("%06llx", (unsigned long long)(random() & 0xFFFFFF)) + ".tmp";
    fd = ::open(tempPath_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    if (error) error->SetFromErrno(errno, name_);
    tempPath_.clear();
    return FALSE;
  }
  fd_ = fd;
  unstarted_ = 0;

  // The new file keeps the old one's permissions; with modeNoTruncate it also
  // starts from the old contents, so a caller can rewrite part of it in place.
  struct stat old;
  if (::stat(targetNative_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    ::fchmod(fd_, old.st_mode & 07777);
    if (openFlags & modeNoTruncate) {
      try {
        std::string bytes;
        if (!ReadWholeFile(targetNative_, bytes)) ThrowErrno(errno ? errno : EIO);
        for (std::size_t done = 0; done < bytes.size(); done += kMaxChunk)
          CFile::Write(bytes.data() + done, UINT(std::min(kMaxChunk, bytes.size() - done)));
        Seek(0, begin);
      } catch (const CFileException& e) {
        if (error) *error = e;
        Abort();
        return FALSE;
      }
    }
  }
  RunStageHook(AtomicStage::TempCreated, targetNative_);
  return TRUE;
}

void CAtomicFile::Write(const void* buffer, UINT count) {
  CFile::Write(buffer, count);
  // Only a hint, whose failure changes nothing: the flush in Commit is what
  // makes the file durable. Pages already on their way are passed over.
  constexpr std::uint64_t kStartEvery = 1 << 20;
  unstarted_ += count;
  if (unstarted_ >= kStartEvery) {
    ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
    unstarted_ = 0;
  }
}

void CAtomicFile::Commit() {
  if (fd_ < 0) ThrowErrno(EBADF);
  auto fail = [this](int error) {
    Abort();
    ThrowErrno(error);
  };
  if (::fsync(fd_) != 0) fail(errno);
  RunStageHook(AtomicStage::TempWritten, targetNative_);
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) fail(errno);
  RunStageHook(AtomicStage::BeforeRename, targetNative_);
  if (::rename(tempPath_.c_str(), targetNative_.c_str()) != 0) fail(errno);
  committed_ = true;
  // The rename is durable only once the folder itself is on disk.
  std::string folder = FolderOf(targetNative_);
  int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  RunStageHook(AtomicStage::AfterRename, targetNative_);
}

void CAtomicFile::Close() { Abort(); }

void CAtomicFile::Abort() {
  CFile::Abort();
  if (!committed_ && !tempPath_.empty()) ::unlink(tempPath_.c_str());
  tempPath_.clear();
}

bool ReadWholeFile(std::string_view path, std::string& bytes) {
  int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  std::string out;
  out.reserve(std::size_t(st.st_size));
  char chunk[65536];
  for (;;) {
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int saved = errno;
      ::close(fd);
      errno = saved;
      return false;
    }
    if (n == 0) break;
    out.append(chunk, std::size_t(n));
  }
  ::close(fd);
  bytes = std::move(out);
  return true;
}

namespace {

std::string ReasonNamingFile(std::string_view path, CFileException::Cause cause, int error) {
  if (std::optional<std::string> missing = MissingFolderReason(path)) return *missing;
  return CFileException(cause, error, NativePath(path)).what();
}

}  // namespace

std::optional<std::string> MissingFolderReason(std::string_view path) {
  const std::string folder = FolderOf(NativePath(path));
  std::string walked = !folder.empty() && folder.front() == '/' ? "/" : "";
  std::size_t at = walked.size();
  while (at < folder.size()) {
    const std::size_t end = std::min(folder.find('/', at), folder.size());
    if (end > at) {
      walked.append(folder, at, end - at);
      struct stat st;
      if (::stat(walked.c_str(), &st) != 0) {
        // Past a component that is not a folder the system says ENOTDIR; a
        // link that leads nowhere is there, only broken.
        if (errno != ENOENT || ::lstat(walked.c_str(), &st) == 0) return std::nullopt;
        return "the folder " + walked + "/ does not exist";
      }
      walked += '/';
    }
    at = end + 1;
  }
  return std::nullopt;
}

std::string FolderNotCreatedReason(std::string_view folder) {
  return "the folder " + NativePath(folder) + " cannot be created";
}

std::string WriteFailureReason(std::string_view path, int error) {
  return ReasonNamingFile(path, CauseFromErrno(error), error);
}

bool WriteWholeFile(std::string_view path, std::string_view bytes) {
  std::string why;
  return WriteWholeFile(path, bytes, why);
}

bool WriteWholeFile(std::string_view path, std::string_view bytes, std::string& why) {
  try {
    CAtomicFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite, &error)) throw error;
    for (std::size_t done = 0; done < bytes.size(); done += kMaxChunk)
      file.Write(bytes.data() + done, UINT(std::min(kMaxChunk, bytes.size() - done)));
    file.Commit();
    return true;
  } catch (const CFileException& error) {
    why = ReasonNamingFile(path, error.m_cause, error.m_lOsError);
    return false;
  }
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t nl = text.find('\n', pos);
    std::size_t end = nl == std::string_view::npos ? text.size() : nl;
    std::size_t stop = end;
    if (stop > pos && text[stop - 1] == '\r') --stop;
    lines.emplace_back(text.substr(pos, stop - pos));
    pos = nl == std::string_view::npos ? text.size() : nl + 1;
  }
  return lines;
}

}  // namespace platform
