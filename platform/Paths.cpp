#include "platform/Paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/File.h"
#include "platform/Strings.h"

namespace platform {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool HasDrivePrefix(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
}

std::string EnvOrEmpty(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string HomeFolder() {
  std::string home = EnvOrEmpty("HOME");
  return home.empty() ? std::string("/tmp") : WithoutTrailingSlashes(home);
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` whose name equals `name` ignoring case. When several
// do (a case-sensitive file system can hold "a.cfh" and "A.CFH"), the first in
// byte order wins, so the choice does not depend on the directory order.
bool FindEntryNoCase(const std::string& folder, const std::string& name, std::string& found) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return false;
  bool any = false;
  while (const dirent* entry = ::readdir(dir)) {
    std::string_view candidate(entry->d_name);
    if (candidate == "." || candidate == "..") continue;
    if (EqualsNoCase(candidate, name) && (!any || candidate < found)) {
      found = std::string(candidate);
      any = true;
    }
  }
  ::closedir(dir);
  return any;
}

// Resolves each component that does not exist with its own case against the
// entries of its folder. `fixed` is a prefix taken as it is (the drive root).
std::string ResolveCase(const std::string& fixed, const std::string& rest) {
  std::string result = fixed;
  std::size_t pos = 0;
  bool resolving = true;
  while (pos < rest.size()) {
    std::size_t slash = rest.find('/', pos);
    std::string component = rest.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
    pos = slash == std::string::npos ? rest.size() : slash + 1;
    if (component.empty()) continue;
    std::string next = result.empty() ? component : (result.back() == '/' ? result : result + "/") + component;
    if (resolving && component != "." && component != ".." && !Exists(next)) {
      std::string found;
      if (FindEntryNoCase(result, component, found)) {
        next = (result.empty() ? std::string() : (result.back() == '/' ? result : result + "/")) + found;
      } else {
        resolving = false;  // nothing below a missing component can exist
      }
    }
    result = next;
  }
  return result;
}

// A resolved path in two parts: the longest leading part that exists, as the
// system resolves it, and the rest, lexically normal and without a trailing
// separator.
struct Resolution {
  std::filesystem::path existing;
  std::string missing;
};

Resolution Resolve(std::string_view path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path whole = fs::absolute(fs::path(NativePath(path)), ec);
  Resolution r;
  // A ".." in the missing part can climb back into the part that exists; a
  // second pass over the joined path settles it (its ".." are gone by then).
  for (int pass = 0; pass < 2; ++pass) {
    fs::path existing = whole.root_path(), missing;
    for (const fs::path& component : whole.relative_path()) {
      if (component.empty()) continue;
      struct stat st;
      if (missing.empty() && ::stat((existing / component).c_str(), &st) == 0) {
        existing /= component;
      } else {
        missing /= component;
      }
    }
    r.existing = fs::canonical(existing, ec);
    if (ec) r.existing = existing.lexically_normal();
    fs::path rest = missing.lexically_normal();
    if (rest.empty() || rest == ".") {
      r.missing.clear();
    } else if (*rest.begin() == ".." && pass == 0) {
      whole = (r.existing / rest).lexically_normal();
      continue;
    } else {
      r.missing = WithoutTrailingSlashes(rest.generic_string());
    }
    break;
  }
  return r;
}

}  // namespace

std::string ResolvedPath(std::string_view path) {
  const Resolution r = Resolve(path);
  return r.missing.empty() ? r.existing.string() : (r.existing / r.missing).string();
}

bool LeadToOneFile(std::string_view a, std::string_view b) {
  const Resolution first = Resolve(a), second = Resolve(b);
  return first.existing == second.existing && EqualsNoCase(first.missing, second.missing);
}

std::string DriveRoot() {
  std::string root = EnvOrEmpty("QOVA_HOME");
  if (!root.empty()) return WithoutTrailingSlashes(root);
  return HomeFolder() + "/.local/share/qova";
}

std::string ConfigHome() {
  std::string config = EnvOrEmpty("QOVA_CONFIG_HOME");
  if (config.empty()) config = EnvOrEmpty("XDG_CONFIG_HOME");
  if (!config.empty()) return WithoutTrailingSlashes(config);
  return HomeFolder() + "/.config";
}

std::string NativePath(std::string_view path) {
  std::string fixed;
  std::string_view rest = path;
  if (HasDrivePrefix(path)) {
    fixed = DriveRoot();
    rest = path.substr(2);
  } else if (!path.empty() && IsSeparator(path[0])) {
    fixed = "/";
  }
  std::string relative(rest);
  std::replace(relative.begin(), relative.end(), '\\', '/');
  bool trailing = !relative.empty() && relative.back() == '/';

  std::string whole = fixed;
  if (!relative.empty()) {
    std::string_view r = relative;
    while (!r.empty() && r.front() == '/') r.remove_prefix(1);
    if (!whole.empty() && whole.back() != '/' && !r.empty()) whole += '/';
    whole += r;
  }
  if (whole.empty()) return whole;

  std::string native = Exists(whole) ? whole : ResolveCase(fixed, relative);
  if (native.empty()) native = fixed;
  // Collapse doubled separators ("c:\data\\x") the way Windows does.
  std::string collapsed;
  collapsed.reserve(native.size() + 1);
  for (char c : native) {
    if (c == '/' && !collapsed.empty() && collapsed.back() == '/') continue;
    collapsed += c;
  }
  if (trailing && (collapsed.empty() || collapsed.back() != '/')) collapsed += '/';
  return collapsed;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  while (!name.empty() && IsSeparator(name.front())) name.remove_prefix(1);
  if (folder.empty()) return std::string(name);
  std::string out = WithTrailingSeparator(folder);
  out.append(name);
  return out;
}

std::string WithTrailingSeparator(std::string_view folder) {
  if (folder.empty()) return {};
  std::string out(folder);
  if (IsSeparator(out.back())) return out;
  bool backslash = out.find('\\') != std::string::npos ||
                   (out.find('/') == std::string::npos && HasDrivePrefix(out));
  out += backslash ? '\\' : '/';
  return out;
}

std::string FileNameOf(std::string_view path) {
  std::size_t cut = path.find_last_of("/\\");
  if (cut == std::string_view::npos) return std::string(HasDrivePrefix(path) ? path.substr(2) : path);
  return std::string(path.substr(cut + 1));
}

std::string FolderOf(std::string_view path) {
  std::size_t cut = path.find_last_of("/\\");
  if (cut == std::string_view::npos) return HasDrivePrefix(path) ? std::string(path.substr(0, 2)) : std::string();
  return std::string(path.substr(0, cut + 1));
}

bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of(std::string_view("\\/:\0", 4)) == std::string_view::npos;
}

std::string StemOf(std::string_view fileName) {
  std::string name = FileNameOf(fileName);
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return name;
  return name.substr(0, dot);
}

std::string ExtensionOf(std::string_view fileName) {
  std::string name = FileNameOf(fileName);
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return {};
  return name.substr(dot);
}

bool FileExists(std::string_view path) {
  struct stat st;
  return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(std::string_view path) {
  struct stat st;
  return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool GetFileStatus(std::string_view path, FileStatus& status) {
  std::string native = NativePath(path);
  struct statx stx;
  if (::statx(AT_FDCWD, native.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &stx) != 0) return false;
  status.size = stx.stx_size;
  status.modificationTime = stx.stx_mtime.tv_sec;
  status.creationTime = (stx.stx_mask & STATX_BTIME) ? stx.stx_btime.tv_sec : stx.stx_mtime.tv_sec;
  status.isFolder = S_ISDIR(stx.stx_mode);
  return true;
}

bool SetModificationTime(std::string_view path, std::int64_t time) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(time);
  times[1].tv_nsec = 0;
  return ::utimensat(AT_FDCWD, NativePath(path).c_str(), times, 0) == 0;
}

bool RemoveFile(std::string_view path) {
  std::string native = NativePath(path);
  struct stat st;
  if (::lstat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(native.c_str()) == 0;
}

bool RenameFile(std::string_view from, std::string_view to) {
  return ::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

bool CopyFileTo(std::string_view from, std::string_view to, bool overwrite) {
  if (!overwrite && FileExists(to)) return false;
  int in = ::open(NativePath(from).c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  bool ok = true;
  try {
    CAtomicFile out;
    if (!out.Open(to)) {
      ::close(in);
      return false;
    }
    char buffer[65536];
    for (;;) {
      ssize_t n = ::read(in, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        ok = false;
        break;
      }
      if (n == 0) break;
      out.Write(buffer, UINT(n));
    }
    if (ok) out.Commit();
  } catch (const CFileException&) {
    ok = false;
  }
  ::close(in);
  return ok;
}

bool CreateFolders(std::string_view path) {
  std::string native = NativePath(path);
  if (native.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(native, ec);
  struct stat st;
  return ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  // "*.*" means every name, with or without a dot, as the file search always took it.
  if (pattern == "*.*") return true;
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
  std::size_t n = 0, p = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> FindFiles(std::string_view folder, std::string_view pattern) {
  std::vector<std::string> names;
  std::string native = NativePath(folder.empty() ? std::string_view(".") : folder);
  DIR* dir = ::opendir(native.c_str());
  if (!dir) return names;
  std::string base = native.back() == '/' ? native : native + "/";
  while (const dirent* entry = ::readdir(dir)) {
    std::string name(entry->d_name);
    if (name == "." || name == ".." || IsAtomicTempName(name) || !MatchesPattern(name, pattern)) continue;
    struct stat st;
    if (::stat((base + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(std::move(name));
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    int c = CompareNoCase(a, b);
    return c != 0 ? c < 0 : a < b;
  });
  return names;
}

std::string CurrentFolder() {
  std::error_code ec;
  std::string cwd = std::filesystem::current_path(ec).string();
  if (ec || cwd.empty()) return "./";
  return cwd.back() == '/' ? cwd : cwd + "/";
}

namespace {
std::string& StartFolderValue() {
  static std::string value = CurrentFolder();
  return value;
}
}  // namespace

std::string StartFolder() { return StartFolderValue(); }

void SetStartFolder(std::string_view folder) {
  std::string value(folder);
  std::replace(value.begin(), value.end(), '\\', '/');
  if (value.empty() || value.back() != '/') value += '/';
  StartFolderValue() = value;
}

}  // namespace platform
