#include "arrayfiles/cdf/UnifiedCDFData.h"

#include <algorithm>

#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/GenericFileReader.h"

namespace unified_io {

using generic_exceptions::GenericException;

// ---- header ----

void UnifiedCDFFileHeader::Clear() {
  legacyHeader_ = nullptr;
  genericData_ = nullptr;
  referenceSequence_.clear();
}

int UnifiedCDFFileHeader::GetNumProbeSets() const {
  if (legacyHeader_ != nullptr) return legacyHeader_->GetNumProbeSets();
  if (genericData_ == nullptr || genericData_->IsControlFile()) return 0;
  try {
    // Each count may lie; the walk stays within all three.
    std::int64_t count = genericData_->GetProbeSetCount();
    count = std::min<std::int64_t>(count, std::int64_t(genericData_->GetDataGroupCount()) - 1);
    if (count <= 0) return 0;
    return static_cast<int>(std::min<std::int64_t>(count, genericData_->GetIndexRowCount()));
  } catch (const GenericException& e) {
    if (errorSink_ != nullptr) *errorSink_ = e.what();
    return 0;
  }
}

int UnifiedCDFFileHeader::GetNumQCProbeSets() const {
  return legacyHeader_ != nullptr ? legacyHeader_->GetNumQCProbeSets() : 0;
}

int UnifiedCDFFileHeader::GetRows() const { return legacyHeader_ != nullptr ? legacyHeader_->GetRows() : 0; }

int UnifiedCDFFileHeader::GetCols() const { return legacyHeader_ != nullptr ? legacyHeader_->GetCols() : 0; }

// ---- cell ----

void UnifiedCDFProbeInformation::Clear() {
  legacyCell_.reset();
  genericCell_.reset();
}

int UnifiedCDFProbeInformation::GetX() const {
  if (legacyCell_) return legacyCell_->GetX();
  return genericCell_ ? genericCell_->GetX() : 0;
}

int UnifiedCDFProbeInformation::GetY() const {
  if (legacyCell_) return legacyCell_->GetY();
  return genericCell_ ? genericCell_->GetY() : 0;
}

char UnifiedCDFProbeInformation::GetPBase() const {
  if (legacyCell_) return legacyCell_->GetPBase();
  return genericCell_ ? genericCell_->GetPBase() : 0;
}

char UnifiedCDFProbeInformation::GetTBase() const {
  if (legacyCell_) return legacyCell_->GetTBase();
  return genericCell_ ? genericCell_->GetTBase() : 0;
}

int UnifiedCDFProbeInformation::GetListIndex() const {
  if (legacyCell_) return legacyCell_->GetListIndex();
  return genericCell_ ? genericCell_->GetListIndex() : 0;
}

int UnifiedCDFProbeInformation::GetExpos() const {
  if (legacyCell_) return legacyCell_->GetExpos();
  return genericCell_ ? genericCell_->GetExpos() : 0;
}

// ---- group ----

void UnifiedCDFProbeGroupInformation::Clear() {
  legacyGroup_.reset();
  genericGroup_.reset();
}

int UnifiedCDFProbeGroupInformation::GetNumCells() const {
  if (legacyGroup_) return legacyGroup_->GetNumCells();
  return genericGroup_ ? genericGroup_->GetNumCells() : 0;
}

std::string UnifiedCDFProbeGroupInformation::GetName() const {
  if (legacyGroup_) return legacyGroup_->GetName();
  return genericGroup_ ? StringUtils::WideToNarrow(genericGroup_->GetName()) : std::string();
}

int UnifiedCDFProbeGroupInformation::GetDirection() const {
  if (legacyGroup_) return legacyGroup_->GetDirection();
  return genericGroup_ ? genericGroup_->GetDirection() : 0;
}

void UnifiedCDFProbeGroupInformation::GetCell(int index, UnifiedCDFProbeInformation& cell) {
  cell.Clear();
  if (legacyGroup_) {
    legacyGroup_->GetCell(index, cell.legacyCell_.emplace());
  } else if (genericGroup_) {
    try {
      genericGroup_->GetCell(index, cell.genericCell_.emplace());
    } catch (const GenericException&) {
      cell.genericCell_.emplace();
    }
  }
}

// ---- probe set ----

void UnifiedCDFProbeSetInformation::Clear() {
  legacySet_.reset();
  genericSet_.reset();
}

int UnifiedCDFProbeSetInformation::GetNumGroups() const {
  if (legacySet_) return legacySet_->GetNumGroups();
  return genericSet_ ? genericSet_->GetNumGroups() : 0;
}

int UnifiedCDFProbeSetInformation::GetProbeSetType() const {
  if (legacySet_) return legacySet_->GetProbeSetType();
  return genericSet_ ? genericSet_->GetUnitType() : 0;
}

void UnifiedCDFProbeSetInformation::GetGroupInformation(int index, UnifiedCDFProbeGroupInformation& group) const {
  group.Clear();
  if (legacySet_) {
    legacySet_->GetGroupInformation(index, group.legacyGroup_.emplace());
  } else if (genericSet_) {
    try {
      genericSet_->GetGroupInformation(index, group.genericGroup_.emplace());
    } catch (const GenericException&) {
      group.Clear();
    }
  }
}

// ---- the file ----

bool UnifiedCDFData::IsGenericFile(const std::string& path) {
  generic_io::GenericData data;
  generic_io::GenericFileReader reader;
  reader.SetFilename(path);
  try {
    reader.Read(data, generic_io::NoDataGroupHeaders);
    return true;
  } catch (const GenericException&) {
    return false;
  }
}

void UnifiedCDFData::Close() {
  header_.Clear();
  if (legacyFile_) legacyFile_->Close();
  legacyFile_.reset();
  genericData_.reset();
}

void UnifiedCDFData::CreateObject() {
  Close();
  if (IsGenericFile(fileName_)) {
    genericData_ = std::make_unique<generic_io::CDFData>();
  } else {
    legacyFile_ = std::make_unique<CLegacyCDFFile>();
  }
}

bool UnifiedCDFData::Read() {
  error_.clear();
  CreateObject();
  if (legacyFile_) {
    legacyFile_->SetFileName(fileName_);
    const bool ok = legacyFile_->Read();
    if (!ok) {
      error_ = legacyFile_->GetError();
      legacyFile_->Close();
    }
    return ok;
  }
  try {
    generic_io::CDFFileReader().Read(fileName_, *genericData_);
    return true;
  } catch (const std::exception& e) {
    error_ = e.what();
  } catch (...) {
    error_ = "Unknown failure.";
  }
  // Nothing of a file that failed part-way shows through the view.
  genericData_->Clear();
  return false;
}

bool UnifiedCDFData::ReadCopyOf(const UnifiedCDFData& other) {
  Close();
  error_.clear();
  fileName_ = other.fileName_;
  if (!other.legacyFile_) return false;
  legacyFile_ = std::make_unique<CLegacyCDFFile>();
  if (legacyFile_->ReadCopyOf(*other.legacyFile_)) return true;
  error_ = legacyFile_->GetError();
  legacyFile_.reset();
  return false;
}

UnifiedCDFFileHeader& UnifiedCDFData::GetHeader() {
  header_.Clear();
  if (legacyFile_) {
    header_.legacyHeader_ = &legacyFile_->HeaderRecord();
    header_.referenceSequence_ = legacyFile_->HeaderRecord().GetReference();
  } else if (genericData_) {
    header_.genericData_ = genericData_.get();
    try {
      header_.referenceSequence_ = genericData_->GetReferenceSequence();
    } catch (const GenericException&) {
      header_.referenceSequence_.clear();
    }
  }
  return header_;
}

std::string UnifiedCDFData::GetProbeSetName(int index) {
  if (legacyFile_) return legacyFile_->GetProbeSetName(index);
  if (!genericData_) return std::string();
  try {
    return genericData_->GetProbeSetNarrowName(index);
  } catch (const GenericException& e) {
    error_ = e.what();
    return std::string();
  }
}

void UnifiedCDFData::GetProbeSetInformation(int index, UnifiedCDFProbeSetInformation& info) {
  info.Clear();
  if (legacyFile_) {
    if (!legacyFile_->GetProbeSetInformation(index, info.legacySet_.emplace())) error_ = legacyFile_->GetError();
  } else if (genericData_ && !genericData_->IsControlFile()) {
    try {
      genericData_->GetProbeSetInformation(index, info.genericSet_.emplace());
    } catch (const GenericException& e) {
      error_ = e.what();
      info.Clear();
    }
  }
}

bool UnifiedCDFData::GetProbeSetCells(int index, std::vector<UnifiedCDFGroupCell>& cells) {
  cells.clear();
  if (legacyFile_) {
    if (legacyFile_->GetProbeSetCells(index, cells)) return true;
    error_ = legacyFile_->GetError();
    return false;
  }
  if (const std::optional<bool> read = ReadPlainGenericCells(index, cells)) return *read;
  UnifiedCDFProbeSetInformation set;
  UnifiedCDFProbeGroupInformation group;
  UnifiedCDFProbeInformation cell;
  GetProbeSetInformation(index, set);
  // A generic record that cannot be read is cleared; a quality-control file
  // has no probe sets to read.
  if (genericData_ && !genericData_->IsControlFile() && !set.genericSet_) return false;
  const int groups = set.GetNumGroups();
  for (int g = 0; g < groups; ++g) {
    set.GetGroupInformation(g, group);
    const int count = group.GetNumCells();
    for (int c = 0; c < count; ++c) {
      group.GetCell(c, cell);
      cells.push_back({g, cell.GetX(), cell.GetY(), cell.GetPBase(), cell.GetTBase()});
    }
  }
  return true;
}

std::optional<bool> UnifiedCDFData::ReadPlainGenericCells(int index, std::vector<UnifiedCDFGroupCell>& cells) {
  if (!genericData_ || genericData_->IsControlFile()) return std::nullopt;
  genericCells_.clear();
  try {
    if (!genericData_->ReadProbeSetCells(index, genericCells_)) return std::nullopt;
  } catch (const GenericException& e) {
    // As GetProbeSetInformation notes a probe set it cannot reach.
    error_ = e.what();
    return false;
  }
  cells.reserve(genericCells_.size());
  for (const generic_io::CDFGroupCell& c : genericCells_) cells.push_back({c.group, c.x, c.y, c.pBase, c.tBase});
  return true;
}

}  // namespace unified_io
