#pragma once
// The fixture of the user-interface model tests: a clean headless user
// interface, a recording message sink, and resources that the test adds.
#include <gtest/gtest.h>

#include "platform/MessageBox.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "platform/ui/Resources.h"

namespace qova::test {

class UiTest : public ::testing::Test {
 protected:
  UiTest() {
    platform::ui::SetBackend(nullptr);
    platform::ui::Headless().Reset();
    platform::ui::ClearMessageQueue();
    platform::ui::Resources::Instance().Clear();
  }
  ~UiTest() override {
    platform::ui::Headless().Reset();
    platform::ui::ClearMessageQueue();
    platform::ui::Resources::Instance().Clear();
  }

  platform::ui::HeadlessUi& Ui() { return platform::ui::Headless(); }
  platform::ui::Resources& Res() { return platform::ui::Resources::Instance(); }

  platform::ScopedRecordingSink messages_;
};

}  // namespace qova::test
