#pragma once
// Read-only memory mapping of an existing file, the way the array readers use
// it: open once, map views at offsets aligned to the allocation granularity.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

class MappedView {
 public:
  MappedView() = default;
  ~MappedView();
  MappedView(MappedView&& other) noexcept;
  MappedView& operator=(MappedView&& other) noexcept;
  MappedView(const MappedView&) = delete;
  MappedView& operator=(const MappedView&) = delete;

  [[nodiscard]] bool IsValid() const { return valid_; }
  [[nodiscard]] const std::uint8_t* Data() const { return data_; }
  [[nodiscard]] std::size_t Size() const { return size_; }
  // Unmaps; the view is empty afterwards.
  void Reset();
  // Gives the resident pages wholly inside [offset, offset + length) of the
  // view back to the system. The view stays valid and reads the same bytes:
  // a page touched again is read again from the file. For a reader that
  // walks a large file once and would otherwise keep all of it resident.
  void ReleasePages(std::size_t offset, std::size_t length) const;

 private:
  friend class FileMapping;
  MappedView(void* base, std::size_t mappedLength, const std::uint8_t* data, std::size_t size);
  // A view into a mapping that another object owns and `keepAlive` holds.
  MappedView(std::shared_ptr<const void> keepAlive, const std::uint8_t* data, std::size_t size);

  std::shared_ptr<const void> keepAlive_;
  void* base_ = nullptr;
  std::size_t mappedLength_ = 0;
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  bool valid_ = false;
};

class FileMapping {
 public:
  // Offsets of views must be multiples of this.
  static constexpr std::uint64_t kAllocationGranularity = 65536;

  FileMapping() = default;
  ~FileMapping();
  FileMapping(FileMapping&& other) noexcept;
  FileMapping& operator=(FileMapping&& other) noexcept;
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;

  // Opens an existing file (program path) read-only. False when it cannot.
  [[nodiscard]] bool Open(std::string_view path);
  void Close();
  [[nodiscard]] bool IsOpen() const { return fd_ >= 0; }
  [[nodiscard]] std::uint64_t Size() const { return size_; }

  // Maps [offset, offset + length). Fails (an invalid view) when the file is
  // not open, the offset is not aligned, or the range runs past the end of the
  // file. A length of 0 gives a valid, empty view.
  //
  // The whole file is mapped once, at the first request, and views are handed
  // out of that mapping: readers that open hundreds of thousands of small
  // data sets would otherwise pay a map and an unmap for each. A view keeps
  // the mapping alive after the FileMapping is closed.
  [[nodiscard]] MappedView Map(std::uint64_t offset, std::size_t length) const;

 private:
  struct WholeFile;
  [[nodiscard]] MappedView MapRange(std::uint64_t offset, std::size_t length) const;

  int fd_ = -1;
  std::uint64_t size_ = 0;
  mutable std::shared_ptr<const WholeFile> whole_;
  mutable bool wholeFailed_ = false;
};

}  // namespace platform
