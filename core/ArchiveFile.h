#pragma once
// Opening a file of the program's own for one archive pass. Stores replace the
// file atomically: the old contents stay until the new ones are complete.
#include <functional>
#include <string>

#include "platform/Archive.h"

namespace qova::core {

// Writes `path` through a storing archive (4096-byte buffer) and makes it the
// file's contents only when `write` returned and every byte reached the disk.
// Throws CFileException or CArchiveException on failure; the old file is kept.
void StoreArchiveFile(const std::string& path, const std::function<void(CArchive&)>& write);

// Reads `path` through a loading archive. Throws CFileException when the file
// cannot be opened; `read` throws what it throws.
void LoadArchiveFile(const std::string& path, const std::function<void(CArchive&)>& read);

}  // namespace qova::core
