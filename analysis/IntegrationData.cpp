#include "analysis/IntegrationData.h"

#include <algorithm>
#include <map>

#include "analysis/IntegrationSegments.h"
#include "core/AnalyzedData.h"
#include "core/ArchiveChecks.h"
#include "core/ArchiveFile.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "core/SnpOrder.h"
#include "platform/Strings.h"

namespace core = qova::core;

namespace {

// The version string every .cfi file begins with; a file with another is refused.
constexpr const char* kIntegrationFileVersion = "1.000";
// A name costs at least its one-byte length prefix.
constexpr std::uint64_t kSmallestNameBytes = 1;

// The last base of chromosome c's last band, or -1 when the table lacks c.
std::int32_t LastBandEnd(const CCytoband& bands, int c) {
  const std::int32_t first = bands.ChromosomeFirstBand[c], next = bands.ChromosomeFirstBand[c + 1];
  if (first < 0 || next <= first || next > bands.BandCount || std::size_t(next) > bands.BandEnd.size()) return -1;
  return bands.BandEnd[std::size_t(next - 1)];
}

// Throws a format problem unless `count` records of `recordBytes` each fit
// in what remains of the file; `needs` words the byte count ("at least %llu
// bytes").
void RequireRecords(const CArchive& ar, const char* what, std::int32_t count, std::uint64_t recordBytes,
                    const char* needs) {
  const std::uint64_t left = ar.BytesLeft();
  if (std::uint64_t(count) <= left / recordBytes) return;
  const std::string bytes = platform::Format(needs, static_cast<unsigned long long>(count * recordBytes));
  core::ThrowFormatProblem(ar, platform::Format("%s %d needs %s, %llu remain", what, count, bytes.c_str(),
                                                static_cast<unsigned long long>(left)));
}

// Reads a count of records of at least `recordBytes` each and checks it.
std::int32_t ReadCount(CArchive& ar, const char* what, std::uint64_t recordBytes) {
  std::int32_t count = 0;
  ar >> count;
  if (count < 0) core::ThrowFormatProblem(ar, platform::Format("negative %s %d", what, count));
  RequireRecords(ar, what, count, recordBytes, "at least %llu bytes");
  return count;
}

}  // namespace

struct IntegrationData::LayoutCache {
  std::map<int, qova::analysis::IntegrationLayout> byType;
};

void IntegrationData::Clear() {
  Segments.clear();
  SampleNames.clear();
}

bool IntegrationData::IntegrateSamples(const std::vector<std::string>& names) {
  // A copy first: integrating again over our own list must not lose it.
  const std::vector<std::string> list = names;
  Clear();
  LayoutCache layouts;
  for (const std::string& name : list) Integrate(name, -1, layouts);
  return true;
}

bool IntegrationData::AddNewSamples(const std::vector<std::string>& names) {
  LayoutCache layouts;
  for (const std::string& name : names) {
    if (!Contains(name)) Integrate(name, -1, layouts);
  }
  return true;
}

bool IntegrationData::Contains(const std::string& name) const {
  return std::find(SampleNames.begin(), SampleNames.end(), name) != SampleNames.end();
}

bool IntegrationData::Integrate(const std::string& name, std::int32_t sampleIndex) {
  LayoutCache layouts;
  return Integrate(name, sampleIndex, layouts);
}

bool IntegrationData::Integrate(const std::string& name, std::int32_t sampleIndex, LayoutCache& layouts) {
  const bool added = sampleIndex < 0;
  // Segments must name a sample that is held.
  if (!added && std::size_t(sampleIndex) >= SampleNames.size()) return false;
  if (added) sampleIndex = static_cast<std::int32_t>(SampleNames.size());
  std::vector<IntegrationSegment> found = SegmentsOfSample(name, sampleIndex, layouts);
  if (added) SampleNames.push_back(name);
  Segments.insert(Segments.end(), found.begin(), found.end());
  return true;
}

bool IntegrationData::RemoveSample(std::int32_t index) {
  if (index < 0 || std::size_t(index) >= SampleNames.size()) return false;
  SampleNames.erase(SampleNames.begin() + index);
  std::erase_if(Segments, [index](const IntegrationSegment& s) { return s.SampleIndex == index; });
  for (IntegrationSegment& segment : Segments) {
    if (segment.SampleIndex > index) --segment.SampleIndex;
  }
  return true;
}

bool IntegrationData::RemoveSampleByName(const std::string& name) {
  const auto it = std::find(SampleNames.begin(), SampleNames.end(), name);
  return it != SampleNames.end() && RemoveSample(static_cast<std::int32_t>(it - SampleNames.begin()));
}

bool IntegrationData::ReintegrateSample(std::int32_t index) {
  if (index < 0 || std::size_t(index) >= SampleNames.size()) return false;
  // Read first: a sample that can no longer be read keeps its old segments.
  LayoutCache layouts;
  std::vector<IntegrationSegment> found = SegmentsOfSample(SampleNames[std::size_t(index)], index, layouts);
  std::erase_if(Segments, [index](const IntegrationSegment& s) { return s.SampleIndex == index; });
  Segments.insert(Segments.end(), found.begin(), found.end());
  return true;
}

bool IntegrationData::ReintegrateSampleByName(const std::string& name) {
  const auto it = std::find(SampleNames.begin(), SampleNames.end(), name);
  return it != SampleNames.end() && ReintegrateSample(static_cast<std::int32_t>(it - SampleNames.begin()));
}

std::vector<IntegrationSegment> IntegrationData::SegmentsOfSample(const std::string& name, std::int32_t sampleIndex,
                                                                  LayoutCache& layouts) const {
  const CProgramSetting& setting = *global_->ProgramSetting;
  const std::string path = setting.DefaultAnalysisResultFolder + name;
  CAnalyzedData sample;
  sample.LoadFileAllocating(path);

  const int type = ArrayTypeIndex(sample.Header.ArrayType);
  const char* typeName = core::kArrayTypes[std::size_t(type)].name;
  auto cached = layouts.byType.find(type);
  if (cached == layouts.byType.end()) cached = layouts.byType.emplace(type, LayoutOfType(type, path)).first;
  const qova::analysis::IntegrationLayout& layout = cached->second;
  const std::int32_t snpEnd = layout.ChromosomeStarts[kNoChromosome];
  if (sample.ValidFlag.size() < std::size_t(snpEnd) || sample.EditedCopyNumberState.size() < std::size_t(snpEnd)) {
    throw CDataFormatException(path, platform::Format("it holds %zu SNPs, the chromosomes of %s need %d",
                                                      sample.ValidFlag.size(), typeName, snpEnd));
  }
  const qova::analysis::IntegrationRule rule{Mode, MinRun,
                                             qova::analysis::IntegrationBoundaryOf(setting.IntegralMarginMode)};
  return qova::analysis::FindIntegrationSegments(sample, layout, rule, sampleIndex);
}

qova::analysis::IntegrationLayout IntegrationData::LayoutOfType(int type, const std::string& samplePath) const {
  const char* typeName = core::kArrayTypes[std::size_t(type)].name;
  const CBasicData* table = global_->BasicDataOfType(type);
  if (table == nullptr) {
    throw CDataFormatException(samplePath, platform::Format("the annotation table of %s is not loaded", typeName));
  }
  qova::analysis::IntegrationLayout layout;
  layout.ChromosomeStarts = global_->ArrayChromosomeStarts[type];
  const std::int32_t snpEnd = layout.ChromosomeStarts[kNoChromosome];
  layout.Positions.resize(std::size_t(snpEnd));
  for (std::int32_t i = layout.ChromosomeStarts[1]; i < snpEnd; ++i) {
    const std::int32_t row = AnnotationRowOfSnp(*table, type, i);
    if (row < 0) {
      throw CDataFormatException(samplePath, platform::Format("the annotation table of %s has no row for SNP %d",
                                                              typeName, i));
    }
    layout.Positions[std::size_t(i)] = table->Position[std::size_t(row)];
  }
  layout.ChromosomeEnds[0] = -1;
  for (int c = 1; c <= kChromosomeX; ++c) layout.ChromosomeEnds[c] = LastBandEnd(*global_->Cytoband, c);
  return layout;
}

bool IntegrationData::Save(const std::string& path) const {
  try {
    core::StoreArchiveFile(path, [this](CArchive& ar) {
      ar << std::string(kIntegrationFileVersion) << Mode << Order << Title << MinRun
         << static_cast<std::int32_t>(SampleNames.size()) << static_cast<std::int32_t>(Segments.size());
      for (const std::string& name : SampleNames) ar << name;
      for (const IntegrationSegment& s : Segments) ar << s.SampleIndex << s.Start << s.End << s.Chromosome << s.Kind;
    });
  } catch (const CFileException&) {
    return false;
  } catch (const CArchiveException&) {
    return false;
  }
  return true;
}

bool IntegrationData::Load(const std::string& path) {
  CFile file;
  if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) return false;
  // Read into a fresh object, so a damaged file changes nothing here.
  IntegrationData loaded(*global_);
  CArchive ar(&file, CArchive::load);
  std::string version;
  ar >> version;
  // Every .cfi file begins with its version: without it, it is not one.
  if (version != kIntegrationFileVersion) {
    core::ThrowFormatProblem(ar, platform::Format("the version \"%s\" is not the %s of an integration file",
                                                  platform::Printable(version.substr(0, 32)).c_str(),
                                                  kIntegrationFileVersion));
  }
  ar >> loaded.Mode >> loaded.Order >> loaded.Title >> loaded.MinRun;
  const std::int32_t names = ReadCount(ar, "sample count", kSmallestNameBytes);
  const std::int32_t segments = ReadCount(ar, "segment count", IntegrationSegment::kRecordSize);
  loaded.SampleNames.resize(std::size_t(names));
  for (std::string& name : loaded.SampleNames) ar >> name;
  RequireRecords(ar, "segment count", segments, IntegrationSegment::kRecordSize, "%llu bytes after the sample names");
  loaded.Segments.resize(std::size_t(segments));
  for (std::int32_t k = 0; k < segments; ++k) {
    IntegrationSegment& s = loaded.Segments[std::size_t(k)];
    ar >> s.SampleIndex >> s.Start >> s.End >> s.Chromosome >> s.Kind;
    if (s.SampleIndex < 0 || s.SampleIndex >= names) {
      core::ThrowFormatProblem(ar, platform::Format("segment %d names sample %d of %d", k, s.SampleIndex, names));
    }
    if (s.Chromosome < 1 || s.Chromosome > kChromosomeX) {
      core::ThrowFormatProblem(ar, platform::Format("segment %d lies on chromosome %d", k, s.Chromosome));
    }
  }
  ar.Close();
  *this = std::move(loaded);
  return true;
}
