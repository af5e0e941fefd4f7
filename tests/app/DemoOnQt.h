#pragma once
// The small family's demo made in a test's folder, then the Qt backend
// installed over an in-memory settings store, with message boxes recorded;
// all undone when it goes. For the pictures of dialogs that list the demo.
#include <QApplication>

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/qt/QtBackend.h"
#include "tests/support/demo/DemoCopy.h"

namespace qova::test {

class DemoOnQt {
 public:
  DemoOnQt(const std::string& folder, const std::string& arrayType) {
    demo::DemoOptions options;
    options.Folder = folder;
    options.ArrayType = arrayType;
    std::ostringstream log;
    EXPECT_TRUE(MakeDemo(options, log).empty()) << log.str();
    platform::AppProfile().SetStore(std::make_unique<platform::MemorySettingsStore>());
    platform::qt::InstallQtBackend();
    boxes_.emplace();
  }
  ~DemoOnQt() {
    boxes_.reset();
    QApplication::processEvents();
    platform::qt::UninstallQtBackend();
  }
  DemoOnQt(const DemoOnQt&) = delete;
  DemoOnQt& operator=(const DemoOnQt&) = delete;

  // The message boxes shown while it lives.
  [[nodiscard]] std::vector<std::string> Shown() const { return boxes_->Texts(); }

 private:
  std::optional<platform::ScopedRecordingSink> boxes_;
};

}  // namespace qova::test
