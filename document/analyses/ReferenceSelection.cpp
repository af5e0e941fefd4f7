#include "document/analyses/ReferenceSelection.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "core/ArchiveFile.h"
#include "core/ArrayData.h"
#include "core/ProgramSetting.h"
#include "core/SampleFileList.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace qova::document::analyses {

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

// The header of one sample file, or why it cannot be read.
CandidateEntry ReadCandidateHeader(const std::string& path) {
  CandidateEntry entry;
  entry.Path = path;
  try {
    CArrayData sample;
    sample.LoadFile(path, false);
    entry.Header = sample.Header;
  } catch (const std::exception& error) {
    entry.Problem = error.what();
  }
  return entry;
}

}  // namespace

CandidateSnapshot SnapshotCandidates(const CandidateSource& source) {
  CandidateSnapshot snapshot;
  if (source.Index != nullptr) {
    CSampleFileList& index = *source.Index;
    if (source.RefreshIndex) index.Update(kFileListExtracted);
    if (index.Open(kFileListExtracted)) {
      SampleHeader header;
      std::string fileName;
      while (index.ReadNext(header, fileName)) {
        snapshot.Entries.push_back({source.ArrayDataFolder + fileName, header, {}});
      }
      index.Close();
    }
    return snapshot;
  }
  const std::vector<std::string> files = platform::FindFiles(source.ArrayDataFolder, "*.CFH");
  snapshot.NoSampleFile = files.empty();
  for (const std::string& file : files) snapshot.Entries.push_back(ReadCandidateHeader(source.ArrayDataFolder + file));
  return snapshot;
}

CandidateSearch FindCandidates(const ReferenceFilter& filter, const CandidateSnapshot& snapshot,
                               const ReferenceScorer& score) {
  CandidateSearch search;
  search.NoSampleFile = snapshot.NoSampleFile;
  // One buffer for every candidate: the largest samples hold 7 MB.
  CArrayData candidate;
  for (const CandidateEntry& entry : snapshot.Entries) {
    if (!entry.Header) {
      search.Skipped.push_back(entry.Path + ": " + entry.Problem);
      search.Unreadable.push_back({entry.Path, entry.Problem});
      continue;
    }
    if (!filter.Admits(*entry.Header)) continue;
    try {
      qova::core::LoadArchiveFile(entry.Path, [&](CArchive& ar) { candidate.SerializeSample(ar, TRUE, TRUE); });
    } catch (const std::exception& error) {
      search.Skipped.push_back(entry.Path + ": " + error.what());
      search.Unreadable.push_back({entry.Path, error.what()});
      continue;
    }
    const float value = score(candidate);
    if (!std::isfinite(value)) {
      search.Skipped.push_back(entry.Path + ": cannot be scored against the test sample");
      continue;
    }
    search.Ranking.Insert(value, candidate.Header.SampleName);
  }
  return search;
}

CandidateSearch FindCandidates(const ReferenceFilter& filter, const CandidateSource& source,
                               const ReferenceScorer& score) {
  return FindCandidates(filter, SnapshotCandidates(source), score);
}

int AutomaticReferenceCount(int ranked, int maxReferences, int mode,
                            const std::function<int(int candidates)>& optimise) {
  const int m = std::clamp(maxReferences, 0, std::max(ranked, 0));
  if (m == 0 || mode == kReferenceFixedNumber || mode == kReferenceCurrentOrFixed) return m;
  return std::clamp(optimise(m), 1, m);
}

}  // namespace qova::document::analyses
