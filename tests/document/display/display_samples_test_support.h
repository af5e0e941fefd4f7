#pragma once
// What the Display Samples tests share: result files of chosen headers, runs
// of the dialog with a script, and the request it handed back.
#include <functional>
#include <string>
#include <vector>

#include "core/ArrayTypes.h"
#include "document/display/SelectResult.h"
#include "platform/ui/Headless.h"
#include "resources/DisplaySamplesDialog.h"
#include "resources/ExtractDialogs.h"
#include "tests/document/DocumentTestSupport.h"

namespace qova::test {

namespace display_ids = qova::resources::display;
using platform::ui::DialogDriver;

inline void PickDate(DialogDriver& d, unsigned button, int year, int month, int day) {
  SYSTEMTIME date{};
  date.wYear = WORD(year);
  date.wMonth = WORD(month);
  date.wDay = WORD(day);
  platform::ui::Headless().OnDialog(qova::resources::kCalendarDialog, [date](DialogDriver& c) {
    c.PickDate(qova::resources::kCalendarMonth, date).Ok();
  });
  d.Click(button);
}

struct DisplayOutcome {
  INT_PTR result = -1;
  std::string mode;
  std::vector<std::string> files;
  int selfMode = -1;
};

class DisplaySamplesTest : public DocumentTest {
 protected:
  DisplaySamplesTest() { CSelectResult::Reset(); }
  ~DisplaySamplesTest() override { CSelectResult::Reset(); }

  // A result file `file` ("A.CFN") of the small type (or `type`), a test
  // sample created at `created` (UTC seconds) unless `edit` says otherwise.
  void WriteResult(const std::string& file, const std::function<void(SampleHeader&)>& edit = {},
                   const char* type = kSmallType) {
    const std::string name = file.substr(0, file.find('.'));
    CArrayData sample(name, type, global_.TypeInfo(ArrayTypeIndex(type)), CTime(kCreated));
    sample.Header.IsTest = 1;
    if (edit) edit(sample.Header);
    const AnalysisKind kind = AnalysisKindOfFile(file).value_or(AnalysisKind::NonSelf);
    CAnalyzedData result(sample, kind);
    result.StoreFile(ResultPath(file));
  }

  DisplayOutcome OpenDialog(const std::function<void(DialogDriver&)>& script) {
    Ui().OnDialog(qova::resources::kDisplaySamplesDialog, [&script](DialogDriver& d) {
      script(d);
      if (d.IsOpen()) d.Cancel();
    });
    CSelectResult dialog;
    dialog.m_strResultFolder = ResultFolder();
    DisplayOutcome outcome;
    outcome.result = dialog.DoModal();
    outcome.mode = dialog.m_strMode;
    outcome.files = dialog.m_listFiles;
    outcome.selfMode = dialog.m_bSelfMode;
    return outcome;
  }

  // The list after `script` and "New".
  std::vector<std::string> Listed(const std::function<void(DialogDriver&)>& script) {
    std::vector<std::string> names;
    OpenDialog([&](DialogDriver& d) {
      script(d);
      d.Click(display_ids::kNew);
      names = d.Items(display_ids::kSampleList);
    });
    return names;
  }

  static void CheckLines(DialogDriver& d, const std::vector<std::string>& names) {
    const std::vector<std::string> listed = d.Items(display_ids::kSampleList);
    for (const std::string& name : names) {
      for (std::size_t i = 0; i < listed.size(); ++i) {
        if (listed[i] == name && d.ItemCheck(display_ids::kSampleList, int(i)) == 0) {
          d.ToggleItemCheck(display_ids::kSampleList, int(i));
        }
      }
    }
  }

  // 2007-06-01 10:00:00 in local time.
  static inline const std::int64_t kCreated = CTime(2007, 6, 1, 10, 0, 0).GetTime();
};

}  // namespace qova::test
