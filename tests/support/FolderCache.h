#pragma once
// A folder that is slow to make (the demo, a data folder of every family),
// made once per build of the test program and copied for each test process.
//
// CTest runs every test in a process of its own, so a fixture made "once per
// process" is made once per test. The cache lives beside the test program
// ("<program>.cache/"), keyed by the program's size and modification time: a
// rebuilt program (new code that makes the folder) makes it afresh and removes
// the caches of its earlier builds. The first process makes it under a file
// lock while the others wait; each then copies it into a folder of its own,
// since tests write into what they were given.
//
// A copy is what making the folder there would have written: the files keep
// their modification times, and a file that names the cache's folder (a
// settings file's folders) names the copy's instead.
#include <functional>
#include <string>

namespace qova::test {

// Writes the folder's contents into the existing empty folder it is given
// (with a trailing '/'). Throws to refuse: nothing is cached then.
using FolderMaker = std::function<void(const std::string& root)>;

class FolderCache {
 public:
  // `home`: the folder the caches go in; `key`: the build that makes them.
  FolderCache(std::string home, std::string key);

  // The cache of the test program that runs.
  [[nodiscard]] static FolderCache ForThisProgram();

  // Copies the folder `name` into `target` (made when missing), making it
  // first when this build has none. When the cache cannot be made or read,
  // or `make` throws there, `make` runs on `target` itself, so a failure
  // shows as it would without the cache.
  void CopyInto(const std::string& name, const std::string& target, const FolderMaker& make);

  // The folder that holds the caches of this build, with a trailing '/'.
  [[nodiscard]] std::string BuildFolder() const;

 private:
  std::string home_, key_;
};

}  // namespace qova::test
