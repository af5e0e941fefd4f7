#pragma once
// What extraction needs of a library file, read once and kept compact: for
// every SNP probe set, in library order, its probe-set index, its name and
// the perfect-match cells of allele A (the even groups) and of allele B (the
// odd groups), in library order, in flat arrays. Many samples of one chip
// type are summed against one layout instead of each reading the library
// file again.
//
// A library in the binary legacy form may be built on several threads: the
// probe sets are cut into contiguous stretches, each walked by a free thread
// through that thread's reader (a reader keeps what it has walked, so one is
// not shared), and the stretches are joined in library order, so the layout
// and the failure told are the same whatever the number of threads. The
// other forms are walked on one thread.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Paths.h"
#include "platform/UninitializedVector.h"

namespace unified_io {
class UnifiedCDFData;
}

namespace qova::document::extraction {

// Left uninitialised when declared without a value: the layout's arrays of
// millions of cells are filled by the threads that walked them.
struct LayoutCell {
  std::int32_t X;
  std::int32_t Y;
  friend bool operator==(const LayoutCell&, const LayoutCell&) = default;
};

class LibraryLayout {
 public:
  // Reads the library file at `path` on `threads` threads; fails
  // (qova::document::extraction::Failure) with "The library file <name> cannot be read" when
  // no reader takes it.
  [[nodiscard]] static std::shared_ptr<const LibraryLayout> Read(const std::string& path, int threads = 1);

  // The library file's name, for messages.
  [[nodiscard]] const std::string& FileName() const { return fileName_; }
  // The file's status, taken before it was read: a file that changes while
  // it is read differs from this afterwards. Unknown when it could not be taken.
  [[nodiscard]] bool StatusKnown() const { return statusKnown_; }
  [[nodiscard]] const platform::FileStatus& Status() const { return status_; }
  // Probe sets of the library file, SNP or not.
  [[nodiscard]] int ProbeSetCount() const { return probeSetCount_; }
  // The cell grid the library file declares; 0 x 0 for the generic form,
  // which declares none.
  [[nodiscard]] int Cols() const { return cols_; }
  [[nodiscard]] int Rows() const { return rows_; }
  [[nodiscard]] std::size_t SnpCount() const { return probeSets_.size(); }
  // The cells of every SNP probe set: CellsA(0), CellsB(0), CellsA(1), ...
  [[nodiscard]] std::span<const LayoutCell> Cells() const { return cells_; }

  // Of the k-th SNP probe set (k < SnpCount()):
  [[nodiscard]] int ProbeSetIndex(std::size_t k) const { return probeSets_[k]; }
  [[nodiscard]] std::string_view SnpName(std::size_t k) const {
    const std::size_t begin = k == 0 ? 0 : nameEnds_[k - 1];
    return std::string_view(names_.data() + begin, nameEnds_[k] - begin);
  }
  [[nodiscard]] std::span<const LayoutCell> CellsA(std::size_t k) const {
    return std::span(cells_).subspan(cellStarts_[2 * k], cellStarts_[2 * k + 1] - cellStarts_[2 * k]);
  }
  [[nodiscard]] std::span<const LayoutCell> CellsB(std::size_t k) const {
    return std::span(cells_).subspan(cellStarts_[2 * k + 1], cellStarts_[2 * k + 2] - cellStarts_[2 * k + 1]);
  }

 private:
  LibraryLayout() = default;
  // Adds the SNP probe sets among probe sets [first, last) of `cdf`.
  void Walk(unified_io::UnifiedCDFData& cdf, int first, int last);
  // Walks all probe sets of `cdf`, which holds the binary legacy form, on
  // `threads` threads.
  void WalkInParts(unified_io::UnifiedCDFData& cdf, int threads);
  // Where a part's SNPs, cells and name bytes start in the whole layout.
  struct PartStart {
    std::size_t snp = 0;
    std::size_t cell = 0;
    std::size_t nameByte = 0;
  };
  // Copies the SNP probe sets of `part` into this layout, sized for all
  // parts, at `at`.
  void Place(const LibraryLayout& part, const PartStart& at);

  std::string fileName_;
  platform::FileStatus status_;
  bool statusKnown_ = false;
  int probeSetCount_ = 0;
  int cols_ = 0;
  int rows_ = 0;
  platform::UninitializedVector<std::int32_t> probeSets_;
  // SNP k's name is names_[nameEnds_[k - 1] .. nameEnds_[k]).
  platform::UninitializedVector<char> names_;
  platform::UninitializedVector<std::uint32_t> nameEnds_;
  // SNP k's allele A cells are cells_[cellStarts_[2k] .. cellStarts_[2k + 1]),
  // its allele B cells run on to cellStarts_[2k + 2].
  platform::UninitializedVector<LayoutCell> cells_;
  platform::UninitializedVector<std::size_t> cellStarts_{0};
};

// The layouts of one run, by library path. A layout is read when first asked
// for, and read again when its file's size or modification time is no longer
// what it was when read, so a library file replaced during a run is never
// used stale. Safe to share between threads.
class LibraryLayoutCache {
 public:
  // Layouts are built on `threads` threads: the workers of a run cannot sum
  // before the layout of their library is there, so its build may use their cores.
  explicit LibraryLayoutCache(int threads = 1) : threads_(threads) {}

  // Fails as LibraryLayout::Read does; a failed read is not kept.
  [[nodiscard]] std::shared_ptr<const LibraryLayout> Layout(const std::string& path);

 private:
  const int threads_;
  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<const LibraryLayout>> entries_;
};

}  // namespace qova::document::extraction
