#pragma once
// The sample-file index. Listing the samples of a folder means reading the
// header of every sample file, which is slow for folders of hundreds of large
// files; so each kind of sample file has a list file in its folder that caches
// every file's name, last-write time and the listed part of its header. An
// update reads again only the files whose time changed or that are new, and
// drops the records of files that are gone.
//
// List file (archive encoding; no header, no count): records until the end of
// the file, each
//   file name                           string (no folder)
//   file time                           time (last write)
//   SampleName, ArrayType               2 strings
//   IsTest                              int32
//   Attribute1..Attribute5, Sex         6 strings
//   CreateTime                          time
//   NonSelfBaseRange, SelfBaseRange     8 x int32
//   IsPaired                            int32
//   SelfReference                       string
//   NonSelfReferenceCount               int32
//   NonSelfReferences                   string
//   SelfAnalyzed, Combined              2 bytes
// A header read back from the index has every other field at its default.
#include <memory>
#include <string>

#include "core/SampleHeader.h"
#include "platform/Types.h"

class CArchive;
class CFile;
class CProgramSetting;

// Kinds of sample files, as bits so that one update can ask for several.
enum SampleFileListKind : int {
  kFileListExtracted = 1,      // *.CFH in the array-data folder
  kFileListSelf = 2,           // *.CFS in the analysis-result folder
  kFileListNonSelf = 4,        // *.CFN in the analysis-result folder
  kFileListNonSelfAllele = 8,  // *.CFA in the analysis-result folder
  kFileListAllKinds = 15,
};

class CSampleFileList {
 public:
  // The folders come from `setting`, read at each call, so a changed folder
  // setting takes effect at once. The record must outlive the index.
  explicit CSampleFileList(const CProgramSetting& setting);
  ~CSampleFileList();
  CSampleFileList(const CSampleFileList&) = delete;
  CSampleFileList& operator=(const CSampleFileList&) = delete;

  // The list file of one kind (its folder joined with "filelist_CFH.lst" and
  // so on); empty for anything but a single kind.
  [[nodiscard]] std::string GetListFileName(int kind) const;

  // Closes what is open and opens the list file of `kind` for reading. FALSE
  // when it cannot be opened; the caller then scans the folder itself.
  [[nodiscard]] BOOL Open(int kind);
  // The next record: its file name, and its header fields into `header`.
  // At the end of the list, or at a damaged record, closes the reader and
  // returns FALSE; `header` and `fileName` are then left as they were.
  BOOL ReadNext(SampleHeader& header, std::string& fileName);
  void Close();
  [[nodiscard]] bool IsOpen() const { return archive_ != nullptr; }

  // Brings the list files of the kinds in `kinds` up to date: records of
  // unchanged files are kept, changed and new files are read again, files that
  // are gone are dropped. A list that ends early or is damaged keeps its good
  // records and the rest is read anew. Sample files that cannot be read are
  // left out. Each list is replaced atomically; FALSE when one could not be
  // written (its old contents then stay).
  BOOL Update(int kinds);
  // Writes the list file of one kind from scratch, the same way.
  BOOL Rebuild(int kind);

 private:
  // The new contents of one kind's list; `old` is the list to reuse records
  // from, or null.
  BOOL WriteList(int kind, CArchive* old);

  const CProgramSetting& setting_;
  std::unique_ptr<CFile> file_;
  std::unique_ptr<CArchive> archive_;
};
