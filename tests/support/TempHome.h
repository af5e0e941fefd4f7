#pragma once
// A fixture for tests that touch files: a fresh temporary folder that serves as
// QOVA_HOME (the drive root) and QOVA_CONFIG_HOME, removed afterwards.
#include <gtest/gtest.h>

#include <string>

namespace qova::test {

class TempHome {
 public:
  TempHome();
  ~TempHome();
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;

  // The root folder, with a trailing '/'.
  [[nodiscard]] const std::string& Root() const { return root_; }
  // Root() + relative path.
  [[nodiscard]] std::string Path(const std::string& relative) const { return root_ + relative; }

 private:
  std::string root_;
  std::string oldHome_, oldConfig_;
  bool hadHome_ = false, hadConfig_ = false;
};

class TempHomeTest : public ::testing::Test {
 protected:
  [[nodiscard]] const std::string& Root() const { return home_.Root(); }
  [[nodiscard]] std::string Path(const std::string& relative) const { return home_.Path(relative); }

  TempHome home_;
};

// The repository's source folder (for the shipped data/ tables).
[[nodiscard]] std::string SourceDir();
// The build folder (for the built tools).
[[nodiscard]] std::string BinaryDir();

}  // namespace qova::test
