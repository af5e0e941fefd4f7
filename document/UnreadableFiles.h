#pragma once
// The sample and result files a command could not read. Listings and
// reference searches leave such a file out and go on with the others; the user
// is told which files and why once per command, in one message (the error log
// keeps its own lines).
//
// A report is opened for the length of a command on the thread that shows its
// messages. A report opened while another is open on the same thread joins
// it, so that what a dialog told at its opening is not told again by the
// command that ran the dialog.
#include <optional>
#include <string>
#include <vector>

namespace qova::document {

struct UnreadableFile {
  std::string Path;
  std::string Why;
};

class UnreadableFiles {
 public:
  UnreadableFiles();
  // The outermost report tells what has not been told yet.
  ~UnreadableFiles();
  UnreadableFiles(const UnreadableFiles&) = delete;
  UnreadableFiles& operator=(const UnreadableFiles&) = delete;

  // A file left out and why; a file already noted in this report is noted
  // once. Without an open report it is told at once.
  static void Note(const std::string& path, const std::string& why);
  // Tells the files noted and not told yet, in one message, now.
  static void TellNow();
  // The message that tells the files noted and not told yet (they count as
  // told), for a command that puts it into its own summary; nothing when none.
  [[nodiscard]] static std::optional<std::string> TakeUntold();
  // The files noted and not told yet, which count as told; a worker thread
  // hands them to the thread that tells them.
  [[nodiscard]] static std::vector<UnreadableFile> TakeUntoldFiles();

  // The text that tells `files`.
  [[nodiscard]] static std::string Message(const std::vector<UnreadableFile>& files);

 private:
  struct Report {
    std::vector<UnreadableFile> noted;
    std::size_t told = 0;  // the first `told` of `noted` have been told
  };
  // The open report of this thread, or null.
  static Report*& OpenReport();

  Report own_;
  bool outermost_ = false;
};

}  // namespace qova::document
