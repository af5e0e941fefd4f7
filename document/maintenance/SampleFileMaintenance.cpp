// Sample-file maintenance in bulk: copying the files of listed samples,
// changing attributes and sex as a list says, and rewriting the files whose
// creation time is stored in the 64-bit form.
#include <exception>
#include <map>
#include <optional>
#include <string_view>

#include "core/AnalyzedData.h"
#include "core/ArchiveFile.h"
#include "core/ArrayData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/maintenance/CopyListedFiles.h"
#include "document/QOVADoc.h"
#include "platform/Archive.h"
#include "platform/ErrorLog.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/CommonDialogs.h"

namespace {

// The fields of a line split at every tab, empty ones kept.
std::vector<std::string> TabFields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

// The sample name of a list line: its first field, leading tabs skipped.
std::string FirstToken(const std::string& line) {
  const std::size_t start = line.find_first_not_of('\t');
  if (start == std::string::npos) return {};
  return line.substr(start, line.find('\t', start) - start);
}

// Reads the list file's lines, or tells why not.
bool ReadListFile(CQOVADoc& doc, const std::string& path, std::vector<std::string>& lines) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) {
    doc.Notify(platform::Format("The list file %s cannot be read", path.c_str()));
    return false;
  }
  lines = platform::SplitLines(bytes);
  return true;
}

// A heading and its lines, or nothing when there is no line.
std::string Listing(std::string_view heading, const std::vector<std::string>& lines) {
  if (lines.empty()) return {};
  std::string text(heading);
  for (const std::string& line : lines) text += "\n" + line;
  return text;
}

// One box for everything a command left out, its listings apart.
void TellLeftOut(CQOVADoc& doc, const std::vector<std::string>& listings) {
  std::string text;
  for (const std::string& listing : listings) {
    if (listing.empty()) continue;
    text += (text.empty() ? "" : "\n\n") + listing;
  }
  if (!text.empty()) doc.Notify(text);
}

std::string UnreadableListing(const std::vector<std::string>& unread) {
  return Listing("These sample files could not be read or written and were left as they were:", unread);
}

}  // namespace

BOOL CQOVADoc::CopyFileContents(const std::string& source, const std::string& destination, std::string& why) {
  if (platform::FileExists(destination)) {
    why = "it exists at the destination";
    return FALSE;
  }
  std::string bytes;
  if (!platform::FileExists(source) || !platform::ReadWholeFile(source, bytes)) {
    why = "it cannot be read";
    return FALSE;
  }
  // Written under a temporary name and renamed when complete, so a copy that
  // fails part-way leaves no file that would pass for a copy later.
  if (!platform::WriteWholeFile(destination, bytes)) {
    why = "the copy cannot be written";
    return FALSE;
  }
  return TRUE;
}

void CQOVADoc::OnCopyListedDataFiles() {
  CDialogCopyListedFiles dialog;
  dialog.ShowCfa = global_.ProgramSetting->NONSELFALLELE != 0 ? TRUE : FALSE;
  if (dialog.DoModal() != IDOK) return;
  std::vector<std::string> lines;
  if (!ReadListFile(*this, dialog.SampleListFile, lines)) return;
  const std::string& to = dialog.DestinationFolder;
  // Why the log could not be written, the first time it could not.
  std::optional<std::string> logFailure;
  const auto log = [&logFailure](const std::string& line) {
    std::string why;
    if (!platform::AppendErrorLog(line, &why) && !logFailure) logFailure = why;
  };
  // A list line or a stored reference that names a path would reach outside
  // the two folders.
  const auto plain = [&](const std::string& name) {
    if (platform::IsPlainFileName(name)) return true;
    log(platform::Format("Cannot copy %s: it is not a file name", name.c_str()));
    return false;
  };
  const auto copy = [&](const std::string& folder, const std::string& file) {
    if (!plain(file)) return;
    const std::string source = platform::JoinPath(folder, file);
    std::string why;
    if (CopyFileContents(source, platform::JoinPath(to, file), why)) return;
    log(platform::Format("Cannot copy %s: %s", source.c_str(), why.c_str()));
  };
  for (const std::string& line : lines) {
    const std::string name = FirstToken(line);
    if (name.empty() || !plain(name)) continue;
    const std::string cfh = name + ".CFH";
    if (dialog.CopyCfh) copy(ArrayDataFolder, cfh);
    if ((dialog.CopySelfReferences || dialog.CopyNonSelfReferences) &&
        platform::FileExists(platform::JoinPath(ArrayDataFolder, cfh))) {
      CArrayData sample;
      try {
        sample.LoadFile(platform::JoinPath(ArrayDataFolder, cfh), false);
        if (dialog.CopySelfReferences && sample.Header.IsPaired != 0) {
          copy(ArrayDataFolder, sample.Header.SelfReference + ".CFH");
        }
        if (dialog.CopyNonSelfReferences) {
          for (const std::string& reference : NonSelfReferenceNames(sample.Header)) {
            copy(ArrayDataFolder, reference + ".CFH");
          }
        }
      } catch (const std::exception& error) {
        log(platform::Format("Cannot read the references of %s: %s", cfh.c_str(), error.what()));
      }
    }
    if (dialog.CopyCfs) copy(AnalysisResultFolder, name + ".CFS");
    if (dialog.CopyCfn) copy(AnalysisResultFolder, name + ".CFN");
    if (dialog.CopyCfa) copy(AnalysisResultFolder, name + ".CFA");
  }
  if (logFailure) {
    Notify(platform::Format("The error log %s cannot be written: %s",
                            platform::NativePath(platform::kErrorLogPath).c_str(), logFailure->c_str()));
  }
}

namespace {

// The header fields a list of attributes can name, in the header's words.
struct ListedField {
  const char* column;
  std::string SampleHeader::*field;
};
const ListedField kListedFields[] = {
    {"Attribute1", &SampleHeader::Attribute1}, {"Attribute2", &SampleHeader::Attribute2},
    {"Attribute3", &SampleHeader::Attribute3}, {"Attribute4", &SampleHeader::Attribute4},
    {"Attribute5", &SampleHeader::Attribute5}, {"Sex", &SampleHeader::Sex},
};

// The listed sex when the list names one that the program does not use.
std::optional<std::string> UnusedSex(const std::map<const ListedField*, std::string>& listed) {
  for (const auto& [field, value] : listed) {
    if (field->field == &SampleHeader::Sex && !IsSexValue(value)) return value;
  }
  return std::nullopt;
}

// Takes the listed values; true when any differed.
bool TakeListed(SampleHeader& header, const std::map<const ListedField*, std::string>& listed) {
  bool changed = false;
  for (const auto& [field, value] : listed) {
    if (header.*(field->field) == value) continue;
    header.*(field->field) = value;
    changed = true;
  }
  return changed;
}

}  // namespace

void CQOVADoc::OnChangeAttributesAsListed() {
  CFileDialog open(TRUE, "txt", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                   "text file(*.txt)|*.txt|All files(*.*)|*.*||");
  if (open.DoModal() != IDOK) return;
  std::vector<std::string> lines;
  if (!ReadListFile(*this, open.GetPathName(), lines) || lines.empty()) return;

  int nameColumn = -1;
  std::map<int, const ListedField*> columns;
  const std::vector<std::string> header = TabFields(lines[0]);
  for (int c = 0; c < static_cast<int>(header.size()); ++c) {
    if (platform::EqualsNoCase(header[static_cast<std::size_t>(c)], "Sample_name")) nameColumn = c;
    for (const ListedField& field : kListedFields) {
      if (platform::EqualsNoCase(header[static_cast<std::size_t>(c)], field.column)) columns[c] = &field;
    }
  }
  if (nameColumn < 0) {
    AfxMessageBox("Sample_name field dose not exist");
    return;
  }
  std::vector<std::string> unread, refused;
  for (std::size_t l = 1; l < lines.size(); ++l) {
    const std::vector<std::string> fields = TabFields(lines[l]);
    const auto field = [&](int c) { return c < static_cast<int>(fields.size()) ? fields[static_cast<std::size_t>(c)] : std::string(); };
    const std::string name = field(nameColumn);
    if (name.empty()) continue;
    if (!platform::IsPlainFileName(name)) {
      unread.push_back(name + ": not the name of a sample file");
      continue;
    }
    std::map<const ListedField*, std::string> listed;
    for (const auto& [c, f] : columns) listed[f] = field(c);
    // A header's sex is "M", "F" or empty; a line giving another is left out
    // whole, so that no file of that sample takes half of it.
    if (const std::optional<std::string> sex = UnusedSex(listed)) {
      refused.push_back(platform::Format("line %zu: %s \"%s\"", l + 1, name.c_str(), sex->c_str()));
      continue;
    }

    const std::string cfh = platform::JoinPath(ArrayDataFolder, name + ".CFH");
    bool sampleChanged = false;
    // A mistyped name must not pass for a sample that took its values.
    bool found = platform::FileExists(cfh);
    if (found) {
      try {
        CArrayData sample;
        sample.LoadFile(cfh);
        sampleChanged = TakeListed(sample.Header, listed);
        if (sampleChanged) sample.StoreFile(cfh);
      } catch (const std::exception& error) {
        unread.push_back(name + ".CFH: " + error.what());
        continue;
      }
      // A sample that already holds the listed values leaves its results alone.
      if (!sampleChanged) continue;
    }
    // Each result file by the layout of its own extension.
    for (const char* extension : {".CFS", ".CFN", ".CFA"}) {
      const std::string path = platform::JoinPath(AnalysisResultFolder, name + extension);
      if (!platform::FileExists(path)) continue;
      found = true;
      try {
        CAnalyzedData result;
        result.LoadFileAllocating(path);
        if (TakeListed(result.Header, listed) || sampleChanged) result.StoreFile(path);
      } catch (const std::exception& error) {
        unread.push_back(name + extension + ": " + error.what());
      }
    }
    if (!found) unread.push_back(name + ": no sample file (.CFH) and no result file of this name");
  }
  TellLeftOut(*this, {Listing("These lines give a sex other than \"M\", \"F\" or empty, and their samples were left "
                              "as they were:",
                              refused),
                      UnreadableListing(unread)});
}

namespace {

// Whether the file's creation time is stored in the 64-bit form: the first
// word of the time after the version, name, array type, one integer and the
// six texts of attributes and sex.
bool HasLongCreateTime(const std::string& path) {
  std::uint32_t word = 0;
  qova::core::LoadArchiveFile(path, [&word](CArchive& ar) {
    std::string text;
    std::int32_t number = 0;
    for (int k = 0; k < 3; ++k) ar >> text;
    ar >> number;
    for (int k = 0; k < 6; ++k) ar >> text;
    ar >> word;
  });
  return word == CArchive::kTime64Marker;
}

}  // namespace

void CQOVADoc::OnConvertAllFiles() {
  const bool alleles = global_.ProgramSetting->NONSELFALLELE != 0;
  struct Pass {
    const std::string& folder;
    const char* pattern;
    bool extracted;  // .CFH files, not results
  };
  const Pass passes[] = {{ArrayDataFolder, "*.CFH", true}, {AnalysisResultFolder, "*.CFS", false},
                         {AnalysisResultFolder, alleles ? "*.CFA" : "*.CFN", false}};
  std::vector<std::string> unread;
  for (const Pass& pass : passes) {
    const std::vector<std::string> files = platform::FindFiles(pass.folder, pass.pattern);
    if (files.empty()) {
      AfxMessageBox("error");
      continue;
    }
    for (const std::string& file : files) {
      const std::string path = platform::JoinPath(pass.folder, file);
      try {
        if (!HasLongCreateTime(path)) continue;
        if (pass.extracted) {
          CArrayData sample;
          sample.LoadFile(path);
          sample.StoreFile(path);
        } else {
          CAnalyzedData result;
          result.LoadFileAllocating(path);
          result.StoreFile(path);
        }
      } catch (const std::exception& error) {
        unread.push_back(file + ": " + error.what());
      }
    }
  }
  TellLeftOut(*this, {UnreadableListing(unread)});
}
