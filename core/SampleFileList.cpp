#include "core/SampleFileList.h"

#include <exception>
#include <map>
#include <vector>

#include "core/AnalyzedData.h"
#include "core/ArchiveFile.h"
#include "core/ArrayData.h"
#include "core/ProgramSetting.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/Paths.h"

namespace {

struct KindInfo {
  int kind;
  const char* pattern;
  std::string CProgramSetting::*folder;
  const char* listFile;
};

constexpr KindInfo kKinds[] = {
    {kFileListExtracted, "*.CFH", &CProgramSetting::DefaultArrayDataFolder, "filelist_CFH.lst"},
    {kFileListSelf, "*.CFS", &CProgramSetting::DefaultAnalysisResultFolder, "filelist_CFS.lst"},
    {kFileListNonSelf, "*.CFN", &CProgramSetting::DefaultAnalysisResultFolder, "filelist_CFN.lst"},
    {kFileListNonSelfAllele, "*.CFA", &CProgramSetting::DefaultAnalysisResultFolder, "filelist_CFA.lst"},
};

const KindInfo* FindKind(int kind) {
  for (const KindInfo& info : kKinds) {
    if (info.kind == kind) return &info;
  }
  return nullptr;
}

struct Record {
  std::string fileName;
  CTime fileTime;
  SampleHeader header;
};

void WriteRecord(CArchive& ar, const Record& r) {
  const SampleHeader& h = r.header;
  ar << r.fileName << r.fileTime << h.SampleName << h.ArrayType << h.IsTest;
  ar << h.Attribute1 << h.Attribute2 << h.Attribute3 << h.Attribute4 << h.Attribute5 << h.Sex;
  ar << h.CreateTime;
  for (std::int32_t v : h.NonSelfBaseRange) ar << v;
  for (std::int32_t v : h.SelfBaseRange) ar << v;
  ar << h.IsPaired << h.SelfReference << h.NonSelfReferenceCount << h.NonSelfReferences;
  ar << static_cast<std::uint8_t>(h.SelfAnalyzed ? 1 : 0) << static_cast<std::uint8_t>(h.Combined ? 1 : 0);
}

// Fills a fresh record, so the fields the list does not hold are at their
// defaults.
Record ReadRecord(CArchive& ar) {
  Record r;
  SampleHeader& h = r.header;
  ar >> r.fileName >> r.fileTime >> h.SampleName >> h.ArrayType >> h.IsTest;
  ar >> h.Attribute1 >> h.Attribute2 >> h.Attribute3 >> h.Attribute4 >> h.Attribute5 >> h.Sex;
  ar >> h.CreateTime;
  for (std::int32_t& v : h.NonSelfBaseRange) ar >> v;
  for (std::int32_t& v : h.SelfBaseRange) ar >> v;
  ar >> h.IsPaired >> h.SelfReference >> h.NonSelfReferenceCount >> h.NonSelfReferences;
  std::uint8_t selfAnalyzed = 0, combined = 0;
  ar >> selfAnalyzed >> combined;
  h.SelfAnalyzed = selfAnalyzed != 0;
  h.Combined = combined != 0;
  return r;
}

// The header of one sample file, or false when the file cannot be read as a
// sample of its kind.
bool LoadHeader(int kind, const std::string& path, SampleHeader& header) {
  try {
    if (kind == kFileListExtracted) {
      CArrayData sample;
      sample.LoadFile(path, false);
      header = sample.Header;
    } else {
      CAnalyzedData sample;
      sample.LoadFile(path, true);
      header = sample.Header;
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

CSampleFileList::CSampleFileList(const CProgramSetting& setting) : setting_(setting) {}

CSampleFileList::~CSampleFileList() { Close(); }

std::string CSampleFileList::GetListFileName(int kind) const {
  const KindInfo* info = FindKind(kind);
  if (info == nullptr) return {};
  return platform::JoinPath(setting_.*info->folder, info->listFile);
}

BOOL CSampleFileList::Open(int kind) {
  Close();
  const std::string path = GetListFileName(kind);
  if (path.empty()) return FALSE;
  auto file = std::make_unique<CFile>();
  if (!file->Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) return FALSE;
  file_ = std::move(file);
  archive_ = std::make_unique<CArchive>(file_.get(), CArchive::load);
  return TRUE;
}

BOOL CSampleFileList::ReadNext(SampleHeader& header, std::string& fileName) {
  if (!IsOpen()) return FALSE;
  try {
    if (archive_->BytesLeft() > 0) {
      Record r = ReadRecord(*archive_);
      header = std::move(r.header);
      fileName = std::move(r.fileName);
      return TRUE;
    }
  } catch (const std::exception&) {
    // A damaged record ends the list; the records before it stand.
  }
  Close();
  return FALSE;
}

void CSampleFileList::Close() {
  if (archive_) archive_->Abort();
  archive_.reset();
  if (file_) file_->Abort();
  file_.reset();
}

BOOL CSampleFileList::Update(int kinds) {
  BOOL written = TRUE;
  for (const KindInfo& info : kKinds) {
    if ((kinds & info.kind) == 0) continue;
    const std::string listPath = GetListFileName(info.kind);
    CFile old;
    if (!platform::FileExists(listPath) || !old.Open(listPath, CFile::modeRead | CFile::typeBinary)) {
      written &= Rebuild(info.kind);
      continue;
    }
    CArchive oldArchive(&old, CArchive::load);
    written &= WriteList(info.kind, &oldArchive);
    oldArchive.Abort();
    old.Abort();
  }
  return written;
}

BOOL CSampleFileList::Rebuild(int kind) { return WriteList(kind, nullptr); }

BOOL CSampleFileList::WriteList(int kind, CArchive* old) {
  const KindInfo* info = FindKind(kind);
  if (info == nullptr) return FALSE;
  const std::string& folder = setting_.*info->folder;

  // The folder as it is now: every sample file with its last-write time, in
  // the order of the scan.
  std::vector<std::string> scanned;
  std::map<std::string, CTime> present;
  for (const std::string& name : platform::FindFiles(folder, info->pattern)) {
    platform::FileStatus status;
    if (!platform::GetFileStatus(platform::JoinPath(folder, name), status)) continue;
    scanned.push_back(name);
    present.emplace(name, CTime(status.modificationTime));
  }

  auto write = [&](CArchive& ar) {
    while (old != nullptr) {
      Record r;
      try {
        if (old->BytesLeft() == 0) break;
        r = ReadRecord(*old);
      } catch (const std::exception&) {
        // The rest of a damaged list is read again from the files below.
        break;
      }
      auto it = present.find(r.fileName);
      if (it == present.end()) continue;  // gone, or listed twice
      const bool usable = it->second == r.fileTime ||
                          LoadHeader(kind, platform::JoinPath(folder, r.fileName), r.header);
      r.fileTime = it->second;
      present.erase(it);
      if (usable) WriteRecord(ar, r);
    }
    for (const std::string& name : scanned) {
      auto it = present.find(name);
      if (it == present.end()) continue;
      Record r{name, it->second, {}};
      if (LoadHeader(kind, platform::JoinPath(folder, name), r.header)) WriteRecord(ar, r);
    }
  };
  try {
    qova::core::StoreArchiveFile(GetListFileName(kind), write);
    return TRUE;
  } catch (const std::exception&) {
    return FALSE;
  }
}
