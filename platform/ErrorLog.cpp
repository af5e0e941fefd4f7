#include "platform/ErrorLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/File.h"
#include "platform/Paths.h"

namespace platform {

namespace {

thread_local ScopedErrorLogCapture* t_capture = nullptr;

}  // namespace

ScopedErrorLogCapture::ScopedErrorLogCapture() : previous_(t_capture) { t_capture = this; }

ScopedErrorLogCapture::~ScopedErrorLogCapture() { t_capture = previous_; }

bool AppendErrorLog(std::string_view line, std::string* why) {
  if (t_capture != nullptr) {
    t_capture->Lines.emplace_back(line);
    return true;
  }
  std::string native = NativePath(kErrorLogPath);
  std::string folder = FolderOf(native);
  const auto fail = [&](std::string reason) {
    if (why != nullptr) *why = std::move(reason);
    return false;
  };
  if (!folder.empty() && !CreateFolders(folder)) return fail(FolderNotCreatedReason(folder));
  int fd = ::open(native.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return fail(WriteFailureReason(native, errno));
  // One write per line, so lines of two writers never interleave.
  std::string text(line);
  text += '\n';
  std::size_t done = 0;
  int error = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      break;
    }
    done += std::size_t(n);
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) return fail(WriteFailureReason(native, error));
  return true;
}

}  // namespace platform
