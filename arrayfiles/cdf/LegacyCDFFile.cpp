#include "arrayfiles/cdf/LegacyCDFFile.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "arrayfiles/cdf/LegacyCDFBuilder.h"
#include "arrayfiles/common/LittleEndianInput.h"
#include "platform/ByteOrder.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

using namespace legacy_cdf_detail;

namespace {

constexpr std::int32_t kXdaMagic = 67;
constexpr std::int32_t kXdaMaxVersion = 1;
// Probe-set and block names stand in fixed fields, NUL-padded.
constexpr std::int32_t kNameBytes = 64;
// Record sizes of the XDA form: a probe set's head (type, direction, lists,
// groups, cells, number, cells per list), a group's head, and one cell.
constexpr std::uint64_t kProbeSetHeadBytes = 20;
constexpr std::uint64_t kGroupHeadBytes = 18 + kNameBytes;
constexpr std::uint64_t kCellBytes = 14;

std::string_view FixedName(const std::uint8_t* field) {
  const void* end = std::memchr(field, 0, kNameBytes);
  const std::size_t n = end == nullptr ? kNameBytes : static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - field);
  return std::string_view(reinterpret_cast<const char*>(field), n);
}

std::int32_t I32(const std::uint8_t* p) { return static_cast<std::int32_t>(platform::ReadLE32(p)); }

// One cell record of the XDA form.
CellFields XDACell(const std::uint8_t* p) {
  CellFields cell;
  cell.listIndex = I32(p);
  cell.x = platform::ReadLE16(p + 4);
  cell.y = platform::ReadLE16(p + 6);
  cell.expos = I32(p + 8);
  cell.pBase = static_cast<char>(p[12]);
  cell.tBase = static_cast<char>(p[13]);
  return cell;
}

}  // namespace

CLegacyCDFFile::~CLegacyCDFFile() { Close(); }

bool CLegacyCDFFile::Fail(const char* message) {
  error_ = message;
  return false;
}

bool CLegacyCDFFile::FailAt(const char* message, const std::string& detail) {
  error_ = std::string(message) + " CDF file: " + detail + ".";
  return false;
}

bool CLegacyCDFFile::ReadFailed(const char* message) {
  if (message != nullptr) error_ = message;
  Close();
  Builder::ForgetCounts(header_);
  return false;
}

bool CLegacyCDFFile::Read() {
  Close();
  const bool ok = IsXDACompatibleFile() ? ReadXDAFormat() : ReadTextFormat();
  if (!ok) Close();
  return ok;
}

bool CLegacyCDFFile::IsXDACompatibleFile() const {
  std::ifstream in(platform::NativePath(fileName_), std::ios::binary);
  if (!in.is_open()) return false;
  std::int32_t magic = 0;
  LittleEndianInput::ReadInt32(in, magic);
  return magic == kXdaMagic;
}

void CLegacyCDFFile::Close() {
  if (stream_.is_open()) stream_.close();
  stream_.clear();
  textRead_ = false;
  // Swapping with empty vectors gives the memory of a large file back.
  std::vector<CLegacyCDFProbeSetInformation>().swap(probeSets_);
  std::vector<CLegacyCDFQCProbeSetInformation>().swap(qcProbeSets_);
  std::vector<std::string>().swap(probeSetNames_);
  records_.reset();
  recordsPassed_.Reset();
  namesPassed_.Reset();
}

bool CLegacyCDFFile::ReadCopyOf(const CLegacyCDFFile& other) {
  Close();
  header_ = CLegacyCDFFileHeader();
  error_.clear();
  if (!other.IsXDAOpen()) return ReadFailed(kUnableToOpen);
  // The copy reads the bytes `other` mapped, so its positions hold for them
  // even where the file has been replaced since.
  fileName_ = other.fileName_;
  fileSize_ = other.fileSize_;
  header_ = other.header_;
  namesPos_ = other.namesPos_;
  qcIndexPos_ = other.qcIndexPos_;
  probeSetIndexPos_ = other.probeSetIndexPos_;
  records_ = other.records_;
  return true;
}

bool CLegacyCDFFile::ReadTextFormat() {
  Close();
  // A new read starts from an empty header and error, so nothing of an earlier file shows through.
  header_ = CLegacyCDFFileHeader();
  error_.clear();
  std::ifstream in(platform::NativePath(fileName_), std::ios::binary);
  if (!in.is_open()) return ReadFailed(kUnableToOpen);
  TextContents contents;
  std::string error;
  const bool ok = ReadTextContents(in, contents, error);
  header_ = Builder::Header(contents.header);
  if (!ok) return ReadFailed(error.c_str());
  textRead_ = true;
  probeSetNames_ = std::move(contents.names);
  probeSets_ = std::move(contents.probeSets);
  qcProbeSets_ = std::move(contents.qcProbeSets);
  return true;
}

bool CLegacyCDFFile::ReadXDAHeader() {
  HeaderFields h;
  LittleEndianInput::ReadInt32(stream_, h.magic);
  LittleEndianInput::ReadInt32(stream_, h.version);
  if (h.magic != kXdaMagic || h.version > kXdaMaxVersion) {
    header_ = Builder::Header(h);
    return Fail(kWrongFormat);
  }
  LittleEndianInput::ReadInt16(stream_, h.cols);
  LittleEndianInput::ReadInt16(stream_, h.rows);
  LittleEndianInput::ReadInt32(stream_, h.numProbeSets);
  LittleEndianInput::ReadInt32(stream_, h.numQCProbeSets);
  LittleEndianInput::ReadCountedText(stream_, h.reference);
  header_ = Builder::Header(h);
  // A short header, or a reference longer than the file, fails the stream.
  if (!stream_) return Fail(kWrongFormat);
  if (h.numProbeSets < 0 || h.numQCProbeSets < 0) {
    return FailAt(kBadCount, platform::Format("the header at offset 12 counts %d probe sets and %d QC probe sets",
                                              h.numProbeSets, h.numQCProbeSets));
  }
  return true;
}

bool CLegacyCDFFile::ReadXDAFormat() {
  Close();
  header_ = CLegacyCDFFileHeader();
  error_.clear();
  stream_.open(platform::NativePath(fileName_), std::ios::binary);
  if (!stream_.is_open()) return ReadFailed(kUnableToOpen);
  fileSize_ = LittleEndianInput::BytesLeft(stream_);
  if (!ReadXDAHeader()) return ReadFailed(nullptr);
  namesPos_ = stream_.tellg();
  const auto sets = static_cast<std::uint64_t>(header_.GetNumProbeSets());
  const auto qcSets = static_cast<std::uint64_t>(header_.GetNumQCProbeSets());
  // The name table, the QC offsets and the probe-set offsets must all be in the file.
  const std::uint64_t tables = sets * kNameBytes + 4 * qcSets + 4 * sets;
  if (namesPos_ < 0 || tables > fileSize_ - static_cast<std::uint64_t>(namesPos_)) {
    const auto at = static_cast<std::uint64_t>(std::max<std::streamoff>(namesPos_, 0));
    FailAt(kBadCount, platform::Format("the name and offset tables of %llu probe sets and %llu QC probe sets at offset "
                                       "%llu run past the end of the file (%llu bytes, %llu bytes left)",
                                       static_cast<unsigned long long>(sets), static_cast<unsigned long long>(qcSets),
                                       static_cast<unsigned long long>(at), static_cast<unsigned long long>(tables),
                                       static_cast<unsigned long long>(fileSize_ - std::min(at, fileSize_))));
    return ReadFailed(nullptr);
  }
  qcIndexPos_ = namesPos_ + static_cast<std::streamoff>(sets * kNameBytes);
  probeSetIndexPos_ = qcIndexPos_ + static_cast<std::streamoff>(4 * qcSets);
  stream_.close();
  // The names, the offsets and the records are read where they lie in the
  // mapped file, each when asked for: nothing is copied ahead of a walk, and
  // readers that ReadCopyOf makes share the one mapping.
  platform::FileMapping mapping;
  if (!mapping.Open(fileName_) || mapping.Size() != fileSize_) return ReadFailed(kUnableToOpen);
  auto view = std::make_shared<platform::MappedView>(mapping.Map(0, static_cast<std::size_t>(fileSize_)));
  if (!view->IsValid()) return ReadFailed(kUnableToMap);
  records_ = std::move(view);
  return true;
}

void CLegacyCDFFile::PassedPages::Passed(const platform::MappedView& view, std::uint64_t pos) {
  // Pages are given back in stretches of whole 2 MB pieces, which the system
  // may have mapped as one large page each.
  constexpr std::uint64_t kPiece = std::uint64_t(1) << 21;
  constexpr std::uint64_t kStretch = 4 * kPiece;
  if (!walking_ || pos < from_) {
    walking_ = true;
    from_ = pos;
    return;
  }
  const std::uint64_t to = pos / kPiece * kPiece;
  if (to > from_ && to - from_ >= kStretch) {
    view.ReleasePages(static_cast<std::size_t>(from_), static_cast<std::size_t>(to - from_));
    from_ = to;
  }
}

std::string CLegacyCDFFile::GetProbeSetName(int index) {
  if (IsXDAOpen()) {
    if (index < 0 || index >= header_.GetNumProbeSets()) return std::string();
    const std::uint64_t at = static_cast<std::uint64_t>(namesPos_) + static_cast<std::uint64_t>(index) * kNameBytes;
    namesPassed_.Passed(*records_, at);
    return std::string(FixedName(records_->Data() + at));
  }
  if (index < 0 || static_cast<std::size_t>(index) >= probeSetNames_.size()) return std::string();
  return probeSetNames_[static_cast<std::size_t>(index)];
}

bool CLegacyCDFFile::GetProbeSetInformation(int index, CLegacyCDFProbeSetInformation& info) {
  info = CLegacyCDFProbeSetInformation();
  if (IsXDAOpen()) {
    if (index < 0 || index >= header_.GetNumProbeSets()) return false;
    return ReadXDAProbeSet(index, info);
  }
  if (!textRead_ || index < 0 || index >= header_.GetNumProbeSets()) return false;
  // A probe set counted by the header whose unit the file does not hold is an empty record.
  if (static_cast<std::size_t>(index) < probeSets_.size()) info = probeSets_[static_cast<std::size_t>(index)];
  return true;
}

bool CLegacyCDFFile::GetQCProbeSetInformation(int index, CLegacyCDFQCProbeSetInformation& info) const {
  if (index < 0 || static_cast<std::size_t>(index) >= qcProbeSets_.size()) {
    info = CLegacyCDFQCProbeSetInformation();
    return false;
  }
  info = qcProbeSets_[static_cast<std::size_t>(index)];
  return true;
}

const std::uint8_t* CLegacyCDFFile::XDABytes(std::uint64_t pos, std::uint64_t n) {
  if (pos > fileSize_ || n > fileSize_ - pos) return nullptr;
  recordsPassed_.Passed(*records_, pos);
  return records_->Data() + pos;
}

template <class GroupVisitor>
bool CLegacyCDFFile::WalkXDAProbeSet(int index, ProbeSetFields& set, GroupVisitor&& group) {
  const std::int32_t offset =
      I32(records_->Data() + probeSetIndexPos_ + static_cast<std::ptrdiff_t>(4 * static_cast<std::int64_t>(index)));
  if (offset < 0 || static_cast<std::uint64_t>(offset) + kProbeSetHeadBytes > fileSize_) {
    return FailAt(kBadOffset, platform::Format("probe set %d starts at offset %d, outside the file of %llu bytes", index,
                                               offset, static_cast<unsigned long long>(fileSize_)));
  }
  std::uint64_t pos = static_cast<std::uint64_t>(offset);
  std::uint64_t left = fileSize_ - pos;
  const std::uint8_t* bytes = XDABytes(pos, kProbeSetHeadBytes);
  if (bytes == nullptr) return Fail(kEndOfFile);
  pos += kProbeSetHeadBytes;
  left -= kProbeSetHeadBytes;

  set.index = index;
  set.type = platform::ReadLE16(&bytes[0]);
  set.direction = bytes[2];
  set.numLists = I32(&bytes[3]);
  set.numGroups = I32(&bytes[7]);
  set.numCells = I32(&bytes[11]);
  set.probeSetNumber = I32(&bytes[15]);
  set.cellsPerList = bytes[19];
  if (set.numGroups < 0 || static_cast<std::uint64_t>(set.numGroups) * kGroupHeadBytes > left) {
    return FailAt(kBadCount, platform::Format("probe set %d at offset %d has %d groups of %zu bytes, %llu bytes left",
                                              index, offset, set.numGroups, static_cast<std::size_t>(kGroupHeadBytes),
                                              static_cast<unsigned long long>(left)));
  }

  GroupFields fields;
  for (std::int32_t g = 0; g < set.numGroups; ++g) {
    bytes = XDABytes(pos, kGroupHeadBytes);
    if (bytes == nullptr) return Fail(kEndOfFile);
    pos += kGroupHeadBytes;
    left -= kGroupHeadBytes;
    fields.groupIndex = g;
    fields.probeSetIndex = index;
    fields.numLists = I32(&bytes[0]);
    fields.numCells = I32(&bytes[4]);
    fields.cellsPerList = bytes[8];
    fields.direction = bytes[9];
    fields.start = I32(&bytes[10]);
    fields.stop = I32(&bytes[14]);
    if (fields.numCells < 0 || static_cast<std::uint64_t>(fields.numCells) * kCellBytes > left) {
      return FailAt(kBadCount, platform::Format("group %d of probe set %d at offset %llu has %d cells of %zu bytes, "
                                                "%llu bytes left",
                                                g, index, static_cast<unsigned long long>(pos - kGroupHeadBytes),
                                                fields.numCells, static_cast<std::size_t>(kCellBytes),
                                                static_cast<unsigned long long>(left)));
    }
    const std::uint64_t cellBytes = static_cast<std::uint64_t>(fields.numCells) * kCellBytes;
    const std::uint8_t* name = &bytes[18];
    bytes = XDABytes(pos, cellBytes);
    if (bytes == nullptr) return Fail(kEndOfFile);
    pos += cellBytes;
    left -= cellBytes;
    group(fields, name, bytes);
  }
  return true;
}

bool CLegacyCDFFile::ReadXDAProbeSet(int index, CLegacyCDFProbeSetInformation& info) {
  ProbeSetFields set;
  std::vector<CLegacyCDFProbeGroupInformation> groups;
  const bool ok = WalkXDAProbeSet(index, set, [&groups](GroupFields& group, const std::uint8_t* name,
                                                       const std::uint8_t* bytes) {
    group.name.assign(FixedName(name));
    std::vector<CLegacyCDFProbeInformation> cells;
    cells.reserve(static_cast<std::size_t>(group.numCells));
    for (std::int32_t c = 0; c < group.numCells; ++c) {
      const CellFields cell = XDACell(&bytes[static_cast<std::size_t>(c) * kCellBytes]);
      if (c == 0) group.start = cell.listIndex;
      else if (c == group.numCells - 1) group.stop = cell.listIndex;
      cells.push_back(Builder::Cell(cell));
    }
    groups.push_back(Builder::Group(group, std::move(cells)));
  });
  if (ok) info = Builder::ProbeSet(set, std::move(groups));
  return ok;
}

bool CLegacyCDFFile::GetProbeSetCells(int index, std::vector<CLegacyCDFGroupCell>& cells) {
  cells.clear();
  if (IsXDAOpen()) {
    if (index < 0 || index >= header_.GetNumProbeSets()) return false;
    ProbeSetFields set;
    const bool ok = WalkXDAProbeSet(index, set, [&cells](const GroupFields& group, const std::uint8_t*,
                                                         const std::uint8_t* bytes) {
      for (std::int32_t c = 0; c < group.numCells; ++c) {
        // Only the place and bases: XDACell's other fields cost a walk of a
        // million probe sets about a tenth of its time.
        const std::uint8_t* p = &bytes[static_cast<std::size_t>(c) * kCellBytes];
        cells.push_back({group.groupIndex, platform::ReadLE16(p + 4), platform::ReadLE16(p + 6),
                         static_cast<char>(p[12]), static_cast<char>(p[13])});
      }
    });
    if (!ok) cells.clear();
    return ok;
  }
  // The text form's records are in memory already: their cells are copied out.
  CLegacyCDFProbeSetInformation info;
  if (!GetProbeSetInformation(index, info)) return false;
  CLegacyCDFProbeGroupInformation group;
  CLegacyCDFProbeInformation cell;
  for (int g = 0; g < info.GetNumGroups(); ++g) {
    info.GetGroupInformation(g, group);
    for (int c = 0; c < group.GetNumCells(); ++c) {
      group.GetCell(c, cell);
      cells.push_back({g, cell.GetX(), cell.GetY(), cell.GetPBase(), cell.GetTBase()});
    }
  }
  return true;
}
