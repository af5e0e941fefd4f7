#pragma once
// The demo for tests that start from its results: made once per build of the
// test program (FolderCache) and copied into the folder a test asks for, with
// the program pointed at the copy as a run of the demo there leaves it.
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/demo/Demo.h"

namespace qova::test {

// The demo of `options` in options.Folder. Returns the message boxes the demo
// showed: none when it worked. Tests of the demo's own outcome run it.
[[nodiscard]] std::vector<std::string> MakeDemo(const demo::DemoOptions& options, std::ostream& log);

}  // namespace qova::test
