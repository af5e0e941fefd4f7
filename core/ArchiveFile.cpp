#include "core/ArchiveFile.h"

#include "platform/File.h"

namespace qova::core {

void StoreArchiveFile(const std::string& path, const std::function<void(CArchive&)>& write) {
  platform::CAtomicFile file;
  CFileException error;
  if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary, &error)) throw error;
  CArchive ar(&file, CArchive::store);
  try {
    write(ar);
    ar.Close();
  } catch (...) {
    // Nothing of a failed pass may reach the file: drop the buffer unwritten.
    ar.Abort();
    throw;
  }
  file.Commit();
}

void LoadArchiveFile(const std::string& path, const std::function<void(CArchive&)>& read) {
  CFile file;
  CFileException error;
  if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, &error)) throw error;
  CArchive ar(&file, CArchive::load);
  read(ar);
  ar.Close();
  file.Close();
}

}  // namespace qova::core
