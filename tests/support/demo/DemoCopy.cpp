#include "tests/support/demo/DemoCopy.h"

#include <filesystem>
#include <ostream>
#include <stdexcept>

#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "tests/support/FolderCache.h"

namespace qova::test {

std::vector<std::string> MakeDemo(const demo::DemoOptions& options, std::ostream& log) {
  std::vector<std::string> messages;
  bool ranHere = false;
  const demo::DemoFolders folders(std::filesystem::absolute(options.Folder).lexically_normal().string());
  // One cache per kind of demo; the key of the build covers the demo's code.
  const std::string name = "demo-" + options.ArrayType + "-" + std::to_string(options.Seed) + "-" +
                           std::to_string(options.Threads);
  FolderCache::ForThisProgram().CopyInto(name, folders.Root, [&](const std::string& root) {
    demo::DemoOptions run = options;
    run.Folder = root;
    ranHere = root == folders.Root;
    messages = demo::RunDemo(run, log).Messages;
    // A demo that showed a message is not one to hand out again.
    if (!messages.empty() && !ranHere) throw std::runtime_error("the demo showed messages");
  });
  if (!ranHere) {
    log << "The demo copied into " << folders.Root << "\n";
    platform::ui::SetBackend(nullptr);
    platform::ui::Headless().Reset();
    demo::UseProgramFolder(folders);
  }
  return messages;
}

}  // namespace qova::test
