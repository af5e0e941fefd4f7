#include "document/exports/RawDataFiles.h"

#include <array>
#include <cstring>
#include <memory>
#include <optional>

#include "core/AnalyzedData.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace core = qova::core;

namespace qova::document::exports {
namespace {

// Whole results held at once while the side-by-side file is built.
constexpr std::size_t kBlockSamples = 20;
// The two header lines of every block file.
constexpr std::int64_t kHeaderLines = 2;

constexpr const char* kCannotCreate = "arrange data cannot be loaded";

const char* Suffix(bool self) { return self ? "Self.txt" : "NonSelf.txt"; }

SampleFileRole ResultRole(bool self) { return self ? SampleFileRole::SelfResult : SampleFileRole::NonSelfResult; }

// Reads a text file line by line in large pieces; lines have no length limit.
class LineReader {
 public:
  [[nodiscard]] bool Open(const std::string& path, std::string& why) {
    CFileException error;
    if (!file_.Open(path, CFile::modeRead, &error)) {
      why = error.what();
      return false;
    }
    buffer_.resize(kPiece);
    return true;
  }

  // Appends the next line, without its LF or CR LF, to `out`; false at the
  // end of the file. Throws CFileException when reading fails.
  bool AppendLine(std::string& out) {
    const std::size_t start = out.size();
    bool any = false;
    for (;;) {
      if (pos_ == size_) {
        size_ = file_.Read(buffer_.data(), static_cast<UINT>(buffer_.size()));
        pos_ = 0;
        if (size_ == 0) return any;
      }
      any = true;
      const char* from = buffer_.data() + pos_;
      const auto* end = static_cast<const char*>(std::memchr(from, '\n', size_ - pos_));
      if (end == nullptr) {
        out.append(from, size_ - pos_);
        pos_ = size_;
        continue;
      }
      out.append(from, static_cast<std::size_t>(end - from));
      pos_ += static_cast<std::size_t>(end - from) + 1;
      if (out.size() > start && out.back() == '\r') out.pop_back();
      return true;
    }
  }

 private:
  static constexpr std::size_t kPiece = std::size_t(1) << 18;
  CFile file_;
  std::string buffer_;
  std::size_t pos_ = 0;
  std::size_t size_ = 0;
};

// A result read whole and checked for the chosen columns. It stays where it
// was made: Source points into Sample.
struct LoadedResult {
  CAnalyzedData Sample;
  RawDataSource Source;
};
using LoadedResultPtr = std::unique_ptr<LoadedResult>;

LoadedResultPtr LoadResult(const std::string& name, const RawExportRequest& request, const CGlobalData& global,
                           std::vector<SkippedSample>& skipped) {
  const std::string path = SampleFilePath(*global.ProgramSetting, name, ResultRole(request.Self));
  std::optional<CAnalyzedData> sample = ReadExportSample(path, true, name, skipped);
  if (!sample) return nullptr;
  auto result = std::make_unique<LoadedResult>();
  result->Sample = std::move(*sample);
  const std::string problem = PrepareRawData(result->Sample, global, request.Columns, result->Source);
  if (!problem.empty()) {
    skipped.push_back({name, problem});
    return nullptr;
  }
  return result;
}

// One block file of the side-by-side export; false after noting why in `why`.
bool WriteBlock(const std::string& path, bool first, const std::vector<LoadedResultPtr>& slots,
                const RawColumnSet& columns, std::string& why) {
  TextExport out(TextExport::Failures::Keep);
  if (!out.Open(path)) {
    why = out.Failure();
    return false;
  }
  if (first) {
    for (int c = 0; c < kRawAnnotationColumns; ++c)
      if (columns[static_cast<std::size_t>(c)]) out.Tab();
  }
  for (const LoadedResultPtr& slot : slots) {
    // The name stands above the first data column of its sample.
    out.Text(slot->Sample.Header.SampleName);
    for (int c = kRawAnnotationColumns; c < kRawColumnCount; ++c)
      if (columns[static_cast<std::size_t>(c)]) out.Tab();
  }
  out.EndLine();
  if (first) WriteRawHeader(out, columns, 0, kRawAnnotationColumns, RawCellEnd::TabAfterEach);
  for (std::size_t k = 0; k < slots.size(); ++k)
    WriteRawHeader(out, columns, kRawAnnotationColumns, kRawColumnCount, RawCellEnd::TabAfterEach);
  out.EndLine();
  const RawDataSource& lead = slots.front()->Source;
  for (std::int32_t i = lead.First; i <= lead.LastX; ++i) {
    if (first) WriteRawCells(out, lead, columns, 0, kRawAnnotationColumns, i, RawCellEnd::TabAfterEach);
    for (const LoadedResultPtr& slot : slots)
      WriteRawCells(out, slot->Source, columns, kRawAnnotationColumns, kRawColumnCount, i, RawCellEnd::TabAfterEach);
    out.EndLine();
  }
  if (!out.Finish()) {
    why = out.Failure();
    return false;
  }
  return true;
}

void RemoveFiles(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) static_cast<void>(platform::RemoveFile(path));
}

// The side-by-side file of the samples `names`, all of array type `type`.
void WriteTypeFile(int type, const std::vector<std::string>& names, const RawExportRequest& request,
                   const CGlobalData& global, std::vector<SkippedSample>& skipped) {
  const std::string typeName = core::kArrayTypes[static_cast<std::size_t>(type)].name;
  const std::string stem = global.ProgramSetting->DefaultOutputFolder + typeName;
  std::vector<std::string> blocks;
  std::vector<LoadedResultPtr> slots;
  slots.reserve(kBlockSamples);
  std::int64_t lines = 0;
  const auto writeBlock = [&] {
    const std::string path = stem + platform::Format("%03d", static_cast<int>(blocks.size())) + Suffix(request.Self);
    lines = slots.front()->Source.Rows() + kHeaderLines;
    std::string why;
    const bool written = WriteBlock(path, blocks.empty(), slots, request.Columns, why);
    slots.clear();
    if (written) {
      blocks.push_back(path);
      return true;
    }
    RemoveFiles(blocks);
    skipped.push_back({typeName, std::string(kCannotCreate) + " (" + path + ": " + why + "); the file of the type was not made"});
    return false;
  };

  for (const std::string& name : names) {
    LoadedResultPtr result = LoadResult(name, request, global, skipped);
    if (!result) continue;
    slots.push_back(std::move(result));
    if (slots.size() == kBlockSamples && !writeBlock()) return;
  }
  if (!slots.empty() && !writeBlock()) return;
  const std::string problem = MergeBlockFiles(blocks, lines);
  if (!problem.empty()) skipped.push_back({typeName, "the blocks were not merged (" + problem + "); they stay as they are"});
}

}  // namespace

void WriteRawDataPerSample(const RawExportRequest& request, const CGlobalData& global,
                           std::vector<SkippedSample>& skipped) {
  for (const std::string& name : request.Names) {
    if (!IsExportableName(name, skipped)) continue;
    const LoadedResultPtr result = LoadResult(name, request, global, skipped);
    if (!result) continue;
    const std::string path = global.ProgramSetting->DefaultOutputFolder + name + Suffix(request.Self);
    TextExport out(TextExport::Failures::Keep);
    if (!out.Open(path)) {
      skipped.push_back({name, std::string(kCannotCreate) + " (" + out.Failure() + ")"});
      continue;
    }
    WriteRawFile(out, result->Source, request.Columns, RawCellEnd::TabAfterEach);
    if (!out.Finish()) skipped.push_back({name, std::string(kCannotCreate) + " (" + out.Failure() + ")"});
  }
}

void WriteRawDataCombined(const RawExportRequest& request, const CGlobalData& global,
                          std::vector<SkippedSample>& skipped) {
  // Sorted by type from the headers alone; a list for every type.
  std::array<std::vector<std::string>, core::kArrayTypeCount> byType;
  for (const std::string& name : request.Names) {
    if (!IsExportableName(name, skipped)) continue;
    const std::string path = SampleFilePath(*global.ProgramSetting, name, ResultRole(request.Self));
    const std::optional<CAnalyzedData> header = ReadExportSample(path, false, name, skipped);
    if (!header) continue;
    const core::ArrayTypeInfo* type = core::FindArrayType(header->Header.ArrayType);
    if (type == nullptr) {
      skipped.push_back({name, core::UnknownArrayType(header->Header.ArrayType)});
      continue;
    }
    byType[static_cast<std::size_t>(type->type)].push_back(name);
  }
  for (int type = 0; type < core::kArrayTypeCount; ++type) {
    const auto& names = byType[static_cast<std::size_t>(type)];
    if (!names.empty()) WriteTypeFile(type, names, request, global, skipped);
  }
}

std::string MergeBlockFiles(const std::vector<std::string>& blocks, std::int64_t lines) {
  if (blocks.size() < 2) return {};
  std::vector<LineReader> readers(blocks.size());
  for (std::size_t k = 0; k < blocks.size(); ++k) {
    std::string why;
    if (!readers[k].Open(blocks[k], why)) return why;
  }
  TextExport out(TextExport::Failures::Keep);
  if (!out.Open(blocks.front())) return out.Failure();
  std::string line;
  try {
    for (std::int64_t n = 0; n < lines; ++n) {
      line.clear();
      for (std::size_t k = 0; k < blocks.size(); ++k) {
        if (!readers[k].AppendLine(line)) {
          out.Abandon();
          return platform::Format("%s ends after %lld lines, not %lld", blocks[k].c_str(), static_cast<long long>(n),
                                  static_cast<long long>(lines));
        }
      }
      out.Text(line).EndLine();
    }
    for (std::size_t k = 0; k < blocks.size(); ++k) {
      if (readers[k].AppendLine(line)) {
        out.Abandon();
        return platform::Format("%s holds more than %lld lines", blocks[k].c_str(), static_cast<long long>(lines));
      }
    }
  } catch (const CFileException& e) {
    out.Abandon();
    return e.what();
  }
  readers.clear();
  if (!out.Finish()) return out.Failure();
  RemoveFiles({blocks.begin() + 1, blocks.end()});
  return {};
}

}  // namespace qova::document::exports
