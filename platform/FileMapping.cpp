#include "platform/FileMapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "platform/Paths.h"

namespace platform {

MappedView::MappedView(void* base, std::size_t mappedLength, const std::uint8_t* data, std::size_t size)
    : base_(base), mappedLength_(mappedLength), data_(data), size_(size), valid_(true) {}

MappedView::~MappedView() { Reset(); }

MappedView::MappedView(MappedView&& other) noexcept
    : base_(std::exchange(other.base_, nullptr)),
      mappedLength_(std::exchange(other.mappedLength_, 0)),
      data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      valid_(std::exchange(other.valid_, false)) {}

MappedView& MappedView::operator=(MappedView&& other) noexcept {
  if (this != &other) {
    Reset();
    base_ = std::exchange(other.base_, nullptr);
    mappedLength_ = std::exchange(other.mappedLength_, 0);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    valid_ = std::exchange(other.valid_, false);
  }
  return *this;
}

void MappedView::Reset() {
  if (base_) ::munmap(base_, mappedLength_);
  base_ = nullptr;
  mappedLength_ = 0;
  data_ = nullptr;
  size_ = 0;
  valid_ = false;
}

FileMapping::~FileMapping() { Close(); }

FileMapping::FileMapping(FileMapping&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(std::exchange(other.size_, 0)) {}

FileMapping& FileMapping::operator=(FileMapping&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

bool FileMapping::Open(std::string_view path) {
  Close();
  int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  size_ = std::uint64_t(st.st_size);
  return true;
}

void FileMapping::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
}

MappedView FileMapping::Map(std::uint64_t offset, std::size_t length) const {
  if (fd_ < 0 || offset % kAllocationGranularity != 0) return {};
  // Touching a mapped page past the end of the file raises SIGBUS, so the range
  // is checked against the size the file has now, not only the size at Open.
  struct stat st;
  if (::fstat(fd_, &st) != 0) return {};
  std::uint64_t now = std::min<std::uint64_t>(size_, std::uint64_t(st.st_size));
  if (offset > now || length > now - offset) return {};
  if (length == 0) return MappedView(nullptr, 0, nullptr, 0);

  // The system page may be larger than the granularity on some machines.
  auto page = std::uint64_t(::sysconf(_SC_PAGESIZE));
  std::uint64_t delta = page > 0 ? offset % page : 0;
  std::size_t mapped = length + std::size_t(delta);
  void* base = ::mmap(nullptr, mapped, PROT_READ, MAP_PRIVATE, fd_, off_t(offset - delta));
  if (base == MAP_FAILED) return {};
  return MappedView(base, mapped, static_cast<const std::uint8_t*>(base) + delta, length);
}

}  // namespace platform
