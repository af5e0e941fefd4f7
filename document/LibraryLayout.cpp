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
  std::vector<unified_io::UnifiedCDFGroupCell> setCells;
  std::vector<LayoutCell> cellsB;
  for (int i = 0; i < layout->probeSetCount_; ++i) {
    const std::string name = cdf.GetProbeSetName(i);
    if (!name.starts_with("SNP")) continue;
    layout->probeSets_.push_back(i);
    layout->names_ += name;
    layout->nameEnds_.push_back(static_cast<std::uint32_t>(layout->names_.size()));
    cellsB.clear();
    cdf.GetProbeSetCells(i, setCells);
    for (const unified_io::UnifiedCDFGroupCell& cell : setCells) {
      auto& cells = cell.group % 2 == 0 ? layout->cells_ : cellsB;
      if (IsPerfectMatch(cell.pBase, cell.tBase)) cells.push_back({cell.x, cell.y});
    }
    layout->cellStarts_.push_back(layout->cells_.size());
    layout->cells_.insert(layout->cells_.end(), cellsB.begin(), cellsB.end());
    layout->cellStarts_.push_back(layout->cells_.size());
  }
  layout->cells_.shrink_to_fit();
  layout->names_.shrink_to_fit();
  return layout;
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
