#include "document/exports/TextExport.h"

#include <charconv>
#include <exception>

#include "core/AnalyzedData.h"
#include "core/ProgramSetting.h"
#include "document/ExportDialog.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Controls.h"

namespace qova::document::exports {
namespace {

constexpr const char* kTextFilter = "text file(*.txt)|*.txt|All files(*.*)|*.*||";

// Lines go to the file in writes of about this size.
constexpr std::size_t kFlushBytes = std::size_t(1) << 20;

}  // namespace

std::string SampleFilePath(const CProgramSetting& setting, const std::string& name, SampleFileRole role) {
  switch (role) {
    case SampleFileRole::SelfResult:
      return setting.DefaultAnalysisResultFolder + name + AnalysisFileExtension(AnalysisKind::Self);
    case SampleFileRole::NonSelfResult:
      return setting.DefaultAnalysisResultFolder + name +
             AnalysisFileExtension(NonSelfAnalysisKind(setting.NONSELFALLELE != 0));
    case SampleFileRole::ArrayData: return setting.DefaultArrayDataFolder + name + ".CFH";
  }
  return {};
}

std::vector<std::string> CheckedSamples(const CCheckListBox& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.GetCount(); ++i) {
    if (list.GetCheck(i) == 1) names.push_back(list.GetText(i));
  }
  if (names.empty()) AfxMessageBox("Select more than one sample", MB_OK);
  return names;
}

std::optional<std::string> AskTextOutputPath(CWnd* parent) {
  CFileDialog dialog(FALSE, "txt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kTextFilter, parent);
  StartInOutputFolder(dialog);
  if (dialog.DoModal() != IDOK) return std::nullopt;
  return dialog.GetPathName();
}

void AppendInt(std::string& out, std::int64_t value) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  out.append(buffer, end);
}

void AppendFixed(std::string& out, double value) {
  // The widest double in fixed notation has 309 integer digits.
  char buffer[330];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6).ptr;
  out.append(buffer, end);
}

std::optional<CAnalyzedData> ReadExportSample(const std::string& path, bool whole, const std::string& name,
                                              std::vector<SkippedSample>& skipped) {
  CAnalyzedData sample;
  try {
    if (whole) sample.LoadFileAllocating(path);
    else sample.LoadFile(path, true);
  } catch (const std::exception& e) {
    skipped.push_back({name, e.what()});
    return std::nullopt;
  }
  return sample;
}

bool IsPlainSampleName(const std::string& name) {
  // Separators and ".." are how a path leaves a folder.
  return platform::IsPlainFileName(name) && name.find("..") == std::string::npos;
}

bool IsExportableName(const std::string& name, std::vector<SkippedSample>& skipped) {
  if (IsPlainSampleName(name)) return true;
  skipped.push_back({name, kNotPlainName});
  return false;
}

bool TextExport::Open(const std::string& path) {
  path_ = path;
  CFileException error;
  if (!file_.Open(path, CFile::modeCreate | CFile::modeWrite, &error)) {
    failure_ = error.what();
    if (tell_) AfxMessageBox("The output file cannot be created.\n" + failure_, MB_ICONEXCLAMATION);
    failed_ = true;
    return false;
  }
  opened_ = true;
  return true;
}

TextExport& TextExport::Text(std::string_view text) {
  pending_.append(text);
  if (pending_.size() >= kFlushBytes) Flush();
  return *this;
}

TextExport& TextExport::Int(std::int64_t value) {
  AppendInt(pending_, value);
  return *this;
}

TextExport& TextExport::Fixed(double value) {
  AppendFixed(pending_, value);
  return *this;
}

void TextExport::Skip(const std::string& name, const std::string& why) { skipped_.push_back({name, why}); }

void TextExport::Flush() {
  if (!failed_ && file_.IsOpen() && !pending_.empty()) {
    try {
      file_.Write(pending_.data(), static_cast<UINT>(pending_.size()));
    } catch (const CFileException& e) {
      failed_ = true;
      failure_ = e.what();
    }
  }
  pending_.clear();
}

bool TextExport::Finish() {
  Flush();
  if (!failed_) {
    try {
      file_.Commit();
    } catch (const CFileException& e) {
      failed_ = true;
      failure_ = e.what();
    }
  }
  const bool written = !failed_;
  if (!written) {
    file_.Abort();
    // A failed Open has told already.
    if (tell_ && opened_) AfxMessageBox("The output file " + path_ + " was not written.\n" + failure_, MB_ICONEXCLAMATION);
  }
  TellSkipped(skipped_);
  return written;
}

void TextExport::Abandon() {
  pending_.clear();
  if (file_.IsOpen()) file_.Abort();
}

std::string TextExport::SkippedMessage(const std::vector<SkippedSample>& skipped) {
  std::string text = "These samples were left out:";
  for (const SkippedSample& s : skipped) text += "\n" + s.Name + ": " + s.Why;
  return text;
}

void TextExport::TellSkipped(const std::vector<SkippedSample>& skipped) {
  if (!skipped.empty()) AfxMessageBox(SkippedMessage(skipped), MB_ICONEXCLAMATION);
}

}  // namespace qova::document::exports
