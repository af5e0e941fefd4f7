#include "core/AnalyzedData.h"

#include <algorithm>
#include <type_traits>
#include <utility>

#include "core/ArchiveChecks.h"
#include "core/ArchiveFile.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/SampleDocuments.h"
#include "platform/ByteOrder.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace core = qova::core;

namespace {

// Records are moved through a block buffer rather than value by value: a large
// sample has over half a million of them.
constexpr std::int32_t kRecordsPerBlock = 4096;

// The kind whose layout a sample's records have: a self result always has the
// self layout, a non-self one the layout its file's kind gives.
AnalysisKind RecordKind(bool isSelf, AnalysisKind fileKind) {
  if (isSelf) return AnalysisKind::Self;
  return fileKind == AnalysisKind::NonSelfAllele ? AnalysisKind::NonSelfAllele : AnalysisKind::NonSelf;
}

int RecordSize(AnalysisKind kind) {
  switch (kind) {
    case AnalysisKind::Self: return CAnalyzedData::kSelfRecordSize;
    case AnalysisKind::NonSelf: return CAnalyzedData::kNonSelfRecordSize;
    case AnalysisKind::NonSelfAllele: return CAnalyzedData::kNonSelfAlleleRecordSize;
  }
  return CAnalyzedData::kNonSelfRecordSize;
}

// The per-SNP arrays of one record layout, in the order of the record's
// fields. `Data` is CAnalyzedData or const CAnalyzedData.
template <class Data>
auto RecordColumns(Data& d, AnalysisKind kind) {
  using Floats = std::conditional_t<std::is_const_v<Data>, const std::vector<float>, std::vector<float>>;
  using Ints = std::conditional_t<std::is_const_v<Data>, const std::vector<std::int32_t>, std::vector<std::int32_t>>;
  struct Column {
    Floats* floats = nullptr;
    Ints* ints = nullptr;
    bool isCall = false;
  };
  std::vector<Column> columns;
  if (kind == AnalysisKind::NonSelf) {
    columns = {{&d.LogRatio}, {nullptr, &d.CopyNumberState}, {nullptr, &d.ValidFlag},
               {nullptr, &d.CallTest, true}, {&d.LohLikelihood}};
    return columns;
  }
  columns = {{&d.LogRatioA},
             {&d.LogRatioB},
             {&d.LogRatio},
             {nullptr, &d.CopyNumberState},
             {nullptr, &d.AlleleStateA},
             {nullptr, &d.AlleleStateB},
             {nullptr, &d.ValidFlag},
             {nullptr, &d.CallTest, true},
             {nullptr, &d.CallReference, true}};
  if (kind == AnalysisKind::NonSelfAllele) columns.push_back({&d.LohLikelihood});
  return columns;
}

template <class Column>
std::size_t ColumnSize(const Column& c) {
  return c.floats ? c.floats->size() : c.ints->size();
}

// Calls index colour and count tables downstream; anything but the four codes
// is no call.
std::int32_t SanitizedCall(std::int32_t call) { return call >= kCallNone && call <= kCallB ? call : kCallNone; }

}  // namespace

const char* AnalysisFileExtension(AnalysisKind kind) {
  switch (kind) {
    case AnalysisKind::Self: return ".CFS";
    case AnalysisKind::NonSelf: return ".CFN";
    case AnalysisKind::NonSelfAllele: return ".CFA";
  }
  return ".CFN";
}

std::optional<AnalysisKind> AnalysisKindOfFile(std::string_view fileName) {
  const std::string extension = platform::ExtensionOf(fileName);
  for (AnalysisKind kind : {AnalysisKind::Self, AnalysisKind::NonSelf, AnalysisKind::NonSelfAllele}) {
    if (platform::EqualsNoCase(extension, AnalysisFileExtension(kind))) return kind;
  }
  return std::nullopt;
}

AnalysisKind NonSelfAnalysisKind(bool alleleSpecific) {
  return alleleSpecific ? AnalysisKind::NonSelfAllele : AnalysisKind::NonSelf;
}

CAnalyzedData::CAnalyzedData(const CArrayData& source, AnalysisKind kind) {
  Allocate(source.Header.SnpCount, kind);
  Header = source.Header;
  Markers = source.Markers;
  AnalysisArrayType = source.Header.ArrayType;
  IsSelf = kind == AnalysisKind::Self;
}

void CAnalyzedData::Allocate(std::int32_t n, AnalysisKind kind) {
  FreeArrays();
  const std::size_t size = static_cast<std::size_t>(std::max<std::int32_t>(n, 0));
  LogRatio.assign(size, 0.0f);
  CopyNumberState.assign(size, 0);
  ValidFlag.assign(size, 1);
  CallTest.assign(size, kCallNone);
  EditedCopyNumberState.assign(size, 0);
  if (kind != AnalysisKind::NonSelf) {
    LogRatioA.assign(size, 0.0f);
    LogRatioB.assign(size, 0.0f);
    AlleleStateA.assign(size, 0);
    AlleleStateB.assign(size, 0);
    CallReference.assign(size, kCallNone);
  }
  if (kind != AnalysisKind::Self) LohLikelihood.assign(size, 0.0f);
}

void CAnalyzedData::AllocateMax() {
  Allocate(core::kSampleSnpCapacity, AnalysisKind::NonSelfAllele);
}

void CAnalyzedData::FreeArrays() {
  Markers.clear();
  for (auto* v : {&LogRatioA, &LogRatioB, &LogRatio, &LohLikelihood}) std::vector<float>().swap(*v);
  for (auto* v : {&CopyNumberState, &AlleleStateA, &AlleleStateB, &ValidFlag, &CallTest, &CallReference,
                  &EditedCopyNumberState}) {
    std::vector<std::int32_t>().swap(*v);
  }
}

void CAnalyzedData::SerializeSample(CArchive& ar, AnalysisKind kind, BOOL headerOnly) {
  if (ar.IsStoring()) {
    Store(ar, kind);
  } else {
    Load(ar, kind, headerOnly != FALSE, false);
  }
}

void CAnalyzedData::Serialize(CArchive& ar, AnalysisKind kind) {
  if (ar.IsLoading()) Load(ar, kind, false, true);
}

void CAnalyzedData::StoreFile(const std::string& path) {
  const AnalysisKind kind = AnalysisKindOfFile(path).value_or(AnalysisKind::NonSelf);
  core::StoreArchiveFile(path, [this, kind](CArchive& ar) { SerializeSample(ar, kind, FALSE); });
}

void CAnalyzedData::LoadFile(const std::string& path, bool headerOnly) {
  const AnalysisKind kind = AnalysisKindOfFile(path).value_or(AnalysisKind::NonSelf);
  core::LoadArchiveFile(path, [this, kind, headerOnly](CArchive& ar) {
    SerializeSample(ar, kind, headerOnly ? TRUE : FALSE);
  });
}

void CAnalyzedData::LoadFileAllocating(const std::string& path) {
  const AnalysisKind kind = AnalysisKindOfFile(path).value_or(AnalysisKind::NonSelf);
  core::LoadArchiveFile(path, [this, kind](CArchive& ar) { Serialize(ar, kind); });
}

void CAnalyzedData::Store(CArchive& ar, AnalysisKind fileKind) {
  Header.Version = kSampleFileVersion;
  const AnalysisKind kind = RecordKind(IsSelf, fileKind);
  const auto columns = RecordColumns(std::as_const(*this), kind);

  // Check everything before the first byte goes out, so a refused store
  // leaves no half-written file behind it.
  std::string problem = SampleRangeProblem(Header);
  for (const auto& column : columns) {
    if (!problem.empty()) break;
    if (ColumnSize(column) <= static_cast<std::size_t>(Header.LastSnpIndex)) {
      problem = platform::Format("the %s arrays hold %zu SNPs, the sample's range ends at %d",
                                 AnalysisFileExtension(kind), ColumnSize(column), Header.LastSnpIndex);
    }
  }
  if (!problem.empty()) core::ThrowFormatProblem(ar, problem);

  WriteSampleHeader(ar, Header);
  WriteMarkerRegions(ar, Markers);
  ar << IsSelf << AnalysisArrayType;

  const std::size_t recordSize = static_cast<std::size_t>(RecordSize(kind));
  std::string block(static_cast<std::size_t>(kRecordsPerBlock) * recordSize, '\0');
  for (std::int32_t start = Header.FirstSnpIndex; start <= Header.LastSnpIndex; start += kRecordsPerBlock) {
    const std::int32_t end = std::min(Header.LastSnpIndex + 1, start + kRecordsPerBlock);
    char* p = block.data();
    for (std::int32_t i = start; i < end; ++i) {
      for (const auto& column : columns) {
        if (column.floats) {
          platform::WriteLEFloat(p, (*column.floats)[i]);
        } else {
          platform::WriteLE32(p, static_cast<std::uint32_t>((*column.ints)[i]));
        }
        p += 4;
      }
    }
    ar.Write(block.data(), static_cast<std::size_t>(p - block.data()));
  }
  ar << SampleSD << MeanState;

  // Refresh only once everything was handed to the archive: a failed store
  // must not show on screen as if it had succeeded.
  core::RefreshDocumentsAfterStore(*this, Header.SampleName, IsSelf);
}

void CAnalyzedData::Load(CArchive& ar, AnalysisKind fileKind, bool headerOnly, bool allocate) {
  // Everything up to the records is read aside first: a file that turns out
  // to be short or misfit leaves the object as it was.
  SampleHeader header = Header;
  ReadSampleHeader(ar, header, SampleFileKind::Analyzed);
  if (headerOnly) {
    Header = std::move(header);
    return;
  }
  MarkerRegionList markers;
  if (header.Version == kSampleFileVersion) ReadMarkerRegions(ar, markers);
  bool isSelf = false;
  std::string analysisArrayType;
  ar >> isSelf >> analysisArrayType;

  const AnalysisKind kind = RecordKind(isSelf, fileKind);
  const std::uint64_t records = static_cast<std::uint64_t>(header.LastSnpIndex - header.FirstSnpIndex) + 1;
  const std::uint64_t recordSize = static_cast<std::uint64_t>(RecordSize(kind));
  constexpr std::uint64_t kSummaryBytes = 2 * sizeof(float);
  core::RequireBytesLeft(ar, records * recordSize + kSummaryBytes, 1);
  core::RequireNothingAfter(ar, records * recordSize + kSummaryBytes);

  // SnpCount was checked against the array type, so no size here is taken
  // blindly from the file.
  const auto snpCount = static_cast<std::size_t>(header.SnpCount);
  if (allocate) {
    Allocate(header.SnpCount, kind);
  } else {
    for (auto& column : RecordColumns(*this, kind)) {
      if (column.floats && column.floats->size() < snpCount) column.floats->resize(snpCount, 0.0f);
      if (column.ints && column.ints->size() < snpCount) {
        column.ints->resize(snpCount, column.ints == &ValidFlag ? 1 : 0);
      }
    }
    if (CopyNumberState.size() > EditedCopyNumberState.size()) EditedCopyNumberState.resize(CopyNumberState.size(), 0);
  }
  Header = std::move(header);
  Markers = std::move(markers);
  IsSelf = isSelf;
  AnalysisArrayType = std::move(analysisArrayType);

  const auto columns = RecordColumns(*this, kind);
  std::string block(static_cast<std::size_t>(kRecordsPerBlock) * recordSize, '\0');
  for (std::int32_t start = Header.FirstSnpIndex; start <= Header.LastSnpIndex; start += kRecordsPerBlock) {
    const std::int32_t end = std::min(Header.LastSnpIndex + 1, start + kRecordsPerBlock);
    ar.ReadExact(block.data(), static_cast<std::size_t>(end - start) * recordSize);
    const char* p = block.data();
    for (std::int32_t i = start; i < end; ++i) {
      for (const auto& column : columns) {
        if (column.floats) {
          (*column.floats)[i] = platform::ReadLEFloat(p);
        } else {
          const auto value = static_cast<std::int32_t>(platform::ReadLE32(p));
          (*column.ints)[i] = column.isCall ? SanitizedCall(value) : value;
        }
        p += 4;
      }
    }
  }
  ar >> SampleSD >> MeanState;
  RebuildEditedCopyNumberState();
}

void CAnalyzedData::RebuildEditedCopyNumberState() {
  const std::int32_t first = Header.FirstSnpIndex;
  const std::int32_t last = Header.LastSnpIndex;
  const auto size = static_cast<std::int64_t>(std::min(CopyNumberState.size(), EditedCopyNumberState.size()));
  if (first < 0 || first > last || last >= size) return;
  std::copy(CopyNumberState.begin() + first, CopyNumberState.begin() + last + 1, EditedCopyNumberState.begin() + first);
  LayStateMarkersOver(Markers, first, last, EditedCopyNumberState);
}
