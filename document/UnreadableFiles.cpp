#include "document/UnreadableFiles.h"

#include <algorithm>

#include "platform/MessageBox.h"
#include "platform/Paths.h"

namespace qova::document {

UnreadableFiles::Report*& UnreadableFiles::OpenReport() {
  thread_local Report* open = nullptr;
  return open;
}

UnreadableFiles::UnreadableFiles() : outermost_(OpenReport() == nullptr) {
  if (outermost_) OpenReport() = &own_;
}

UnreadableFiles::~UnreadableFiles() {
  if (!outermost_) return;
  TellNow();
  OpenReport() = nullptr;
}

void UnreadableFiles::Note(const std::string& path, const std::string& why) {
  auto* report = OpenReport();
  if (report == nullptr) {
    AfxMessageBox(Message({{path, why}}), MB_ICONEXCLAMATION);
    return;
  }
  const bool known = std::any_of(report->noted.begin(), report->noted.end(),
                                 [&](const UnreadableFile& file) { return file.Path == path; });
  if (!known) report->noted.push_back({path, why});
}

std::vector<UnreadableFile> UnreadableFiles::TakeUntoldFiles() {
  auto* report = OpenReport();
  if (report == nullptr) return {};
  std::vector<UnreadableFile> untold(report->noted.begin() + static_cast<std::ptrdiff_t>(report->told),
                                     report->noted.end());
  report->told = report->noted.size();
  return untold;
}

std::optional<std::string> UnreadableFiles::TakeUntold() {
  const std::vector<UnreadableFile> untold = TakeUntoldFiles();
  if (untold.empty()) return std::nullopt;
  return Message(untold);
}

void UnreadableFiles::TellNow() {
  if (const std::optional<std::string> text = TakeUntold()) AfxMessageBox(*text, MB_ICONEXCLAMATION);
}

std::string UnreadableFiles::Message(const std::vector<UnreadableFile>& files) {
  std::string text = files.size() == 1 ? "This file could not be read and is left out:"
                                       : "These files could not be read and are left out:";
  for (const UnreadableFile& file : files) {
    // The readers' own texts mostly name the file already.
    const std::string path = platform::NativePath(file.Path);
    const bool named = file.Why.find(path) != std::string::npos || file.Why.find(file.Path) != std::string::npos;
    text += "\n" + (named ? file.Why : path + ": " + file.Why);
  }
  return text;
}

}  // namespace qova::document
