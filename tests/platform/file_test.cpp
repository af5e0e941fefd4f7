// Files, in-memory files and the atomic replace.
#include "platform/File.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "platform/Paths.h"
#include "tests/support/TempHome.h"

// A file-system shim: every fsync of the program is seen here, so a test can
// check that the atomic replace puts the bytes on disk before the rename.
std::vector<std::string>* g_events = nullptr;

extern "C" int fsync(int fd) {
  static auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
  if (g_events) {
    char target[PATH_MAX];
    ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target);
    g_events->push_back("fsync " + (n > 0 ? std::string(target, std::size_t(n)) : std::string("?")));
  }
  return real(fd);
}

// Writeback started ahead of the flush shows as "start <file> at <bytes written>".
extern "C" int sync_file_range(int fd, off64_t offset, off64_t nbytes, unsigned int flags) {
  static auto real = reinterpret_cast<int (*)(int, off64_t, off64_t, unsigned int)>(::dlsym(RTLD_NEXT, "sync_file_range"));
  if (g_events) {
    char target[PATH_MAX];
    ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target);
    struct stat st {};
    ::fstat(fd, &st);
    g_events->push_back("start " + (n > 0 ? std::string(target, std::size_t(n)) : std::string("?")) + " at " +
                        std::to_string(st.st_size));
  }
  return real(fd, offset, nbytes, flags);
}

namespace {

using namespace platform;

class FileTest : public qova::test::TempHomeTest {
 protected:
  ~FileTest() override { SetAtomicStageHook(nullptr); }
  std::string Contents(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    return bytes;
  }
  std::vector<std::string> Leftovers() {
    std::vector<std::string> temps;
    for (const auto& entry : std::filesystem::directory_iterator(Root()))
      if (IsAtomicTempName(entry.path().filename().string())) temps.push_back(entry.path().string());
    return temps;
  }
};

TEST_F(FileTest, MissingFileReportsCauseAndName) {
  CFile file;
  CFileException error;
  EXPECT_FALSE(file.Open("c:\\nothere.CFH", CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_strFileName, "c:\\nothere.CFH");
  EXPECT_NE(std::string(error.what()).find("nothere.CFH"), std::string::npos);
  EXPECT_FALSE(file.IsOpen());
  try {
    CFile thrown("c:\\nothere.CFH", CFile::modeRead);
    FAIL();
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
  }
}

TEST_F(FileTest, FolderCannotBeOpenedAsAFile) {
  CFile file;
  CFileException error;
  EXPECT_FALSE(file.Open("c:\\", CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::accessDenied);
  EXPECT_FALSE(file.Open("c:\\missing\\x.txt", CFile::modeCreate | CFile::modeWrite, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
}

TEST_F(FileTest, WriteSeekReadRoundTrip) {
  CFile file("c:\\data.bin", CFile::modeCreate | CFile::modeReadWrite);
  EXPECT_EQ(file.GetNativePath(), Path("data.bin"));
  file.Write("hello world", 11);
  EXPECT_EQ(file.GetLength(), 11u);
  EXPECT_EQ(file.GetPosition(), 11u);
  EXPECT_EQ(file.Seek(-5, CFile::current), 6u);
  char buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, 16), 5u);
  EXPECT_EQ(std::string(buffer, 5), "world");
  EXPECT_EQ(file.Read(buffer, 16), 0u);
  file.SeekToBegin();
  EXPECT_EQ(file.Read(buffer, 5), 5u);
  EXPECT_EQ(file.SeekToEnd(), 11u);
  try {
    file.Seek(-100, CFile::current);
    FAIL();
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::badSeek);
  }
  file.Close();
  EXPECT_FALSE(file.IsOpen());
}

TEST_F(FileTest, CreateTruncatesUnlessAskedNotTo) {
  ASSERT_TRUE(WriteWholeFile("c:\\t.txt", "0123456789"));
  {
    CFile keep("c:\\t.txt", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
    keep.Write("ab", 2);
  }
  EXPECT_EQ(Contents("c:\\t.txt"), "ab23456789");
  {
    CFile fresh("c:\\t.txt", CFile::modeCreate | CFile::modeWrite);
    fresh.Write("z", 1);
  }
  EXPECT_EQ(Contents("c:\\t.txt"), "z");
}

TEST_F(FileTest, ReadingAWriteOnlyFileThrows) {
  CFile file("c:\\w.txt", CFile::modeCreate | CFile::modeWrite);
  char c;
  EXPECT_THROW(file.Read(&c, 1), CFileException);
  CFile closed;
  EXPECT_THROW(closed.Write("x", 1), CFileException);
}

TEST(MemFileTest, BehavesLikeAFile) {
  CMemFile file("abc");
  char buffer[8];
  EXPECT_EQ(file.Read(buffer, 2), 2u);
  EXPECT_EQ(file.Read(buffer, 8), 1u);
  EXPECT_EQ(file.Read(buffer, 8), 0u);
  file.Seek(5, CFile::begin);
  EXPECT_EQ(file.Read(buffer, 8), 0u);
  file.Write("Z", 1);
  EXPECT_EQ(file.Bytes(), std::string("abc\0\0Z", 6));
  EXPECT_EQ(file.Seek(-1, CFile::end), 5u);
  EXPECT_THROW(file.Seek(-7, CFile::current), CFileException);
  EXPECT_EQ(file.GetLength(), 6u);
}

TEST_F(FileTest, AtomicCommitReplacesTheFileAndLeavesNoTemporary) {
  ASSERT_TRUE(WriteWholeFile("c:\\s.CFH", "old"));
  ::chmod(Path("s.CFH").c_str(), 0640);
  {
    CAtomicFile file;
    ASSERT_TRUE(file.Open("c:\\S.cfh"));
    EXPECT_EQ(FolderOf(file.TempPath()), Root());
    EXPECT_TRUE(IsAtomicTempName(FileNameOf(file.TempPath())));
    file.Write("new contents", 12);
    EXPECT_EQ(Contents("c:\\s.CFH"), "old");
    file.Commit();
  }
  EXPECT_EQ(Contents("c:\\s.CFH"), "new contents");
  struct stat st;
  ASSERT_EQ(::stat(Path("s.CFH").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(FileTest, CommitFlushesTheFileBeforeTheRenameAndTheFolderAfterIt) {
  ASSERT_TRUE(WriteWholeFile("c:\\s.CFH", "old"));
  std::vector<std::string> events;
  std::string temp;
  {
    CAtomicFile file;
    ASSERT_TRUE(file.Open("c:\\s.CFH"));
    temp = std::filesystem::canonical(file.TempPath()).string();
    file.Write("new", 3);
    g_events = &events;
    SetAtomicStageHook([](AtomicStage stage, const std::string&) {
      const char* names[] = {"created", "written", "before rename", "after rename"};
      g_events->push_back(names[int(stage)]);
    });
    file.Commit();
    g_events = nullptr;
  }
  std::string folder = std::filesystem::canonical(Root()).string();
  EXPECT_EQ(events, (std::vector<std::string>{"fsync " + temp, "written", "before rename", "fsync " + folder,
                                              "after rename"}));
}

TEST_F(FileTest, ALargeFileGoesToTheDiskAMegabyteAtATimeAndIsFlushedWholeBeforeTheRename) {
  constexpr std::size_t kPiece = 64 * 1024;
  std::string bytes;
  for (std::size_t i = 0; i < 40 * kPiece; ++i) bytes.push_back(static_cast<char>('a' + i % 23));
  std::vector<std::string> events;
  std::string temp;
  {
    CAtomicFile file;
    ASSERT_TRUE(file.Open("c:\\big.CFH"));
    temp = std::filesystem::canonical(file.TempPath()).string();
    g_events = &events;
    for (std::size_t at = 0; at < bytes.size(); at += kPiece) file.Write(bytes.data() + at, kPiece);
    file.Commit();
    g_events = nullptr;
  }
  const std::string folder = std::filesystem::canonical(Root()).string();
  EXPECT_EQ(events, (std::vector<std::string>{"start " + temp + " at 1048576", "start " + temp + " at 2097152",
                                              "fsync " + temp, "fsync " + folder}));
  EXPECT_EQ(Contents("c:\\big.CFH"), bytes);
  // Small files are not worth a separate request.
  events.clear();
  g_events = &events;
  ASSERT_TRUE(WriteWholeFile("c:\\small.CFG", std::string(kPiece, 's')));
  g_events = nullptr;
  EXPECT_EQ(events.size(), 2u);
}

TEST_F(FileTest, AtomicFileWithoutCommitKeepsTheOldFile) {
  ASSERT_TRUE(WriteWholeFile("c:\\s.CFH", "old"));
  {
    CAtomicFile file;
    ASSERT_TRUE(file.Open("c:\\s.CFH"));
    file.Write("half", 4);
  }
  EXPECT_EQ(Contents("c:\\s.CFH"), "old");
  {
    CAtomicFile file;
    ASSERT_TRUE(file.Open("c:\\s.CFH"));
    file.Write("half", 4);
    file.Close();
  }
  EXPECT_EQ(Contents("c:\\s.CFH"), "old");
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(FileTest, AtomicRewriteInPlaceStartsFromTheOldContents) {
  ASSERT_TRUE(WriteWholeFile("c:\\h.CFH", "0123456789"));
  CAtomicFile file;
  ASSERT_TRUE(file.Open("c:\\h.CFH", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
  file.Seek(2, CFile::begin);
  file.Write("ab", 2);
  file.Commit();
  EXPECT_EQ(Contents("c:\\h.CFH"), "01ab456789");
}

TEST_F(FileTest, FailureAtAnyStageBeforeTheRenameKeepsTheOldFile) {
  for (AtomicStage failAt : {AtomicStage::TempCreated, AtomicStage::TempWritten, AtomicStage::BeforeRename}) {
    SCOPED_TRACE(int(failAt));
    ASSERT_TRUE(WriteWholeFile("c:\\g.CFG", "old"));
    static AtomicStage s_failAt;
    s_failAt = failAt;
    SetAtomicStageHook([](AtomicStage stage, const std::string&) {
      if (stage == s_failAt) throw std::runtime_error("interrupted");
    });
    EXPECT_THROW(static_cast<void>(WriteWholeFile("c:\\g.CFG", "new")), std::runtime_error);
    SetAtomicStageHook(nullptr);
    EXPECT_EQ(Contents("c:\\g.CFG"), "old");
    EXPECT_TRUE(Leftovers().empty());
  }
}

TEST_F(FileTest, ProcessKilledBeforeTheRenameLeavesTheOldFileReadable) {
  ASSERT_TRUE(WriteWholeFile("c:\\g.CFG", "old"));
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SetAtomicStageHook([](AtomicStage stage, const std::string&) {
      if (stage == AtomicStage::BeforeRename) ::_exit(0);
    });
    static_cast<void>(WriteWholeFile("c:\\g.CFG", std::string(100000, 'n')));
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the child did not reach the rename";
  EXPECT_EQ(Contents("c:\\g.CFG"), "old");
  // The crash leaves its temporary file, hidden from every file search.
  EXPECT_EQ(Leftovers().size(), 1u);
  EXPECT_EQ(FindFiles("c:\\", "*"), std::vector<std::string>{"g.CFG"});
}

TEST_F(FileTest, FailedRenameIsReportedAndLosesNothing) {
  ASSERT_TRUE(CreateFolders("c:\\target.CFH\\"));
  ASSERT_TRUE(WriteWholeFile("c:\\target.CFH\\inner.txt", "keep"));
  CAtomicFile file;
  ASSERT_TRUE(file.Open("c:\\target.CFH"));
  file.Write("x", 1);
  try {
    file.Commit();
    FAIL() << "a rename over a folder cannot succeed";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_strFileName, "c:\\target.CFH");
  }
  EXPECT_EQ(Contents("c:\\target.CFH\\inner.txt"), "keep");
  EXPECT_TRUE(Leftovers().empty());
  EXPECT_FALSE(WriteWholeFile("c:\\nofolder\\x.txt", "x"));
}

TEST_F(FileTest, WholeFileReadAndWrite) {
  std::string bytes(70000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i % 251);
  ASSERT_TRUE(WriteWholeFile("c:\\w.bin", bytes));
  EXPECT_EQ(Contents("c:\\W.BIN"), bytes);
  std::string untouched = "same";
  EXPECT_FALSE(ReadWholeFile("c:\\none.bin", untouched));
  EXPECT_EQ(untouched, "same");
  EXPECT_FALSE(ReadWholeFile("c:\\", untouched));
}

// What a failed write says after naming its file: the first folder missing
// on the way, else the system's words naming the file as it is on disk; the
// same from WriteWholeFile and from the system's error number.
TEST_F(FileTest, AFailedWriteTellsTheMissingFolderOrTheSystemsWordsNamingTheFileOnDisk) {
  ASSERT_TRUE(CreateFolders(Path("out/")));
  ASSERT_TRUE(CreateFolders(Path("taken/")));
  ASSERT_TRUE(CreateFolders(Path("Locked/")));
  ASSERT_TRUE(WriteWholeFile(Path("plain"), "a file where a folder should be"));
  std::filesystem::create_symlink(Path("nowhere"), Path("link"));
  ASSERT_EQ(::chmod(Path("Locked").c_str(), 0555), 0);
  // Permissions do not stop the superuser: the replace then fails where a
  // read-only folder makes it fail.
  if (::geteuid() == 0) {
    SetAtomicStageHook([](AtomicStage stage, const std::string& target) {
      if (stage == AtomicStage::TempCreated && FolderOf(target).ends_with("/Locked/"))
        throw CFileException(CFileException::accessDenied, EACCES, target);
    });
  }
  const struct {
    std::string path;
    int error;  // what the system says of the write
    std::string why;
  } cases[] = {
      {Path("gone/x.txt"), ENOENT, "the folder " + Path("gone/") + " does not exist"},
      {Path("gone/deeper/x.txt"), ENOENT, "the folder " + Path("gone/") + " does not exist"},
      {Path("out/sub/../x.txt"), ENOENT, "the folder " + Path("out/sub/") + " does not exist"},
      {"c:\\x\\y.txt", ENOENT, "the folder " + Path("x/") + " does not exist"},
      {Path("taken"), EISDIR, "Access to " + Path("taken") + " was denied."},
      {"c:\\LOCKED\\y.txt", EACCES, "Access to " + Path("Locked/y.txt") + " was denied."},
      {Path("plain/x.txt"), ENOTDIR, Path("plain/x.txt") + " contains an incorrect path."},
      {Path("plain/sub/x.txt"), ENOTDIR, Path("plain/sub/x.txt") + " contains an incorrect path."},
      {Path("link/x.txt"), ENOENT, Path("link/x.txt") + " was not found."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::string why;
    EXPECT_FALSE(WriteWholeFile(c.path, "x", why));
    EXPECT_EQ(why, c.why);
    EXPECT_EQ(WriteFailureReason(c.path, c.error), c.why);
  }
  ::chmod(Path("Locked").c_str(), 0755);
  EXPECT_FALSE(FolderExists(Path("gone")));
  EXPECT_TRUE(Leftovers().empty());
}

TEST(SplitLinesTest, AcceptsLfAndCrLf) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("a"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\n"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("\n\n"), (Lines{"", ""}));
  EXPECT_EQ(SplitLines("a\r\r\n"), Lines{"a\r"});
  EXPECT_EQ(SplitLines("x\ty\n\r\nz"), (Lines{"x\ty", "", "z"}));
}

}  // namespace
