#include "document/extraction/LibraryLayout.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <vector>

#include "arrayfiles/cdf/UnifiedCDFData.h"
#include "document/extraction/ExtractionParts.h"
#include "platform/ParallelFor.h"
#include "platform/Strings.h"

namespace qova::document::extraction {

namespace {

// Fails as LibraryLayout::Read promises.
[[noreturn]] void FailUnreadable(const std::string& fileName) {
  Fail(platform::Format("The library file %s cannot be read", fileName.c_str()));
}

}  // namespace

void LibraryLayout::Walk(unified_io::UnifiedCDFData& cdf, int first, int last) {
  std::vector<unified_io::UnifiedCDFGroupCell> setCells;
  platform::UninitializedVector<LayoutCell> cellsB;
  const std::string library = "The library file " + fileName_;
  // Room enough that the arrays seldom grow: a grown array of this element
  // type is moved an element at a time. Room never written takes no memory.
  const auto sets = static_cast<std::size_t>(std::max(0, last - first));
  probeSets_.reserve(probeSets_.size() + sets);
  nameEnds_.reserve(nameEnds_.size() + sets);
  cellStarts_.reserve(cellStarts_.size() + 2 * sets);
  names_.reserve(names_.size() + 16 * sets);
  cells_.reserve(cells_.size() + 8 * sets);
  for (int i = first; i < last; ++i) {
    const std::string name = SnpWalkProbeSetName(cdf, i, library);
    if (!name.starts_with("SNP")) continue;
    probeSets_.push_back(i);
    names_.insert(names_.end(), name.begin(), name.end());
    nameEnds_.push_back(static_cast<std::uint32_t>(names_.size()));
    cellsB.clear();
    // A record that cannot be read would otherwise give the SNP no cells,
    // and every sample would be stored with zero sums for it.
    if (!cdf.GetProbeSetCells(i, setCells)) {
      Fail(platform::Format("The library file %s cannot be read at its probe set %d (%s): %s", fileName_.c_str(), i,
                            name.c_str(), cdf.GetError().c_str()));
    }
    for (const unified_io::UnifiedCDFGroupCell& cell : setCells) {
      auto& cells = cell.group % 2 == 0 ? cells_ : cellsB;
      if (IsPerfectMatch(cell.pBase, cell.tBase)) cells.push_back({cell.x, cell.y});
    }
    cellStarts_.push_back(cells_.size());
    cells_.insert(cells_.end(), cellsB.begin(), cellsB.end());
    cellStarts_.push_back(cells_.size());
  }
}

void LibraryLayout::Place(const LibraryLayout& part, const PartStart& at) {
  std::copy(part.probeSets_.begin(), part.probeSets_.end(), probeSets_.begin() + std::ptrdiff_t(at.snp));
  std::copy(part.names_.begin(), part.names_.end(), names_.begin() + std::ptrdiff_t(at.nameByte));
  for (std::size_t k = 0; k < part.nameEnds_.size(); ++k) {
    nameEnds_[at.snp + k] = static_cast<std::uint32_t>(at.nameByte + part.nameEnds_[k]);
  }
  std::copy(part.cells_.begin(), part.cells_.end(), cells_.begin() + std::ptrdiff_t(at.cell));
  // The part's first start is its 0, the end of the part before it.
  for (std::size_t k = 1; k < part.cellStarts_.size(); ++k) cellStarts_[2 * at.snp + k] = at.cell + part.cellStarts_[k];
}

std::shared_ptr<const LibraryLayout> LibraryLayout::Read(const std::string& path, int threads) {
  std::shared_ptr<LibraryLayout> layout(new LibraryLayout);
  layout->fileName_ = platform::FileNameOf(path);
  layout->statusKnown_ = platform::GetFileStatus(path, layout->status_);
  unified_io::UnifiedCDFData cdf;
  cdf.SetFileName(path);
  if (!cdf.Read()) FailUnreadable(layout->fileName_);
  layout->probeSetCount_ = SnpWalkProbeSetCount(cdf, "The library file " + layout->fileName_);
  layout->cols_ = cdf.GetHeader().GetCols();
  layout->rows_ = cdf.GetHeader().GetRows();
  // Walking on several threads pays only for a reader that can be copied:
  // the binary legacy form's reader reads each record when asked, so its
  // walk is the larger part of the work. The text form's reader parses the
  // whole file when it opens it, and the generic form's reads every probe
  // set's header: there the walk is the smaller part.
  if (threads > 1 && layout->probeSetCount_ > 1 && cdf.CanBeCopied()) {
    layout->WalkInParts(cdf, threads);
  } else {
    layout->Walk(cdf, 0, layout->probeSetCount_);
  }
  // No shrink_to_fit: copying the arrays to their exact size took a tenth of
  // a one-thread build, and the room a large array grew beyond its size is
  // never written, so it takes no memory.
  return layout;
}

void LibraryLayout::WalkInParts(unified_io::UnifiedCDFData& cdf, int threads) {
  platform::ParallelFor pool(threads);
  // Every thread but the first gets a reader of its own, before any walks.
  std::vector<std::unique_ptr<unified_io::UnifiedCDFData>> readers(static_cast<std::size_t>(pool.Parts()));
  pool.Run(readers.size(), [&](int part, std::size_t, std::size_t) {
    if (part == 0) return;
    auto reader = std::make_unique<unified_io::UnifiedCDFData>();
    if (!reader->ReadCopyOf(cdf)) FailUnreadable(fileName_);
    readers[static_cast<std::size_t>(part)] = std::move(reader);
  });

  // The probe sets are cut into a few stretches a thread, each walked into a
  // layout of its own by whichever thread is free next: stretches of one
  // library take unequal times. The stretches are then copied into this
  // layout side by side, in library order. A stretch that fails keeps its
  // failure, and the first stretch's failure is the one told, as on one thread.
  const std::size_t count = static_cast<std::size_t>(probeSetCount_);
  const std::size_t stretches = std::min(count, readers.size() * 4);
  std::vector<std::unique_ptr<LibraryLayout>> walked(stretches);
  std::vector<std::exception_ptr> failures(stretches);
  std::atomic<std::size_t> next{0};
  pool.Run(readers.size(), [&](int part, std::size_t, std::size_t) {
    unified_io::UnifiedCDFData& reader = part == 0 ? cdf : *readers[static_cast<std::size_t>(part)];
    for (std::size_t k; (k = next++) < stretches;) {
      const auto [first, last] = platform::ParallelFor::PartRange(count, static_cast<int>(stretches), static_cast<int>(k));
      walked[k].reset(new LibraryLayout);
      walked[k]->fileName_ = fileName_;
      try {
        walked[k]->Walk(reader, static_cast<int>(first), static_cast<int>(last));
      } catch (...) {
        failures[k] = std::current_exception();
      }
    }
  });
  readers.clear();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
  std::vector<PartStart> starts(stretches + 1);
  for (std::size_t k = 0; k < stretches; ++k) {
    starts[k + 1] = starts[k];
    starts[k + 1].snp += walked[k]->probeSets_.size();
    starts[k + 1].cell += walked[k]->cells_.size();
    starts[k + 1].nameByte += walked[k]->names_.size();
  }
  // The arrays are sized without being written: each thread writes, and so
  // faults in, its own stretch of them.
  const PartStart& all = starts.back();
  probeSets_.resize(all.snp);
  nameEnds_.resize(all.snp);
  cellStarts_.resize(2 * all.snp + 1);
  cells_.resize(all.cell);
  names_.resize(all.nameByte);
  pool.Run(stretches, [&](int, std::size_t first, std::size_t last) {
    for (std::size_t k = first; k < last; ++k) {
      Place(*walked[k], starts[k]);
      walked[k].reset();
    }
  });
}

std::shared_ptr<const LibraryLayout> LibraryLayoutCache::Layout(const std::string& path) {
  platform::FileStatus status;
  const bool known = platform::GetFileStatus(path, status);
  std::lock_guard lock(mutex_);
  auto found = entries_.find(path);
  if (known && found != entries_.end() && found->second->Status().size == status.size &&
      found->second->Status().modificationTime == status.modificationTime) {
    return found->second;
  }
  if (found != entries_.end()) entries_.erase(found);
  std::shared_ptr<const LibraryLayout> layout = LibraryLayout::Read(path, threads_);
  if (layout->StatusKnown()) entries_[path] = layout;
  return layout;
}

}  // namespace qova::document::extraction
