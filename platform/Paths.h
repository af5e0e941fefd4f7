#pragma once
// Paths as the program builds them (Windows style, "c:\data\", "S01.CEL") mapped
// onto this machine. Every file-system call of the program goes through here.
//
//  - '\' and '/' are both separators; the result uses '/'.
//  - A drive prefix ("c:\", "C:/", "D:") maps to the drive root folder:
//    $QOVA_HOME, default $HOME/.local/share/qova.
//  - When a path does not exist with its exact case, each component is looked
//    up ignoring case (the files come from a case-insensitive world).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The folder that stands for a drive root ($QOVA_HOME or its default).
[[nodiscard]] std::string DriveRoot();
// $QOVA_CONFIG_HOME, else $XDG_CONFIG_HOME, else $HOME/.config.
[[nodiscard]] std::string ConfigHome();

// Translates a program path into a native one: separators, drive prefix, and
// the case-insensitive lookup of every component that exists in another case.
// Components that do not exist at all are kept as given (so a new file can be
// created under a folder found ignoring case).
[[nodiscard]] std::string NativePath(std::string_view path);

// Where a path leads: NativePath's translation made absolute against the
// current folder, with ".", ".." and symbolic links resolved as the system
// resolves them in the part that exists; the part that does not exist yet
// follows as given, its "." and ".." taken by name. No trailing separator.
[[nodiscard]] std::string ResolvedPath(std::string_view path);
// Whether two paths lead to one file. The parts that exist are compared as
// resolved; the parts that do not exist yet ignoring case, because once the
// first file is written the other name finds it by the lookup that ignores case.
[[nodiscard]] bool LeadToOneFile(std::string_view a, std::string_view b);

// Joins a folder and a name with exactly one separator between them.
[[nodiscard]] std::string JoinPath(std::string_view folder, std::string_view name);
// A folder value with a trailing separator ('\' kept if the value uses '\').
[[nodiscard]] std::string WithTrailingSeparator(std::string_view folder);
// The last component ("dir\sub\a.CFH" -> "a.CFH").
[[nodiscard]] std::string FileNameOf(std::string_view path);
// Everything before the last component, with its trailing separator.
[[nodiscard]] std::string FolderOf(std::string_view path);
// Whether `name` is a name within a folder and nothing more: not empty, not
// "." or "..", without a separator ('\' or '/'), a drive colon or a NUL byte.
// Names read from lists and files are joined to folders only when they are.
[[nodiscard]] bool IsPlainFileName(std::string_view name);
// The name without its last extension ("a.b.CFH" -> "a.b").
[[nodiscard]] std::string StemOf(std::string_view fileName);
// The last extension with its dot (".CFH"), or empty.
[[nodiscard]] std::string ExtensionOf(std::string_view fileName);

struct FileStatus {
  std::uint64_t size = 0;
  std::int64_t creationTime = 0;      // birth time where the file system has one, else mtime
  std::int64_t modificationTime = 0;  // seconds since 1970, UTC
  bool isFolder = false;
};

[[nodiscard]] bool FileExists(std::string_view path);    // a regular file
[[nodiscard]] bool FolderExists(std::string_view path);
[[nodiscard]] bool GetFileStatus(std::string_view path, FileStatus& status);
// Sets the modification time (tests, and the index's "touched file" case).
bool SetModificationTime(std::string_view path, std::int64_t time);
bool RemoveFile(std::string_view path);
bool RenameFile(std::string_view from, std::string_view to);
bool CopyFileTo(std::string_view from, std::string_view to, bool overwrite);
// Creates the folder and any missing parents; true when it exists afterwards.
[[nodiscard]] bool CreateFolders(std::string_view path);

// Names (not paths) of the regular files in `folder` whose names match
// `pattern` ('*' and '?' wildcards, any case), sorted ignoring case, then by
// byte order for names equal but for case. A missing folder gives no names;
// the temporary files of an unfinished atomic replace are never listed.
[[nodiscard]] std::vector<std::string> FindFiles(std::string_view folder, std::string_view pattern);
// True when `name` matches the wildcard pattern ignoring case.
[[nodiscard]] bool MatchesPattern(std::string_view name, std::string_view pattern);

// The process's current folder, with a trailing '/'.
[[nodiscard]] std::string CurrentFolder();
// The folder the program started in (recorded once at start-up, or set by a
// test), with a trailing '/'. Fixed data files live in its "data" folder.
[[nodiscard]] std::string StartFolder();
void SetStartFolder(std::string_view folder);

}  // namespace platform
