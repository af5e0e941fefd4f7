#pragma once
// What the Sample Manager's tests share: sample files whose headers a test
// chooses, and a run of the dialog driven by a script, as a user would.
#include <functional>
#include <string>
#include <vector>

#include "core/ArrayTypes.h"
#include "document/samplemanager/DataManage.h"
#include "document/samplemanager/DataManageCache.h"
#include "platform/ui/Headless.h"
#include "resources/SampleManagerDialog.h"
#include "tests/document/DocumentTestSupport.h"

namespace qova::test {

namespace ids = qova::resources::manager;
using platform::ui::DialogDriver;
using qova::resources::kSampleManagerDialog;

// What a run of the dialog handed back.
struct ManagerOutcome {
  INT_PTR result = -1;
  std::string sampleName;
  std::string action;
};

class ManagerTest : public DocumentTest {
 protected:
  // Every test is a fresh run of the program.
  ManagerTest() { document::samplemanager::SampleManagerCache::Reset(); }
  ~ManagerTest() override { document::samplemanager::SampleManagerCache::Reset(); }

  // A sample of `arrayType` named `name`, a TEST sample unless `edit` says
  // otherwise, written as <name>.CFH.
  void WriteListed(const std::string& name, const std::function<void(SampleHeader&)>& edit = {},
                   const std::string& arrayType = kSmallType) {
    const int type = ArrayTypeIndex(arrayType);
    CArrayData sample(name, arrayType, global_.TypeInfo(type), CTime(kCreated));
    sample.Header.IsTest = 1;
    sample.Header.Sex = "F";
    if (edit) edit(sample.Header);
    sample.StoreFile(SamplePath(name));
  }

  // Runs the dialog on the array-data folder; the script's last act should
  // close it, else the run ends as Escape would.
  ManagerOutcome OpenManager(const std::function<void(DialogDriver&)>& script = {}) {
    Ui().OnDialog(kSampleManagerDialog, [&script](DialogDriver& driver) {
      if (script) script(driver);
      if (driver.IsOpen()) driver.Cancel();
    });
    CDataManage dialog;
    dialog.ArrayDataFolder = ArrayFolder();
    ManagerOutcome outcome;
    outcome.result = dialog.DoModal();
    outcome.sampleName = dialog.SampleName;
    outcome.action = dialog.Action;
    return outcome;
  }

  // The list's lines as the first opening's script sees them.
  std::vector<std::string> ListedNames(const std::function<void(DialogDriver&)>& before = {}) {
    std::vector<std::string> names;
    OpenManager([&](DialogDriver& d) {
      if (before) before(d);
      names = d.Items(ids::kSampleList);
    });
    return names;
  }

  // Hidden buttons and the Enter key reach the dialog only as commands.
  static void Command(DialogDriver& d, unsigned id) {
    d.Window().SendMessage(WM_COMMAND, MAKELONG(WORD(id), WORD(BN_CLICKED)));
  }

  static document::samplemanager::SampleManagerCache& Cache() { return document::samplemanager::SampleManagerCache::OfRun(); }

  // 2007-06-01 00:00:00 UTC.
  static constexpr std::int64_t kCreated = 1180656000;
};

}  // namespace qova::test
