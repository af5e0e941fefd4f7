#include "document/regression/RegressionWorkFiles.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "document/QOVADoc.h"
#include "document/UnreadableFiles.h"
#include "platform/ErrorLog.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/CommonDialogs.h"

namespace qova::document::regression {

std::string WorkPath(const std::string& fileName) { return kWorkFolder + fileName; }

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start <= line.size()) {
    const std::size_t tab = line.find('\t', start);
    const std::size_t end = tab == std::string::npos ? line.size() : tab;
    if (end > start) fields.push_back(line.substr(start, end - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return fields;
}

int LeadingInt(const std::string& text) {
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
float LeadingReal(const std::string& text) { return static_cast<float>(std::strtod(text.c_str(), nullptr)); }

int IntField(const std::vector<std::string>& fields, std::size_t k) { return k < fields.size() ? LeadingInt(fields[k]) : 0; }
float RealField(const std::vector<std::string>& fields, std::size_t k) {
  return k < fields.size() ? LeadingReal(fields[k]) : 0.0f;
}

std::string Format(const ImfLine& line) {
  std::string text = platform::Format("%d", line.Call);
  for (float v : line.A) text += platform::Format("\t%f", v);
  for (float v : line.B) text += platform::Format("\t%f", v);
  return text + "\n";
}

std::string FormatCorrelations(const std::array<float, 2 * kProbesPerAllele>& r) {
  std::string text;
  for (float v : r) text += platform::Format("%f\t", v);
  return text + "\n";
}

std::string Format(const SnpInfoLine& line) {
  return line.FlagsA + "\t" + line.FlagsB + platform::Format("\t%d\t%d\t%d\n", line.GcA, line.GcB, line.Covariate);
}

std::string Format(const ValueLine& line) {
  return platform::Format("%d\t%d\t%f\t%f\n", line.Call, line.Valid, line.A, line.B);
}

std::string Format(const NormalAverageLine& line) {
  std::string text = platform::Format("%d", line.Flag);
  for (const auto& pair : line.Means) text += pair ? platform::Format("\t%f\t%f", (*pair)[0], (*pair)[1]) : "\t0\t0";
  return text + "\n";
}

std::string Format(const CalibrationLine& line) {
  if (line.Flag == 0) return "0\t0\t0\t0\t0\t0\t0\t0\t0\n";
  return platform::Format("%d\t%f\t%f\t%f\t%f\t%f\t%f\t%f\t%f\n", line.Flag, line.A[0], line.A[1], line.A[2],
                          line.A[3], line.B[0], line.B[1], line.B[2], line.B[3]);
}

ImfLine ParseImf(const std::string& text) {
  const std::vector<std::string> f = Fields(text);
  ImfLine line;
  line.Call = IntField(f, 0);
  for (std::size_t j = 0; j < kProbesPerAllele; ++j) {
    line.A[j] = RealField(f, 1 + j);
    line.B[j] = RealField(f, 1 + kProbesPerAllele + j);
  }
  return line;
}

std::array<float, 2 * kProbesPerAllele> ParseCorrelations(const std::string& text) {
  const std::vector<std::string> f = Fields(text);
  std::array<float, 2 * kProbesPerAllele> r{};
  for (std::size_t j = 0; j < r.size(); ++j) r[j] = RealField(f, j);
  return r;
}

SnpInfoLine ParseSnpInfo(const std::string& text) {
  const std::vector<std::string> f = Fields(text);
  SnpInfoLine line;
  line.FlagsA = f.size() > 0 ? f[0] : std::string();
  line.FlagsB = f.size() > 1 ? f[1] : std::string();
  line.GcA = IntField(f, 2);
  line.GcB = IntField(f, 3);
  line.Covariate = IntField(f, 4);
  return line;
}

ValueLine ParseValues(const std::string& text) {
  const std::vector<std::string> f = Fields(text);
  return {IntField(f, 0), IntField(f, 1), RealField(f, 2), RealField(f, 3)};
}

std::array<float, 2> ReferenceOf(const std::string& text, int call) {
  const std::vector<std::string> f = Fields(text);
  const std::size_t skip = call >= 1 && call <= 3 ? static_cast<std::size_t>(2 * call - 2) : 6;
  return {RealField(f, 1 + skip), RealField(f, 2 + skip)};
}

CalibrationLine ParseCalibration(const std::string& text) {
  const std::vector<std::string> f = Fields(text);
  CalibrationLine line;
  line.Flag = IntField(f, 0);
  for (std::size_t k = 0; k < 4; ++k) {
    line.A[k] = RealField(f, 1 + k);
    line.B[k] = RealField(f, 5 + k);
  }
  return line;
}

std::optional<std::vector<std::string>> ReadWorkLines(const std::string& path, std::string& why) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) {
    why = "it cannot be read";
    return std::nullopt;
  }
  std::vector<std::string> lines = platform::SplitLines(bytes);
  if (lines.empty()) {
    why = "it has no lines";
    return std::nullopt;
  }
  if (lines.size() > kMaxSnps) {
    why = platform::Format("it has %zu lines, more than the %zu SNPs the pipeline holds", lines.size(), kMaxSnps);
    return std::nullopt;
  }
  return lines;
}

bool WriteWorkFile(const std::string& path, const std::string& text, std::string& failure) {
  std::string why;
  if (!platform::CreateFolders(kWorkFolder)) {
    why = platform::FolderNotCreatedReason(kWorkFolder);
  } else if (platform::WriteWholeFile(path, text, why)) {
    return true;
  }
  failure = "work file " + platform::NativePath(path) + " cannot be written: " + why;
  return false;
}

std::string CovariateRefusal(int covariate, const std::string& file, std::size_t line, int field) {
  if (covariate >= -kCovariateLimit && covariate <= kCovariateLimit) return {};
  return platform::Format("%s line %zu: the covariate (field %d) %d lies outside %d to %d", file.c_str(), line, field,
                          covariate, -kCovariateLimit, kCovariateLimit);
}

void ForEachListedSample(CQOVADoc& doc, const std::string& kept,
                         const std::function<bool(const std::string& name)>& work,
                         const std::function<std::string()>& finish) {
  CFileDialog open(TRUE, "txt", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                   "text file(*.txt)|*.txt|All files(*.*)|*.*||");
  if (open.DoModal() != IDOK) return;
  std::string bytes;
  if (!platform::ReadWholeFile(open.GetPathName(), bytes)) {
    doc.Notify(platform::Format("The sample list %s cannot be read", platform::NativePath(open.GetPathName()).c_str()));
    return;
  }
  const qova::document::UnreadableFiles leftOut;
  const std::vector<std::string> names = platform::SplitLines(bytes);
  std::size_t used = 0;
  for (const std::string& name : names) used += work(name) ? 1 : 0;
  std::string refusal;
  if (names.empty()) {
    refusal = platform::Format("The sample list %s names no sample.", platform::NativePath(open.GetPathName()).c_str());
  } else if (used > 0) {
    if (finish) refusal = finish();
    if (refusal.empty()) return;
  }
  // The files left out lead the message, so that it is the command's only one.
  std::string text = qova::document::UnreadableFiles::TakeUntold().value_or("");
  if (!text.empty()) text += "\n";
  if (!refusal.empty()) text += refusal + " ";
  AfxMessageBox(text + NothingWritten(kept), MB_ICONEXCLAMATION);
}

std::string NothingWritten(const std::string& kept) {
  if (kept.empty() || !platform::FileExists(kept)) return "Nothing was written.";
  return "Nothing was written; " + platform::NativePath(kept) + " is kept as it was.";
}

int WindowGcCount(const std::string& sequence, int bracket, int offset, bool alleleA) {
  int gc = 0;
  for (int d = 0; d < 25; ++d) {
    // In 64 bits: the offset comes from the library file and may be any int.
    long long p = static_cast<long long>(bracket) + 5 - offset + d;
    if (p == bracket) {
      p += alleleA ? 1 : 3;
    } else if (p > bracket) {
      p += 4;
    }
    if (p < 0 || p >= static_cast<long long>(sequence.size())) continue;
    const char c = sequence[static_cast<std::size_t>(p)];
    gc += c == 'G' || c == 'C' || c == 'g' || c == 'c' ? 1 : 0;
  }
  return gc;
}

void LeaveOut(const std::string& step, const std::string& what, const std::string& file, const std::string& why) {
  platform::AppendErrorLog(platform::Format("%s: %s is left out: %s", step.c_str(), what.c_str(), why.c_str()));
  qova::document::UnreadableFiles::Note(file, why);
}

}  // namespace qova::document::regression
