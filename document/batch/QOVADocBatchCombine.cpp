// Automation > Batch Combine: for each pair of sample names of a list file,
// the non-self and the self results of the two arrays of a two-array set
// joined into one result of the combined type.
#include <string>
#include <vector>

#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/batch/CombineResults.h"
#include "document/QOVADoc.h"
#include "platform/ErrorLog.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/CommonDialogs.h"

namespace batch = qova::document::batch;

namespace {

// The first two tab-separated names of a line; runs of tabs count as one.
std::pair<std::string, std::string> PairOf(const std::string& line) {
  std::vector<std::string> names;
  std::string current;
  for (char c : line + '\t') {
    if (c == '\t' || c == '\r') {
      if (!current.empty()) names.push_back(current);
      current.clear();
      if (names.size() == 2) break;
    } else {
      current += c;
    }
  }
  names.resize(2);
  return {names[0], names[1]};
}

}  // namespace

void CQOVADoc::OnBatchCombine() {
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
  if (dialog.DoModal() != IDOK) return;
  std::string text;
  if (!platform::ReadWholeFile(dialog.GetPathName(), text)) {
    AfxMessageBox("The list file " + dialog.GetPathName() + " cannot be read.");
    return;
  }
  const AnalysisKind nonSelf = NonSelfAnalysisKind(global_.ProgramSetting->NONSELFALLELE != 0);
  bool failed = false;
  const auto log = [&](const std::string& first, const std::string& second, const std::string& what) {
    platform::AppendErrorLog(first + " and " + second + " : " + what);
    failed = true;
  };
  for (const std::string& line : platform::SplitLines(text)) {
    const auto [first, second] = PairOf(line);
    bool found = false;
    for (const AnalysisKind kind : {nonSelf, AnalysisKind::Self}) {
      batch::CombineOutcome outcome = batch::CombineResults(global_, {AnalysisResultFolder, first, second, kind});
      switch (outcome.Result) {
        case batch::CombineOutcome::kNotFound:
          if (kind == AnalysisKind::Self && !found) log(first, second, "Cannot find files");
          break;
        case batch::CombineOutcome::kDifferentArrayType:
          found = true;
          log(first, second, "Different Array type");
          break;
        case batch::CombineOutcome::kFailed:
          found = true;
          log(first, second, outcome.Reason);
          break;
        case batch::CombineOutcome::kWritten:
          // Written only: the document goes on showing what it showed.
          found = true;
          break;
      }
    }
  }
  if (failed) {
    AfxMessageBox("Some errors happened.\nCheck " + platform::NativePath(platform::kErrorLogPath));
  } else {
    AfxMessageBox("Automatic combination completed");
  }
}
