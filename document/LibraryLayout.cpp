#include "document/LibraryLayout.h"

#include "arrayfiles/cdf/UnifiedCDFData.h"
#include "document/ExtractionParts.h"
#include "platform/Strings.h"

namespace extraction {

std::shared_ptr<const LibraryLayout> LibraryLayout::Read(const std::string& path) {
  std::shared_ptr<LibraryLayout> layout(new LibraryLayout);
  layout->fileName_ = platform::FileNameOf(path);
  layout->statusKnown_ = platform::GetFileStatus(path, layout->status_);
  unified_io::UnifiedCDFData cdf;
  cdf.SetFileName(path);
  if (!cdf.Read()) Fail(platform::Format("The library file %s cannot be read", layout->fileName_.c_str()));

  layout->probeSetCount_ = cdf.GetHeader().GetNumProbeSets();
  unified_io::UnifiedCDFProbeSetInformation set;
  unified_io::UnifiedCDFProbeGroupInformation group;
  unified_io::UnifiedCDFProbeInformation cell;
  std::vector<LayoutCell> cellsB;
  for (int i = 0; i < layout->probeSetCount_; ++i) {
    const std::string name = cdf.GetProbeSetName(i);
    if (!name.starts_with("SNP")) continue;
    layout->probeSets_.push_back(i);
    layout->names_ += name;
    layout->nameEnds_.push_back(static_cast<std::uint32_t>(layout->names_.size()));
    cellsB.clear();
    cdf.GetProbeSetInformation(i, set);
    const int groups = set.GetNumGroups();
    for (int g = 0; g < groups; ++g) {
      set.GetGroupInformation(g, group);
      auto& cells = g % 2 == 0 ? layout->cells_ : cellsB;
      const int count = group.GetNumCells();
      for (int c = 0; c < count; ++c) {
        group.GetCell(c, cell);
        if (IsPerfectMatch(cell.GetPBase(), cell.GetTBase())) cells.push_back({cell.GetX(), cell.GetY()});
      }
    }
    layout->cellStarts_.push_back(layout->cells_.size());
    layout->cells_.insert(layout->cells_.end(), cellsB.begin(), cellsB.end());
    layout->cellStarts_.push_back(layout->cells_.size());
  }
  layout->cells_.shrink_to_fit();
  layout->names_.shrink_to_fit();
  return layout;
}

std::string_view LibraryLayout::SnpName(std::size_t k) const {
  const std::size_t begin = k == 0 ? 0 : nameEnds_[k - 1];
  return std::string_view(names_).substr(begin, nameEnds_[k] - begin);
}

std::span<const LayoutCell> LibraryLayout::CellsA(std::size_t k) const {
  return std::span(cells_).subspan(cellStarts_[2 * k], cellStarts_[2 * k + 1] - cellStarts_[2 * k]);
}

std::span<const LayoutCell> LibraryLayout::CellsB(std::size_t k) const {
  return std::span(cells_).subspan(cellStarts_[2 * k + 1], cellStarts_[2 * k + 2] - cellStarts_[2 * k + 1]);
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
  std::shared_ptr<const LibraryLayout> layout = LibraryLayout::Read(path);
  if (layout->StatusKnown()) entries_[path] = layout;
  return layout;
}

}  // namespace extraction
