#include "tests/support/FolderCache.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace qova::test {

namespace fs = std::filesystem;

namespace {

// An flock on a file, exclusive while a cache is made or removed, shared
// while it is copied; released when the holder goes (and by the kernel when
// its process dies).
class FileLock {
 public:
  explicit FileLock(const std::string& path) : fd_(::open(path.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644)) {
    if (fd_ < 0) throw std::runtime_error("cannot open the lock " + path);
    Take(LOCK_EX);
  }
  ~FileLock() { ::close(fd_); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  void Share() { Take(LOCK_SH); }

 private:
  void Take(int how) {
    while (::flock(fd_, how) != 0) {
      if (errno != EINTR) throw std::runtime_error("cannot lock the cache");
    }
  }
  int fd_;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

// Without the trailing separator: a file may name the folder either way.
std::string FolderName(const std::string& root) {
  std::string name = fs::absolute(root).lexically_normal().string();
  while (name.size() > 1 && name.back() == '/') name.pop_back();
  return name;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

// What a copy needs besides the files: the folder the maker was given, and
// the files (relative paths) that name it.
struct Manifest {
  std::string root;
  std::vector<std::string> naming;
};

Manifest Survey(const std::string& tree) {
  Manifest manifest{FolderName(tree), {}};
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(tree)) {
    if (entry.is_regular_file() && ReadAll(entry.path()).find(manifest.root) != std::string::npos)
      manifest.naming.push_back(fs::relative(entry.path(), tree).string());
  }
  return manifest;
}

void Store(const Manifest& manifest, const std::string& path) {
  std::string text = manifest.root + "\n";
  for (const std::string& file : manifest.naming) text += file + "\n";
  // Written whole before it is seen: its presence marks a finished cache.
  WriteAll(path + ".part", text);
  fs::rename(path + ".part", path);
}

Manifest Load(const std::string& path) {
  std::ifstream in(path);
  Manifest manifest;
  if (!std::getline(in, manifest.root)) throw std::runtime_error("cannot read " + path);
  for (std::string line; std::getline(in, line);) manifest.naming.push_back(line);
  return manifest;
}

void Copy(const std::string& tree, const Manifest& manifest, const std::string& target) {
  const std::string root = FolderName(target);
  fs::create_directories(target);
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(tree)) {
    const fs::path relative = fs::relative(entry.path(), tree);
    const fs::path to = fs::path(target) / relative;
    if (entry.is_directory()) {
      fs::create_directories(to);
      continue;
    }
    bool names = false;
    for (const std::string& file : manifest.naming) names = names || relative == file;
    if (names) {
      std::string text = ReadAll(entry.path());
      ReplaceAll(text, manifest.root, root);
      WriteAll(to, text);
    } else {
      fs::copy_file(entry.path(), to, fs::copy_options::overwrite_existing);
    }
    // Tests that compare files' ages see them as they were made.
    fs::last_write_time(to, fs::last_write_time(entry.path()));
  }
}

}  // namespace

FolderCache::FolderCache(std::string home, std::string key) : home_(std::move(home)), key_(std::move(key)) {
  if (home_.empty() || home_.back() != '/') home_ += '/';
}

FolderCache FolderCache::ForThisProgram() {
  const fs::path program = fs::read_symlink("/proc/self/exe");
  struct stat status {};
  if (::stat(program.c_str(), &status) != 0) throw std::runtime_error("cannot see " + program.string());
  // Size and time to the nanosecond: a relink changes at least the time.
  return FolderCache(program.string() + ".cache/", std::to_string(status.st_size) + "-" +
                                                        std::to_string(status.st_mtim.tv_sec) + "." +
                                                        std::to_string(status.st_mtim.tv_nsec));
}

std::string FolderCache::BuildFolder() const { return home_ + key_ + "/"; }

void FolderCache::CopyInto(const std::string& name, const std::string& wanted, const FolderMaker& make) {
  // Fixed before the maker runs: it may move the working folder.
  const std::string target = FolderName(wanted) + "/";
  const std::string folder = BuildFolder() + name + "/";
  bool copying = false;
  try {
    fs::create_directories(home_);
    FileLock lock(home_ + "lock");
    if (!fs::exists(folder + "manifest")) {
      // Only one build's caches are kept: the others are stale.
      for (const fs::directory_entry& entry : fs::directory_iterator(home_)) {
        if (entry.is_directory() && entry.path().filename() != key_) fs::remove_all(entry.path());
      }
      fs::remove_all(folder);
      fs::create_directories(folder + "tree/");
      try {
        make(folder + "tree/");
      } catch (...) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        throw;
      }
      Store(Survey(folder + "tree/"), folder + "manifest");
    }
    lock.Share();
    const Manifest manifest = Load(folder + "manifest");
    copying = true;
    Copy(folder + "tree/", manifest, target);
    return;
  } catch (...) {
    // Made where it is wanted instead: a failure of the maker shows there.
  }
  std::error_code ignored;
  if (copying) fs::remove_all(target, ignored);
  fs::create_directories(target, ignored);
  make(target);
}

}  // namespace qova::test
