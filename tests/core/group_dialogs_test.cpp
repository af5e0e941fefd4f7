// Sample groups as a user makes them: "modify or make a group" over the
// groups file of a generated study's result folder, the name dialog, and
// what the file holds afterwards, byte for byte.
#include <unistd.h>

#include <cerrno>
#include <functional>

#include <sys/stat.h>

#include "core/GroupManage.h"
#include "core/GroupSet.h"
#include "core/GroupsFile.h"
#include "resources/GroupDialogs.h"
#include "tests/core/CoreDialogTestSupport.h"

namespace core = qova::core;

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using namespace qova::resources;

// An archive string of fewer than 255 bytes: its length byte, then the bytes.
std::string Str(const std::string& s) { return std::string(1, char(s.size())) + s; }
std::string Int32(std::uint32_t v) {
  return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
}
std::string GroupBytes(const std::string& name, char kind, const std::vector<std::string>& members) {
  std::string bytes = Str(name) + kind + Int32(std::uint32_t(members.size()));
  for (const std::string& m : members) bytes += Str(m);
  return bytes;
}

// The file after "Tumours" (non-self results) and then "Pairs" (self results).
const std::string kTwoGroups =
    Int32(2) + GroupBytes("Tumours", 0, {"Test01", "Ref01"}) + GroupBytes("Pairs", 1, {"Test01N"});

class GroupDialogTest : public CoreDialogTest {
 protected:
  GroupDialogTest() { study_ = WriteStudy(); }
  ~GroupDialogTest() override { platform::SetAtomicStageHook(nullptr); }

  [[nodiscard]] std::string GroupsPath() const { return core::GroupsFilePath(ResultFolder()); }
  [[nodiscard]] std::string FileBytes() const { return Bytes(GroupsPath()); }

  // Runs "modify or make a group" for samples of one kind.
  INT_PTR Manage(std::uint8_t kind, std::vector<std::string> members, platform::ui::DialogScript script) {
    Ui().OnDialog(kGroupManageDialog, std::move(script));
    CGroupManage dialog(ResultFolder());
    dialog.Kind = kind;
    dialog.MemberNames = std::move(members);
    return dialog.DoModal();
  }
  INT_PTR MakeGroup(std::uint8_t kind, std::vector<std::string> members, const std::string& name) {
    return Manage(kind, std::move(members), [name](DialogDriver& d) { d.Type(kGroupManageNewName, name).Ok(); });
  }

  samplegen::Study study_;
};

TEST_F(GroupDialogTest, FirstGroupMakesTheFileNewGroupsGoLastAndAChangedOneKeepsItsPlace) {
  ASSERT_FALSE(platform::FileExists(GroupsPath()));
  std::vector<std::string> firstList{"not shown"};
  bool makeNewChecked = false;
  ASSERT_EQ(Manage(0, {study_.Test.Name, "Ref01"}, [&](DialogDriver& d) {
              firstList = d.Items(kGroupManageExisting);
              makeNewChecked = d.IsChecked(kGroupManageMakeNew);
              d.Type(kGroupManageNewName, "Tumours").Ok();
            }),
            IDOK);
  EXPECT_TRUE(firstList.empty());
  EXPECT_TRUE(makeNewChecked);
  ASSERT_EQ(MakeGroup(1, {"Test01N"}, "Pairs"), IDOK);
  EXPECT_EQ(FileBytes(), kTwoGroups);

  // Names that differ only in case are two groups; the drop list keeps the
  // file's order although its style sorts.
  ASSERT_EQ(MakeGroup(0, {"Ref02"}, "tumours"), IDOK);
  ASSERT_EQ(MakeGroup(0, {"Ref03"}, "Normals"), IDOK);
  std::vector<std::string> nonSelfList, selfList;
  Manage(1, {"Test01N"}, [&](DialogDriver& d) {
    selfList = d.Items(kGroupManageExisting);
    d.Cancel();
  });
  ASSERT_EQ(Manage(0, {"Ref03", "Ref01"}, [&](DialogDriver& d) {
              nonSelfList = d.Items(kGroupManageExisting);
              d.Click(kGroupManageModify).Select(kGroupManageExisting, "Tumours").Ok();
            }),
            IDOK);
  EXPECT_EQ(nonSelfList, (std::vector<std::string>{"Tumours", "tumours", "Normals"}));
  EXPECT_EQ(selfList, std::vector<std::string>{"Pairs"});
  EXPECT_EQ(FileBytes(), Int32(4) + GroupBytes("Tumours", 0, {"Ref03", "Ref01"}) +
                             GroupBytes("Pairs", 1, {"Test01N"}) + GroupBytes("tumours", 0, {"Ref02"}) +
                             GroupBytes("Normals", 0, {"Ref03"}));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(GroupDialogTest, RefusalsKeepTheDialogOpenAndTheFileAsItWas) {
  ASSERT_TRUE(platform::WriteWholeFile(GroupsPath(), kTwoGroups));
  struct Case {
    const char* what;
    std::vector<std::string> members;
    std::function<void(DialogDriver&)> act;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"modify without a group", {"Ref01"}, [](DialogDriver& d) { d.Click(kGroupManageModify); },
       "Select or make a new group"},
      {"new without a name", {"Ref01"}, [](DialogDriver&) {}, "Enter the name of a new group"},
      {"no members", {}, [](DialogDriver& d) { d.Type(kGroupManageNewName, "Fresh"); }, "Select at least one member"},
      {"name of a group of this kind", {"Ref01"}, [](DialogDriver& d) { d.Type(kGroupManageNewName, "Tumours"); },
       "The name is already used. \nPlease use another name."},
      {"name of a group of the other kind", {"Ref01"}, [](DialogDriver& d) { d.Type(kGroupManageNewName, "Pairs"); },
       "The name is already used. \nPlease use another name."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    messages_.Clear();
    bool stayedOpen = false;
    std::string nameAfter;
    EXPECT_EQ(Manage(0, c.members, [&](DialogDriver& d) {
                c.act(d);
                d.Ok();
                stayedOpen = d.IsOpen();
                nameAfter = d.Text(kGroupManageNewName);
                d.Cancel();
              }),
              IDCANCEL);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(FileBytes(), kTwoGroups);
  }
}

TEST_F(GroupDialogTest, ZeroGroupsAreFourZeroBytesAndAnEmptyList) {
  ASSERT_TRUE(core::StoreGroupsFile(ResultFolder(), CGrouP{}));
  EXPECT_EQ(FileBytes(), std::string(4, '\0'));
  std::vector<std::string> shown{"not shown"};
  Manage(0, {"Ref01"}, [&](DialogDriver& d) {
    shown = d.Items(kGroupManageExisting);
    d.Cancel();
  });
  EXPECT_TRUE(shown.empty());
}

TEST_F(GroupDialogTest, AKindByteTwoReadsAsOneAndIsStoredAsOne) {
  ASSERT_TRUE(platform::WriteWholeFile(GroupsPath(), Int32(1) + GroupBytes("Odd", 2, {"Test01N"})));
  CGrouP groups;
  ASSERT_TRUE(core::LoadGroupsFile(ResultFolder(), groups));
  ASSERT_EQ(groups.Groups.size(), 1u);
  EXPECT_EQ(groups.Groups[0].Kind, 1);
  ASSERT_EQ(Manage(1, {"Test01N", "Test01"}, [](DialogDriver& d) {
              d.Click(kGroupManageModify).Select(kGroupManageExisting, "Odd").Ok();
            }),
            IDOK);
  EXPECT_EQ(FileBytes(), Int32(1) + GroupBytes("Odd", 1, {"Test01N", "Test01"}));
}

TEST_F(GroupDialogTest, AFailedWriteKeepsTheOldFileAndTheDialogOpen) {
  ASSERT_TRUE(platform::WriteWholeFile(GroupsPath(), kTwoGroups));
  ASSERT_EQ(::chmod(ResultFolder().c_str(), 0555), 0);
  // Permissions do not stop the superuser; the replace then fails where a
  // read-only folder would make it fail.
  if (::geteuid() == 0) {
    platform::SetAtomicStageHook([](platform::AtomicStage stage, const std::string& target) {
      if (stage == platform::AtomicStage::TempCreated) throw CFileException(CFileException::accessDenied, EACCES, target);
    });
  }
  bool stayedOpen = false;
  INT_PTR result = Manage(0, {"Ref02"}, [&](DialogDriver& d) {
    d.Type(kGroupManageNewName, "Later").Ok();
    stayedOpen = d.IsOpen();
    platform::SetAtomicStageHook(nullptr);
    ::chmod(ResultFolder().c_str(), 0755);
    d.Ok();  // the same input again, once the folder can be written
  });
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find(GroupsPath()), std::string::npos) << Messages()[0];
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(FileBytes(), Int32(3) + kTwoGroups.substr(4) + GroupBytes("Later", 0, {"Ref02"}));
}

TEST_F(GroupDialogTest, ADamagedFileIsReportedByNameAndNeverOverwritten) {
  const std::string hugeMembers = Int32(1) + Str("Big") + char(0) + Int32(0x7FFFFFFF) + Str("Test01");
  const std::vector<std::pair<const char*, std::string>> files = {
      {"truncated in a member name", kTwoGroups.substr(0, kTwoGroups.size() - 3)},
      {"truncated in a count", kTwoGroups.substr(0, 2)},
      {"member count 2^31 - 1", hugeMembers},
      {"group count 2^31 - 1", Int32(0x7FFFFFFF) + kTwoGroups.substr(4)},
  };
  for (const auto& [what, bytes] : files) {
    SCOPED_TRACE(what);
    messages_.Clear();
    ASSERT_TRUE(platform::WriteWholeFile(GroupsPath(), bytes));
    bool opened = false;
    EXPECT_EQ(Manage(0, {"Ref01"}, [&](DialogDriver& d) {
                opened = true;
                d.Type(kGroupManageNewName, "Fresh").Ok();
              }),
              IDCANCEL);
    EXPECT_FALSE(opened);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find(GroupsPath()), std::string::npos) << Messages()[0];
    EXPECT_EQ(FileBytes(), bytes);
  }
}

TEST_F(GroupDialogTest, NameDialogRefusesEmptyAndUsedNamesAndWritesNothing) {
  struct Case {
    const char* typed;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {"", {"Enter a new group name"}},
      {"Tumours", {"The name is already used"}},
      {"tumours", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    messages_.Clear();
    std::vector<std::string> listed;
    bool canSelect = true;
    Ui().OnDialog(kGroupSetDialog, [&](DialogDriver& d) {
      listed = d.Items(kGroupSetExistingNames);
      try {
        d.Select(kGroupSetExistingNames, 0);
      } catch (const platform::ui::ScriptError&) {
        canSelect = false;
      }
      d.Type(kGroupSetNewName, c.typed).Ok();
      if (d.IsOpen()) d.Cancel();
    });
    CGroupSet dialog;
    dialog.ExistingNames = {"Tumours", "Pairs"};
    const INT_PTR result = dialog.DoModal();
    EXPECT_EQ(result, c.messages.empty() ? IDOK : IDCANCEL);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(listed, (std::vector<std::string>{"Tumours", "Pairs"}));
    EXPECT_FALSE(canSelect);
    if (result == IDOK) {
      EXPECT_EQ(dialog.NewName, c.typed);
    }
  }
  EXPECT_TRUE(platform::FindFiles(ResultFolder(), "*").empty());
}

}  // namespace
}  // namespace qova::test
