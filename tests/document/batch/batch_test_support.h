#pragma once
// What the batch tests share: a study of several test samples with paired
// normals and a pool of references, runs of the batch dialog and command
// driven as a user would, and a watch on what the commits store and show.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/batch/BatchSelect.h"
#include "document/DocumentCommands.h"
#include "platform/ui/Headless.h"
#include "resources/BatchDialogs.h"
#include "resources/ProgressDialog.h"
#include "tests/document/DocumentTestSupport.h"

namespace qova::test {

namespace batch_ids = qova::resources::batch;
using platform::ui::DialogDriver;

// Called whenever a sample of the given name is stored, as an open document
// showing it would be.
class StoreWatch : public ISampleDocument {
 public:
  StoreWatch(std::string name, std::function<void(const std::string& what)> onStore)
      : name_(std::move(name)), onStore_(std::move(onStore)) {}
  [[nodiscard]] std::string GetStatus() const override { return kDocumentStatusAnalysis; }
  [[nodiscard]] std::string GetExtractedSampleName() const override { return name_; }
  [[nodiscard]] std::string GetAnalyzedSampleName() const override { return name_; }
  [[nodiscard]] bool GetAnalyzedIsSelf() const override { return self_; }
  void RefreshSampleData(const CArrayData&) override { onStore_("sample " + name_); }
  void SetAnalyzedData(const CAnalyzedData&) override { onStore_("result " + name_); }
  void WatchSelf(bool self) { self_ = self; }

 private:
  std::string name_;
  std::function<void(const std::string&)> onStore_;
  bool self_ = false;
  qova::core::ScopedSampleDocument registration_{this};
};

class BatchTest : public DocumentTest {
 protected:
  BatchTest() { CBatchSelect::Reset(); }
  ~BatchTest() override {
    CBatchSelect::Reset();
    unsetenv("QOVA_BATCH_WORKERS");
  }

  // Tests "T1".."Tn", each with its normal "TkN"; T1's study brings
  // `references` references "Ref01"..., which T1's header lists.
  void WriteBatchStudy(int tests, int references) {
    for (int k = 1; k <= tests; ++k) {
      samplegen::StudySpec spec = Study(k == 1 ? references : 0, true, ("T" + std::to_string(k)).c_str());
      spec.Seed = 100 + static_cast<std::uint64_t>(k);
      WriteStudy(spec);
    }
  }
  [[nodiscard]] static std::vector<std::string> Tests(int n) {
    std::vector<std::string> names;
    for (int k = 1; k <= n; ++k) names.push_back("T" + std::to_string(k));
    return names;
  }

  // Runs the command with a dialog script that checks `names` and presses
  // `action` (after `before`, which may set the dialog's other choices).
  void RunBatch(const std::vector<std::string>& names, unsigned action,
                const std::function<void(DialogDriver&)>& before = {}) {
    Ui().OnDialog(qova::resources::kBatchSelectDialog, [=](DialogDriver& d) {
      if (before) before(d);
      const std::vector<std::string> listed = d.Items(batch_ids::kSampleList);
      for (const std::string& name : names) {
        for (std::size_t i = 0; i < listed.size(); ++i) {
          if (listed[i] == name && d.ItemCheck(batch_ids::kSampleList, int(i)) == 0) {
            d.ToggleItemCheck(batch_ids::kSampleList, int(i));
          }
        }
      }
      d.Click(action);
      if (d.IsOpen()) d.Cancel();
    });
    Run(qova::document::command::kBatchAnalysis);
    progress_ = nullptr;
  }

  // Watches the stores of `names`: each records what was stored with the
  // progress dialog's status and position at that moment.
  void Watch(const std::vector<std::string>& names) {
    Ui().OnModeless(qova::resources::kProgressDialog, [this](DialogDriver& d) { progress_ = &d.Window(); });
    for (const std::string& name : names) {
      watches_.push_back(std::make_unique<StoreWatch>(name, [this](const std::string& what) {
        std::string seen = what;
        if (progress_ != nullptr && ::IsWindow(progress_->GetSafeHwnd())) {
          const DialogDriver d(*progress_);
          seen += " | " + d.Text(qova::resources::kProgressStatus) + " | " +
                  std::to_string(d.Position(qova::resources::kProgressBar));
        }
        stores_.push_back(seen);
        if (onStore_) onStore_(what);
      }));
    }
  }

  // Presses Cancel in the progress dialog at its next pump.
  void CancelProgress() {
    DialogDriver(*progress_).Post([](DialogDriver& p) { p.Cancel(); });
  }

  // Every file of the array-data and result folders with its bytes.
  [[nodiscard]] std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const std::string& folder : {ArrayFolder(), ResultFolder()}) {
      for (const std::string& name : platform::FindFiles(folder, "*")) files[folder + name] = Bytes(folder + name);
    }
    return files;
  }

  CWnd* progress_ = nullptr;
  std::vector<std::unique_ptr<StoreWatch>> watches_;
  std::vector<std::string> stores_;
  std::function<void(const std::string&)> onStore_;
};

}  // namespace qova::test
