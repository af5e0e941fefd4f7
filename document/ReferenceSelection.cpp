#include "document/ReferenceSelection.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "core/ArchiveFile.h"
#include "core/ArrayData.h"
#include "core/ProgramSetting.h"
#include "core/SampleFileList.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace qova {

void ReferenceRanking::Insert(float score, std::string name) {
  // upper_bound puts a new score after every equal one: ties stay in the
  // order the candidates were found.
  const auto at = std::upper_bound(entries_.begin(), entries_.end(), score,
                                   [](float s, const RankedReference& entry) { return s < entry.Score; });
  entries_.insert(at, RankedReference{score, std::move(name)});
}

std::vector<RankedReference> ReferenceRanking::Best(std::size_t count) const {
  return {entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(std::min(count, entries_.size()))};
}

std::string LimitAttribute(const SampleHeader& header, int attribute) {
  switch (attribute) {
    case 1: return header.Attribute1;
    case 2: return header.Attribute2;
    case 3: return header.Attribute3;
    case 4: return header.Attribute4;
    default: return header.Attribute5;
  }
}

ReferenceFilter ReferenceFilter::For(const SampleHeader& test, const CProgramSetting& setting, bool sameSex) {
  ReferenceFilter filter;
  filter.ArrayType = test.ArrayType;
  filter.TestName = test.SampleName;
  filter.ExcludeSelf = setting.EXCLUDESELF != 0;
  filter.SelfReference = test.SelfReference;
  filter.SameSex = sameSex;
  filter.Sex = test.Sex;
  filter.LimitByAttribute = setting.LIMITREF != 0;
  filter.Attribute = setting.LIMITREFATTR;
  if (filter.LimitByAttribute) {
    filter.AttributeValue =
        setting.LIMITREFIDENT != 0 ? LimitAttribute(test, setting.LIMITREFATTR) : setting.LIMITREFSTR;
  }
  return filter;
}

bool ReferenceFilter::Admits(const SampleHeader& candidate) const {
  if (candidate.IsTest != 0) return false;
  if (candidate.ArrayType != ArrayType) return false;
  if (candidate.SampleName == TestName) return false;
  if (ExcludeSelf && candidate.SampleName == SelfReference) return false;
  // A test of unknown sex has no sample of the same sex.
  if (SameSex && (Sex.empty() || candidate.Sex != Sex)) return false;
  if (LimitByAttribute && LimitAttribute(candidate, Attribute) != AttributeValue) return false;
  return true;
}

std::string FormatReferenceEntry(float score, std::string_view name) {
  return platform::Format("%f", static_cast<double>(score)) + "$" + std::string(name) + "$";
}

std::string FormatReferenceList(const std::vector<RankedReference>& references) {
  std::string list;
  for (const RankedReference& reference : references) list += FormatReferenceEntry(reference.Score, reference.Name);
  return list;
}

std::string FormatCandidateLine(const RankedReference& candidate) {
  return platform::Format("%s    %f", candidate.Name.c_str(), static_cast<double>(candidate.Score));
}

namespace {

class CandidateCollector {
 public:
  CandidateCollector(const ReferenceFilter& filter, const ReferenceScorer& score, CandidateSearch& search)
      : filter_(filter), score_(score), search_(search) {}

  // Reads a file whose header passed the filter already (the index road).
  void AddWholeFile(const std::string& path) {
    Visit(path, [&](CArchive& ar, CArrayData& candidate) {
      candidate.SerializeSample(ar, TRUE, TRUE);
      return true;
    });
  }

  // Reads the header, and the data only of a sample that passes the filter
  // (the folder road).
  void AddIfAdmitted(const std::string& path) {
    Visit(path, [&](CArchive& ar, CArrayData& candidate) {
      candidate.SerializeSample(ar, FALSE, TRUE);
      if (!filter_.Admits(candidate.Header)) return false;
      candidate.SerializeSample(ar, TRUE, FALSE);
      return true;
    });
  }

 private:
  template <typename Read>
  void Visit(const std::string& path, Read read) {
    bool admitted = false;
    try {
      qova::LoadArchiveFile(path, [&](CArchive& ar) { admitted = read(ar, candidate_); });
    } catch (const std::exception& error) {
      search_.Skipped.push_back(path + ": " + error.what());
      return;
    }
    if (!admitted) return;
    const float score = score_(candidate_);
    if (!std::isfinite(score)) {
      search_.Skipped.push_back(path + ": cannot be scored against the test sample");
      return;
    }
    search_.Ranking.Insert(score, candidate_.Header.SampleName);
  }

  const ReferenceFilter& filter_;
  const ReferenceScorer& score_;
  CandidateSearch& search_;
  // One buffer for every candidate: the largest samples hold 7 MB.
  CArrayData candidate_;
};

}  // namespace

CandidateSearch FindCandidates(const ReferenceFilter& filter, const CandidateSource& source,
                               const ReferenceScorer& score) {
  CandidateSearch search;
  CandidateCollector collector(filter, score, search);
  if (source.Index != nullptr) {
    CSampleFileList& index = *source.Index;
    if (source.RefreshIndex) index.Update(kFileListExtracted);
    if (index.Open(kFileListExtracted)) {
      SampleHeader header;
      std::string fileName;
      while (index.ReadNext(header, fileName)) {
        if (filter.Admits(header)) collector.AddWholeFile(source.ArrayDataFolder + fileName);
      }
      index.Close();
    }
    return search;
  }

  const std::vector<std::string> files = platform::FindFiles(source.ArrayDataFolder, "*.CFH");
  search.NoSampleFile = files.empty();
  for (const std::string& file : files) collector.AddIfAdmitted(source.ArrayDataFolder + file);
  return search;
}

int AutomaticReferenceCount(int ranked, int maxReferences, int mode,
                            const std::function<int(int candidates)>& optimise) {
  const int m = std::clamp(maxReferences, 0, std::max(ranked, 0));
  if (m == 0 || mode == kReferenceFixedNumber || mode == kReferenceCurrentOrFixed) return m;
  return std::clamp(optimise(m), 1, m);
}

}  // namespace qova
