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

MappedView::MappedView(std::shared_ptr<const void> keepAlive, const std::uint8_t* data, std::size_t size)
    : keepAlive_(std::move(keepAlive)), data_(data), size_(size), valid_(true) {}

MappedView::~MappedView() { Reset(); }

MappedView::MappedView(MappedView&& other) noexcept
    : keepAlive_(std::move(other.keepAlive_)),
      base_(std::exchange(other.base_, nullptr)),
      mappedLength_(std::exchange(other.mappedLength_, 0)),
      data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      valid_(std::exchange(other.valid_, false)) {}

MappedView& MappedView::operator=(MappedView&& other) noexcept {
  if (this != &other) {
    Reset();
    keepAlive_ = std::move(other.keepAlive_);
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
  keepAlive_.reset();
  base_ = nullptr;
  mappedLength_ = 0;
  data_ = nullptr;
  size_ = 0;
  valid_ = false;
}

void MappedView::ReleasePages(std::size_t offset, std::size_t length) const {
  if (!valid_ || offset >= size_) return;
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(data_ + offset);
  const auto end = reinterpret_cast<std::uintptr_t>(data_ + std::min(size_, offset + length));
  const std::uintptr_t first = (begin + page - 1) / page * page;
  const std::uintptr_t last = end / page * page;
  // The mapping is read-only and shared: dropping its pages loses nothing.
  if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

struct FileMapping::WholeFile {
  WholeFile(void* b, std::size_t n) : base(b), length(n) {}
  ~WholeFile() { ::munmap(base, length); }
  WholeFile(const WholeFile&) = delete;
  WholeFile& operator=(const WholeFile&) = delete;
  void* base;
  std::size_t length;
};

FileMapping::~FileMapping() { Close(); }

FileMapping::FileMapping(FileMapping&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      size_(std::exchange(other.size_, 0)),
      whole_(std::move(other.whole_)),
      wholeFailed_(std::exchange(other.wholeFailed_, false)) {}

FileMapping& FileMapping::operator=(FileMapping&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    size_ = std::exchange(other.size_, 0);
    whole_ = std::move(other.whole_);
    wholeFailed_ = std::exchange(other.wholeFailed_, false);
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
  whole_.reset();
  wholeFailed_ = false;
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

  if (!whole_ && !wholeFailed_ && size_ > 0) {
    void* base = ::mmap(nullptr, std::size_t(size_), PROT_READ, MAP_PRIVATE, fd_, 0);
    if (base == MAP_FAILED)
      wholeFailed_ = true;  // e.g. no address space for it: map ranges one by one
    else
      whole_ = std::make_shared<const WholeFile>(base, std::size_t(size_));
  }
  if (whole_) {
    const auto* data = static_cast<const std::uint8_t*>(whole_->base) + offset;
    return MappedView(std::shared_ptr<const void>(whole_, data), data, length);
  }
  return MapRange(offset, length);
}

MappedView FileMapping::MapRange(std::uint64_t offset, std::size_t length) const {
  // The system page may be larger than the granularity on some machines.
  auto page = std::uint64_t(::sysconf(_SC_PAGESIZE));
  std::uint64_t delta = page > 0 ? offset % page : 0;
  std::size_t mapped = length + std::size_t(delta);
  void* base = ::mmap(nullptr, mapped, PROT_READ, MAP_PRIVATE, fd_, off_t(offset - delta));
  if (base == MAP_FAILED) return {};
  return MappedView(base, mapped, static_cast<const std::uint8_t*>(base) + delta, length);
}

}  // namespace platform
