#pragma once
// The fixture of the application tests: a headless user interface, a
// temporary home and settings file, and a start folder whose data folder is
// complete, partial or missing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/lib/QOVAApp.h"
#include "platform/ui/Frame.h"
#include "tests/platform/ui_fixture.h"
#include "tests/support/TempHome.h"

namespace qova::test {

// A start folder whose data folder holds the shipped cytoband table and
// generated annotation tables of every family; made once per test run in a
// temporary folder of its own and removed at exit.
[[nodiscard]] const std::string& CompleteStartFolder();

// Writes an association study file (.AAD) of one case and one control of the
// 10K Xba142 type, every call heterozygous and no statistic computed yet.
void WriteAssociationFile(const std::string& path);

class AppTest : public UiTest {
 protected:
  AppTest();
  ~AppTest() override;

  // Starts the application in `startFolder` (default: the complete one)
  // with the program's arguments. Returns what InitInstance returned.
  BOOL Start(const std::string& startFolder = CompleteStartFolder(), std::vector<std::string> arguments = {});
  [[nodiscard]] CQOVAApp& App() { return *app_; }
  [[nodiscard]] CMDIFrameWnd& MainFrame() const;
  // A menu choice or tool bar click: false when the command is not in the
  // current menu or tool bar, or is disabled.
  bool Choose(UINT id);
  // The documents of template `index` (0, 1 or 2).
  [[nodiscard]] int DocumentCount(int index) const;

  TempHome home_;
  std::unique_ptr<CQOVAApp> app_;

 private:
  std::string oldStart_;
};

}  // namespace qova::test
