#pragma once
// What the tab-separated text exports of analysed samples share: which
// samples of a check list they work on, where a sample's files lie, the save
// dialog, and a writer that formats numbers as printf's "%d" and "%f" do,
// ends lines with LF and replaces its file only when the whole export is
// written, so that a failed export never leaves a file that looks complete.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/AnalyzedData.h"
#include "platform/File.h"

class CCheckListBox;
class CProgramSetting;
class CWnd;

namespace qova::document::exports {

// The files of one sample an export looks at.
enum class SampleFileRole {
  SelfResult,     // <result folder><name>.CFS
  NonSelfResult,  // <result folder><name>.CFA, or .CFN with the allele switch off
  ArrayData,      // <array-data folder><name>.CFH
};

// The folder setting, the name and the role's extension, with no separator
// put between them (the folder settings end in one).
[[nodiscard]] std::string SampleFilePath(const CProgramSetting& setting, const std::string& name, SampleFileRole role);

// The texts of the checked items of `list`, in list order. With none checked
// the user is told "Select more than one sample" and the result is empty.
[[nodiscard]] std::vector<std::string> CheckedSamples(const CCheckListBox& list);

// Asks for the text file to write (save dialog, "txt", overwrite prompt,
// opening in the Output folder); nothing when the user cancels.
[[nodiscard]] std::optional<std::string> AskTextOutputPath(CWnd* parent = nullptr);

// printf's "%d" and "%f" (six decimals), appended.
void AppendInt(std::string& out, std::int64_t value);
void AppendFixed(std::string& out, double value);

// A sample an export left out, and why.
struct SkippedSample {
  std::string Name;
  std::string Why;
};

// Reads a result file for an export: the header alone, or whole into arrays
// made for it. Nothing when it cannot be read, after noting `name` and the
// reader's reason in `skipped`.
[[nodiscard]] std::optional<CAnalyzedData> ReadExportSample(const std::string& path, bool whole,
                                                            const std::string& name,
                                                            std::vector<SkippedSample>& skipped);

// Whether a sample name may be joined to a folder: not one that could lead
// out of it (a separator, ".."). IsExportableName notes a refused name in
// `skipped` with the reason kNotPlainName.
[[nodiscard]] bool IsPlainSampleName(const std::string& name);
[[nodiscard]] bool IsExportableName(const std::string& name, std::vector<SkippedSample>& skipped);
inline constexpr const char* kNotPlainName = "the name is not a plain file name";

// One export file. Lines gather in memory and go out in large writes to a
// temporary file beside the target; Finish makes it the target.
class TextExport {
 public:
  // Whether Open and Finish tell the user about a failure themselves, or
  // leave it to the caller through Failure() (exports of many files gather
  // their failures into one message).
  enum class Failures { Tell, Keep };
  explicit TextExport(Failures failures = Failures::Tell) : tell_(failures == Failures::Tell) {}

  // Creates the temporary for `path`. False after telling the user, in the
  // file layer's words, that the file cannot be created.
  [[nodiscard]] bool Open(const std::string& path);

  TextExport& Text(std::string_view text);
  TextExport& Tab() { return Text("\t"); }
  TextExport& Int(std::int64_t value);
  TextExport& Fixed(double value);
  TextExport& EndLine() { return Text("\n"); }

  // Notes a sample left out; Finish names them all in one message.
  void Skip(const std::string& name, const std::string& why);
  [[nodiscard]] const std::vector<SkippedSample>& Skipped() const { return skipped_; }
  [[nodiscard]] std::vector<SkippedSample>& Skipped() { return skipped_; }

  // Writes what is left and replaces the target. False after telling the
  // user why (the target is then as it was). Tells the skipped samples
  // either way.
  [[nodiscard]] bool Finish();
  // Drops the export; the target stays as it was.
  void Abandon();
  // Why Open or Finish failed, in the file layer's words.
  [[nodiscard]] const std::string& Failure() const { return failure_; }

  // The message that names `skipped`, and its showing (nothing when empty).
  [[nodiscard]] static std::string SkippedMessage(const std::vector<SkippedSample>& skipped);
  static void TellSkipped(const std::vector<SkippedSample>& skipped);

 private:
  void Flush();

  platform::CAtomicFile file_;
  std::string path_;
  std::string pending_;
  std::vector<SkippedSample> skipped_;
  bool tell_ = true;
  bool opened_ = false;
  bool failed_ = false;
  std::string failure_;
};

}  // namespace qova::document::exports
