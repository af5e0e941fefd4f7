#include "core/SampleHeader.h"

#include <cstdlib>
#include <utility>

#include "core/ArchiveChecks.h"
#include "core/ArrayTypes.h"
#include "platform/Strings.h"

namespace core = qova::core;

void SampleHeader::SetDefaultHmmParameters() {
  HmmMeans = kDefaultHmmMeans;
  HmmSdFactors = kDefaultHmmSdFactors;
  SetDefaultAlleleHmmParameters();
}

void SampleHeader::SetDefaultAlleleHmmParameters() {
  AlleleHmmMeans = kDefaultAlleleHmmMeans;
  AlleleHmmSdFactors = kDefaultAlleleHmmSdFactors;
}

bool HasSelfBaseRange(SampleFileKind kind, const std::string& version) {
  return kind == SampleFileKind::Extracted || version == kSampleFileVersion;
}

bool HasAllelePairs(const std::string& version) { return version == kSampleFileVersion; }

bool IsSelfAnalysable(const SampleHeader& header) { return header.IsTest != 0 && header.IsPaired != 0; }

bool IsSexValue(const std::string& sex) { return sex == "M" || sex == "F" || sex.empty(); }

std::string SampleRangeProblem(const SampleHeader& h) {
  const core::ArrayTypeInfo* type = core::FindArrayType(h.ArrayType);
  if (type == nullptr) return core::UnknownArrayType(h.ArrayType);
  if (h.SnpCount <= 0 || h.SnpCount > type->snpCount) {
    return platform::Format("SNP count %d does not fit %s (at most %d)", h.SnpCount, type->name, type->snpCount);
  }
  if (h.FirstSnpIndex < type->firstSnp || h.LastSnpIndex > type->lastSnp || h.FirstSnpIndex > h.LastSnpIndex ||
      h.LastSnpIndex >= h.SnpCount) {
    return platform::Format("SNP range %d..%d does not fit %s (%d..%d of %d)", h.FirstSnpIndex, h.LastSnpIndex,
                            type->name, type->firstSnp, type->lastSnp, h.SnpCount);
  }
  if (h.LastAutosomeSnpIndex < h.FirstSnpIndex || h.LastAutosomeSnpIndex > h.LastSnpIndex) {
    return platform::Format("last autosome SNP %d lies outside %d..%d", h.LastAutosomeSnpIndex, h.FirstSnpIndex,
                            h.LastSnpIndex);
  }
  for (const auto* range : {&h.NonSelfBaseRange, &h.SelfBaseRange}) {
    const std::int32_t first = (*range)[kBaseFirstSnp];
    const std::int32_t last = (*range)[kBaseLastSnp];
    if (first < 0 || first >= h.SnpCount || last < 0 || last >= h.SnpCount) {
      return platform::Format("base range %d..%d lies outside the sample's %d SNPs", first, last, h.SnpCount);
    }
  }
  return {};
}

namespace {

void ThrowIfMisfit(const CArchive& ar, const SampleHeader& header) {
  std::string problem = SampleRangeProblem(header);
  if (!problem.empty()) core::ThrowFormatProblem(ar, std::move(problem));
}

void WriteBaseRange(CArchive& ar, const std::array<std::int32_t, 4>& range) {
  for (std::int32_t v : range) ar << v;
}

void ReadBaseRange(CArchive& ar, std::array<std::int32_t, 4>& range) {
  for (std::int32_t& v : range) ar >> v;
}

}  // namespace

void WriteSampleHeader(CArchive& ar, SampleHeader& header) {
  ThrowIfMisfit(ar, header);
  header.Version = kSampleFileVersion;
  const SampleHeader& h = header;
  ar << h.Version << h.SampleName << h.ArrayType;
  ar << h.IsTest;
  ar << h.Attribute1 << h.Attribute2 << h.Attribute3 << h.Attribute4 << h.Attribute5 << h.Sex;
  ar << h.CreateTime;
  WriteBaseRange(ar, h.NonSelfBaseRange);
  WriteBaseRange(ar, h.SelfBaseRange);
  ar << h.SnpCount << h.FirstSnpIndex << h.LastSnpIndex << h.LastAutosomeSnpIndex << h.IsPaired;
  ar << h.SelfReference;
  ar << h.SaveTime;
  ar << h.RefCandidateCount << h.RefCandidates;
  ar << h.NonSelfReferenceCount << h.NonSelfReferences;
  ar << h.SelfAnalyzed << h.Combined;
  for (int k = 0; k < kHmmStateCount; ++k) ar << h.HmmMeans[k] << h.HmmSdFactors[k];
  for (int k = 0; k < kAlleleHmmStateCount; ++k) ar << h.AlleleHmmMeans[k] << h.AlleleHmmSdFactors[k];
}

void ReadSampleHeader(CArchive& ar, SampleHeader& header, SampleFileKind kind) {
  SampleHeader h = header;
  ar >> h.Version >> h.SampleName >> h.ArrayType;
  ar >> h.IsTest;
  ar >> h.Attribute1 >> h.Attribute2 >> h.Attribute3 >> h.Attribute4 >> h.Attribute5 >> h.Sex;
  ar >> h.CreateTime;
  ReadBaseRange(ar, h.NonSelfBaseRange);
  if (HasSelfBaseRange(kind, h.Version)) {
    ReadBaseRange(ar, h.SelfBaseRange);
  } else {
    h.SelfBaseRange[kBaseFirstSnp] = h.NonSelfBaseRange[kBaseFirstSnp];
    h.SelfBaseRange[kBaseLastSnp] = h.NonSelfBaseRange[kBaseLastSnp];
    h.SelfBaseRange[kBaseMode] = h.NonSelfBaseRange[kBaseMode];
  }
  ar >> h.SnpCount >> h.FirstSnpIndex >> h.LastSnpIndex >> h.LastAutosomeSnpIndex >> h.IsPaired;
  ar >> h.SelfReference;
  ar >> h.SaveTime;
  ar >> h.RefCandidateCount >> h.RefCandidates;
  ar >> h.NonSelfReferenceCount >> h.NonSelfReferences;
  ar >> h.SelfAnalyzed >> h.Combined;
  for (int k = 0; k < kHmmStateCount; ++k) ar >> h.HmmMeans[k] >> h.HmmSdFactors[k];
  if (HasAllelePairs(h.Version)) {
    for (int k = 0; k < kAlleleHmmStateCount; ++k) ar >> h.AlleleHmmMeans[k] >> h.AlleleHmmSdFactors[k];
  } else {
    h.SetDefaultAlleleHmmParameters();
  }
  ThrowIfMisfit(ar, h);
  header = std::move(h);
}

std::vector<NonSelfReference> NonSelfReferenceList(const SampleHeader& header) {
  std::vector<std::string> tokens;
  std::string current;
  for (char c : header.NonSelfReferences) {
    if (c == '$') {
      tokens.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) tokens.push_back(current);

  const int count = header.NonSelfReferenceCount;
  if (count <= 0) return {};
  const auto isNumber = [](const std::string& text) {
    if (text.empty()) return false;
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
  };
  bool scored = !tokens.empty() && tokens.size() % 2 == 0;
  for (std::size_t k = 0; scored && k < tokens.size(); k += 2) scored = isNumber(tokens[k]);
  std::vector<NonSelfReference> references;
  for (std::size_t at = scored ? 1 : 0; at < tokens.size() && references.size() < static_cast<std::size_t>(count);
       at += scored ? 2 : 1) {
    if (!tokens[at].empty()) references.push_back({scored ? tokens[at - 1] : std::string(), tokens[at]});
  }
  return references;
}

std::vector<std::string> NonSelfReferenceNames(const SampleHeader& header) {
  std::vector<std::string> names;
  for (NonSelfReference& reference : NonSelfReferenceList(header)) names.push_back(std::move(reference.Name));
  return names;
}
