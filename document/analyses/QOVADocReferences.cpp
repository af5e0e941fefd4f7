// Choosing the non-self references of a sample: by hand in the check-list
// dialog or automatically under the AUTO settings; the sample's own paired
// normal sample as its only reference; and the superseded choice that fills
// the candidate fields.
#include <algorithm>
#include <vector>

#include "analysis/Analysis.h"
#include "core/BasicData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/QOVADoc.h"
#include "document/analyses/RefSelect.h"
#include "document/analyses/ReferenceSelection.h"
#include "document/UnreadableFiles.h"
#include "platform/ErrorLog.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace analyses = qova::document::analyses;

namespace {

constexpr const char* kNoReferenceFile = "Failure to open the reference file";
constexpr const char* kSupersededNotice =
    "Notify the programmer if this dialogue appears, this function would be deleted soon!";
// The superseded choice keeps at most this many candidates.
constexpr std::size_t kOldCandidateCount = 5;

// A sample that already names references keeps them in the "Current" modes.
bool HasCurrentReferences(const SampleHeader& header) { return header.NonSelfReferenceCount > 0; }

void SetReferences(CArrayData& sample, const std::vector<analyses::RankedReference>& references) {
  sample.Header.NonSelfReferenceCount = static_cast<std::int32_t>(references.size());
  sample.SetNonSelfReferences(analyses::FormatReferenceList(references));
}

// A candidate that could not be read or scored is left out; the error log
// says which and why, and the files that could not be read are told once in
// the command.
void LogSkipped(const analyses::CandidateSearch& search) {
  for (const std::string& skipped : search.Skipped) platform::AppendErrorLog("Reference candidate left out: " + skipped);
  for (const qova::document::UnreadableFile& file : search.Unreadable) qova::document::UnreadableFiles::Note(file.Path, file.Why);
}

std::vector<std::string> NamesOf(const std::vector<analyses::RankedReference>& references) {
  std::vector<std::string> names;
  names.reserve(references.size());
  for (const analyses::RankedReference& reference : references) names.push_back(reference.Name);
  return names;
}

}  // namespace

int CQOVADoc::SelectNonSelfReferences(CArrayData* sample, BOOL automatic, BOOL sameSex, int referenceMode,
                                      BOOL keepSampleIndex) {
  const CProgramSetting& setting = *global_.ProgramSetting;
  if (automatic && KeepsCurrentReferences(sample->Header, referenceMode)) return kSucceeded;
  CBasicData* basic = AnnotationFor(*sample);
  if (basic == nullptr) return kSucceeded;

  analyses::CandidateSource source;
  source.ArrayDataFolder = ArrayDataFolder;
  source.Index = setting.UseFileList != 0 ? global_.FileList.get() : nullptr;
  source.RefreshIndex = keepSampleIndex == FALSE;
  const analyses::CandidateSnapshot candidates = analyses::SnapshotCandidates(source);
  if (automatic) {
    if (const std::optional<std::string> notice =
            ChooseAutomaticReferences(*sample, sameSex, referenceMode, candidates, *basic)) {
      Notify(*notice);
    }
    return kSucceeded;
  }

  CAnalysis engine(global_);
  PrepareEngine(engine);
  const analyses::CandidateSearch search =
      analyses::FindCandidates(analyses::ReferenceFilter::For(sample->Header, setting, sameSex != FALSE), candidates,
                           [&](const CArrayData& candidate) { return engine.CalcCorrectedSD(*sample, candidate, *basic); });
  if (search.NoSampleFile) {
    Notify(kNoReferenceFile);
    return kSucceeded;
  }
  LogSkipped(search);
  const analyses::ReferenceRanking& ranking = search.Ranking;
  CRefSelect dialog;
  dialog.SetCandidates(ranking.Entries());
  if (dialog.DoModal() != IDOK) return kSelectionCancelled;
  std::vector<analyses::RankedReference> chosen;
  for (std::size_t i = 0; i < ranking.Size(); ++i) {
    if (dialog.IsSelected(i)) chosen.push_back(ranking.Entries()[i]);
  }
  SetReferences(*sample, chosen);
  return kSucceeded;
}

bool CQOVADoc::KeepsCurrentReferences(const SampleHeader& header, int referenceMode) {
  return (referenceMode == analyses::kReferenceCurrentOrAuto || referenceMode == analyses::kReferenceCurrentOrFixed) &&
         HasCurrentReferences(header);
}

std::optional<std::string> CQOVADoc::ChooseAutomaticReferences(CArrayData& sample, BOOL sameSex, int referenceMode,
                                                               const analyses::CandidateSnapshot& candidates,
                                                               const CBasicData& basic) const {
  const CProgramSetting& setting = *global_.ProgramSetting;
  CAnalysis engine(global_);
  PrepareEngine(engine);
  const analyses::CandidateSearch search = analyses::FindCandidates(
      analyses::ReferenceFilter::For(sample.Header, setting, sameSex != FALSE), candidates,
      [&](const CArrayData& candidate) { return engine.CalcCorrectedSD(sample, candidate, basic); });
  if (search.NoSampleFile) return kNoReferenceFile;
  LogSkipped(search);
  const analyses::ReferenceRanking& ranking = search.Ranking;
  const int count = analyses::AutomaticReferenceCount(
      static_cast<int>(ranking.Size()), setting.MAXREF, referenceMode, [&](int n) {
        // The engine's work area is a result of our own: the shown result stays.
        CAnalyzedData work(sample, NonSelfAnalysisKind(setting.NONSELFALLELE != 0));
        return engine.NormalizeForReferenceSelection(sample, work, NamesOf(ranking.Best(n)), n, basic);
      });
  SetReferences(sample, ranking.Best(static_cast<std::size_t>(count)));
  return std::nullopt;
}

int CQOVADoc::SelectSelfAsReference(CArrayData* sample) {
  if (sample->Header.IsPaired == 0 || sample->Header.SelfReference.empty()) {
    AfxMessageBox("This sample does not have self reference");
    return kFailed;
  }
  CBasicData* basic = AnnotationFor(*sample);
  if (basic == nullptr) return kFailed;
  CArrayData self;
  self.LoadFile(platform::JoinPath(ArrayDataFolder, sample->Header.SelfReference + ".CFH"));
  CAnalysis engine(global_);
  PrepareEngine(engine);
  const float score = engine.CalcCorrectedSD(*sample, self, *basic);
  SetReferences(*sample, {analyses::RankedReference{score, self.Header.SampleName}});
  return kSucceeded;
}

int CQOVADoc::SelectNonSelfReferencesOld(CArrayData* work, CArrayData* sample) {
  (void)work;  // the candidates are read into a buffer of the search's own
  Notify(kSupersededNotice);
  CBasicData* basic = AnnotationFor(*sample);
  if (basic == nullptr) return 0;

  CAnalysis engine(global_);
  PrepareEngine(engine);
  analyses::ReferenceFilter filter;
  filter.ArrayType = sample->Header.ArrayType;
  // The superseded choice knew no other rule; only the test itself never
  // serves as its own reference (it is no reference sample).
  filter.TestName = sample->Header.SampleName;
  analyses::CandidateSource source;
  source.ArrayDataFolder = ArrayDataFolder;
  const analyses::CandidateSearch search = analyses::FindCandidates(
      filter, source, [&](const CArrayData& candidate) { return engine.CalcCorrectedSD(*sample, candidate, *basic); });
  if (search.NoSampleFile) {
    Notify("error");
    return 0;
  }
  LogSkipped(search);
  const std::vector<analyses::RankedReference> best = search.Ranking.Best(kOldCandidateCount);
  std::string names;
  for (const analyses::RankedReference& candidate : best) names += candidate.Name + "$";
  sample->Header.RefCandidateCount = static_cast<std::int32_t>(best.size());
  sample->Header.RefCandidates = names;
  return 0;
}
