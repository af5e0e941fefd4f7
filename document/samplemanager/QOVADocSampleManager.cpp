// What the Sample Manager's action keywords do with the chosen sample.
#include <string_view>

#include "document/QOVADoc.h"
#include "document/analyses/ReferenceSelection.h"
#include "platform/Paths.h"

namespace {

enum class SampleAction {
  None,
  Self,
  NonSelf,
  ManualReferences,
  ManualReferencesSameSex,
  AutomaticReferences,
  AutomaticReferencesSameSex,
  SelfAsReference,
  Association,
};

SampleAction ActionOf(std::string_view keyword) {
  struct Entry {
    const char* keyword;
    SampleAction action;
  };
  static constexpr Entry kActions[] = {
      {kActionSelfAnalysis, SampleAction::Self},
      {kActionNonSelfAnalysis, SampleAction::NonSelf},
      {kActionSelectNonSelfRef, SampleAction::ManualReferences},
      {kActionSelectNonSelfRefSameSex, SampleAction::ManualReferencesSameSex},
      {kActionAutomaticAnalysis, SampleAction::AutomaticReferences},
      {kActionAutomaticAnalysisSameSex, SampleAction::AutomaticReferencesSameSex},
      {kActionSelectSelfAsRef, SampleAction::SelfAsReference},
      {kActionAssociationAnalysis, SampleAction::Association},
  };
  for (const Entry& entry : kActions) {
    if (keyword == entry.keyword) return entry.action;
  }
  return SampleAction::None;
}

}  // namespace

void CQOVADoc::RunSampleAction(const std::string& sampleName, const std::string& keyword) {
  const SampleAction action = ActionOf(keyword);
  if (action == SampleAction::None) return;

  // The document takes the sample only together with a result of it.
  CArrayData sample;
  sample.LoadFile(platform::JoinPath(ArrayDataFolder, sampleName + ".CFH"));

  const auto selectThenAnalyse = [&](BOOL automatic, BOOL sameSex) {
    if (SelectNonSelfReferences(&sample, automatic, sameSex, qova::document::analyses::kReferenceAutomatic, FALSE) == kSelectionCancelled) {
      return;
    }
    NonSelfAnalysis(&sample, FALSE);
  };
  switch (action) {
    case SampleAction::Self:
      SelfAnalysis(&sample, FALSE);
      break;
    case SampleAction::NonSelf:
      NonSelfAnalysis(&sample, FALSE);
      break;
    case SampleAction::ManualReferences:
      selectThenAnalyse(FALSE, FALSE);
      break;
    case SampleAction::ManualReferencesSameSex:
      selectThenAnalyse(FALSE, TRUE);
      break;
    case SampleAction::AutomaticReferences:
      selectThenAnalyse(TRUE, FALSE);
      break;
    case SampleAction::AutomaticReferencesSameSex:
      selectThenAnalyse(TRUE, TRUE);
      break;
    case SampleAction::SelfAsReference:
      if (SelectSelfAsReference(&sample) == kSucceeded) NonSelfAnalysis(&sample, FALSE);
      break;
    case SampleAction::Association:
      AssociationAnalysis(&sample);
      break;
    case SampleAction::None:
      break;
  }
}
