#include "tests/support/TempHome.h"

#include <cstdlib>
#include <filesystem>

namespace qova::test {

namespace {
std::string EnvOr(const char* name, bool& had) {
  const char* v = std::getenv(name);
  had = v != nullptr;
  return v ? v : "";
}
}  // namespace

TempHome::TempHome() {
  namespace fs = std::filesystem;
  std::string pattern = (fs::temp_directory_path() / "qova-test-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  if (!made) throw std::runtime_error("cannot create a temporary folder");
  root_ = std::string(made) + "/";
  oldHome_ = EnvOr("QOVA_HOME", hadHome_);
  oldConfig_ = EnvOr("QOVA_CONFIG_HOME", hadConfig_);
  setenv("QOVA_HOME", made, 1);
  setenv("QOVA_CONFIG_HOME", made, 1);
}

TempHome::~TempHome() {
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
  if (hadHome_) setenv("QOVA_HOME", oldHome_.c_str(), 1); else unsetenv("QOVA_HOME");
  if (hadConfig_) setenv("QOVA_CONFIG_HOME", oldConfig_.c_str(), 1); else unsetenv("QOVA_CONFIG_HOME");
}

std::string SourceDir() { return std::string(QOVA_SOURCE_DIR_PATH) + "/"; }

std::string BinaryDir() { return std::string(QOVA_BINARY_DIR_PATH) + "/"; }

}  // namespace qova::test
