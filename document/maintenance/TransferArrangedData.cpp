// The old temporary-data transfer: header information kept in an older text
// form ("*.temp" files of a fixed folder) carried over into existing samples
// of the Mapping50K family, their non-self base range translated from the old
// SNP order to the current one through two fixed order tables.
#include <cstdlib>
#include <exception>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/QOVADoc.h"
#include "platform/ErrorLog.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace {

constexpr const char* kOrderTableH = "c:\\QOVA\\data\\arrange_data_H.txt";
constexpr const char* kOrderTableX = "c:\\QOVA\\data\\arrange_data_X.txt";
constexpr const char* kTemporaryFolder = "C:\\QOVA\\temporary files\\";
constexpr const char* kNotTransferredLog = "C:\\QOVA\\Not_tranfered_files.txt";
// Rows of the two order tables, the Hind part first.
constexpr std::size_t kHindRows = 57244;
constexpr std::size_t kXbaRows = 59721;
// Per-SNP lines of the two parts in a .temp file.
constexpr int kXbaPartLines = 58960;
constexpr int kHindPartLines = 57244;
constexpr int kUnusedNumberLines = 200;
// The old files were read in pieces of at most this many characters.
constexpr std::size_t kPieceLength = 31;
constexpr const char* kFamilyType = "Mapping50K_Hind+Xba";

// The lines of a file as the old reader met them: pieces of at most 31
// characters, a piece ending after its line end.
std::vector<std::string> Pieces(const std::string& bytes) {
  std::vector<std::string> pieces;
  std::string piece;
  for (const char c : bytes) {
    if (c == '\n') {
      if (!piece.empty() && piece.back() == '\r') piece.pop_back();
      pieces.push_back(piece);
      piece.clear();
      continue;
    }
    piece += c;
    if (piece.size() == kPieceLength) {
      pieces.push_back(piece);
      piece.clear();
    }
  }
  if (!piece.empty()) pieces.push_back(piece);
  return pieces;
}

int LeadingInt(const std::string& text) { return static_cast<int>(std::strtol(text.c_str(), nullptr, 10)); }

// Fills `table` from an order-table file at `offset`; false when the file
// cannot be read or holds more rows than its room.
bool ReadOrderTable(const char* path, std::size_t offset, std::size_t room, std::vector<std::int32_t>& table) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) return false;
  const std::vector<std::string> rows = Pieces(bytes);
  if (rows.size() > room) return false;
  for (std::size_t i = 0; i < rows.size(); ++i) table[offset + i] = LeadingInt(rows[i]);
  return true;
}

// What one .temp file carries over.
struct TemporaryData {
  int Part = 0;  // 1 Xba, 2 Hind
  int OldFirst = 0, OldLast = 0, CopyNumber = 0;
  std::array<float, 7> Means{};
  bool HasAttributes = false;
  int Kind = 0;
  std::string Attributes[3];
};

// Reads a .temp file; false (with `why`) when its part is neither 1 nor 2 or
// it ends before its means.
bool ReadTemporary(const std::string& bytes, TemporaryData& data, std::string& why) {
  const std::vector<std::string> lines = Pieces(bytes);
  std::size_t at = 0;
  const auto next = [&]() -> const std::string* { return at < lines.size() ? &lines[at++] : nullptr; };
  const std::string* line = next();
  data.Part = line != nullptr ? LeadingInt(*line) : 0;
  if (data.Part != 1 && data.Part != 2) {
    why = platform::Format("its array part is %d, not 1 or 2", data.Part);
    return false;
  }
  at += 2 + static_cast<std::size_t>(data.Part == 1 ? kXbaPartLines : kHindPartLines);
  line = next();
  if (line == nullptr || std::sscanf(line->c_str(), "%d %d %d", &data.OldFirst, &data.OldLast, &data.CopyNumber) != 3) {
    why = "it ends before its base range";
    return false;
  }
  for (float& mean : data.Means) {
    line = next();
    if (line == nullptr) {
      why = "it ends before its HMM means";
      return false;
    }
    mean = static_cast<float>(std::strtod(line->c_str(), nullptr));
  }
  at += kUnusedNumberLines + 1;
  line = next();
  if (line == nullptr || line->rfind("AttributesInformation", 0) != 0) return true;
  data.HasAttributes = true;
  line = next();
  data.Kind = line != nullptr ? LeadingInt(*line) : 0;
  for (std::string& attribute : data.Attributes) {
    line = next();
    if (line != nullptr) attribute = *line;
  }
  return true;
}

// The current index of the SNP that had index `old` in the old order: the
// last row whose annotation row is the table's entry, or -1.
std::int32_t Translate(const std::vector<std::int32_t>& table, const CBasicData& basic, std::int32_t rows, int old) {
  if (old < 0 || static_cast<std::size_t>(old) >= table.size()) return -1;
  const std::int32_t wanted = table[static_cast<std::size_t>(old)];
  for (std::int32_t i = std::min<std::int32_t>(rows, static_cast<std::int32_t>(basic.IndexMap.size())) - 1; i >= 0; --i) {
    if (basic.IndexMap[static_cast<std::size_t>(i)] == wanted) return i;
  }
  return -1;
}

void Apply(const TemporaryData& data, std::int32_t first, std::int32_t last, SampleHeader& header) {
  std::copy(data.Means.begin(), data.Means.end(), header.HmmMeans.begin());
  if (data.HasAttributes) {
    header.Attribute1 = data.Attributes[0];
    header.Attribute2 = data.Attributes[1];
    header.Attribute3 = data.Attributes[2];
  } else {
    header.Attribute1.clear();
    header.Attribute2.clear();
    header.Attribute3.clear();
  }
  if (data.Kind == 1) header.Attribute4 = "Primary";
  if (data.Kind == 2) header.Attribute4 = "Cell line";
  if (first >= 0 && last >= 0) {
    header.NonSelfBaseRange[kBaseFirstSnp] = first;
    header.NonSelfBaseRange[kBaseLastSnp] = last;
    header.NonSelfBaseRange[kBaseCopyNumber] = data.CopyNumber;
  }
}

}  // namespace

void CQOVADoc::OnTransferArrangedData() {
  std::vector<std::int32_t> table(kHindRows + kXbaRows, -1);
  if (!ReadOrderTable(kOrderTableH, 0, kHindRows, table) || !ReadOrderTable(kOrderTableX, kHindRows, kXbaRows, table) ||
      !platform::WriteWholeFile(kNotTransferredLog, "")) {
    AfxMessageBox("arrange data cannot be loaded");
    return;
  }
  const std::vector<std::string> files = platform::FindFiles(kTemporaryFolder, "*.temp");
  if (files.empty()) {
    AfxMessageBox("error");
    return;
  }
  const qova::core::ArrayTypeInfo& family = *qova::core::FindArrayType(kFamilyType);
  CArrayData familySample;
  familySample.Header.ArrayType = kFamilyType;
  const CBasicData* basic = AnnotationFor(familySample);
  if (basic == nullptr) return;
  const bool alleles = global_.ProgramSetting->NONSELFALLELE != 0;
  std::string notTransferred;
  std::vector<std::string> failures;
  for (const std::string& file : files) {
    std::string bytes;
    if (!platform::ReadWholeFile(platform::JoinPath(kTemporaryFolder, file), bytes)) {
      AfxMessageBox("temporary data cannot be loaded");
      break;
    }
    // Every file starts afresh: one without an attribute section takes none
    // of the file before it.
    TemporaryData data;
    std::string why;
    if (!ReadTemporary(bytes, data, why)) {
      platform::AppendErrorLog(platform::Format("%s is not transferred: %s", file.c_str(), why.c_str()));
      continue;
    }
    std::string upper = platform::ToUpper(file);
    const std::string cfh = upper.substr(0, upper.size() - 5) + ".CFH";
    const std::string result = upper.substr(0, upper.size() - 5) + (alleles ? ".CFA" : ".CFN");
    const std::string resultPath = platform::JoinPath(AnalysisResultFolder, result);
    if (!platform::FileExists(resultPath)) {
      notTransferred += result + "\n";
      continue;
    }
    // The base range: each end with one retry, the first one up and the last
    // one down. An end that cannot be translated leaves the range alone.
    std::int32_t first = Translate(table, *basic, family.snpCount, data.OldFirst);
    if (first < 0) first = Translate(table, *basic, family.snpCount, data.OldFirst + 1);
    std::int32_t last = Translate(table, *basic, family.snpCount, data.OldLast);
    if (last < 0) last = Translate(table, *basic, family.snpCount, data.OldLast - 1);
    if (first < 0 || last < 0) {
      platform::AppendErrorLog(platform::Format("%s: the base range %d-%d has no place in the current order; it is "
                                                "left as it was", file.c_str(), data.OldFirst, data.OldLast));
    }
    // Scratch samples: the document's own change only through the stores'
    // refresh of the documents that show them.
    try {
      CAnalyzedData analysed;
      analysed.LoadFileAllocating(resultPath);
      CArrayData sample;
      const std::string cfhPath = platform::JoinPath(ArrayDataFolder, cfh);
      sample.LoadFile(cfhPath);
      Apply(data, first, last, analysed.Header);
      Apply(data, first, last, sample.Header);
      analysed.StoreFile(resultPath);
      sample.StoreFile(cfhPath);
    } catch (const std::exception& error) {
      failures.push_back(file + ": " + error.what());
    }
  }
  if (std::string why; !platform::WriteWholeFile(kNotTransferredLog, notTransferred, why)) {
    failures.push_back(platform::Format("%s cannot be written: %s", platform::NativePath(kNotTransferredLog).c_str(),
                                        why.c_str()));
  }
  if (failures.empty()) return;
  std::string text = "These temporary files could not be transferred:";
  for (const std::string& line : failures) text += "\n" + line;
  AfxMessageBox(text);
}
