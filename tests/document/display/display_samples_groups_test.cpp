// The Display Samples dialog's groups: made, listed, reset and deleted
// through GroupNames.CFG, one result kind at a time, and what a file that
// cannot be written or read does to them.
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include "core/GroupsFile.h"
#include "platform/File.h"
#include "resources/GroupDialogs.h"
#include "tests/document/display/display_samples_test_support.h"

namespace core = qova::core;

namespace qova::test {
namespace {

using Names = std::vector<std::string>;
namespace ids = qova::resources::display;

class DisplayGroupsTest : public DisplaySamplesTest {
 protected:
  DisplayGroupsTest() {
    for (const char* name : {"a", "b", "c", "d"}) {
      WriteResult(std::string(name) + ".CFN");
      WriteResult(std::string(name) + ".CFS");
    }
  }
  ~DisplayGroupsTest() override {
    platform::SetAtomicStageHook(nullptr);
    ::chmod(ResultFolder().c_str(), 0755);
  }

  [[nodiscard]] CGrouP Groups() const {
    CGrouP groups;
    EXPECT_TRUE(core::LoadGroupsFile(ResultFolder(), groups));
    return groups;
  }
  void StoreGroups(const std::vector<SampleGroup>& list) {
    CGrouP groups;
    groups.Groups = list;
    ASSERT_TRUE(core::StoreGroupsFile(ResultFolder(), groups));
  }
  void NameNextGroup(const std::string& name) {
    Ui().OnDialog(qova::resources::kGroupSetDialog,
                  [name](DialogDriver& g) { g.Type(qova::resources::kGroupSetNewName, name).Ok(); });
  }
  static SampleGroup Group(std::uint8_t kind, const std::string& name, const Names& members) {
    return SampleGroup{kind, static_cast<std::int32_t>(members.size()), members, name};
  }
};

TEST_F(DisplayGroupsTest, SetAsAGroupStoresTheCheckedNamesInListOrderUnderTheShownKind) {
  OpenDialog([this](DialogDriver& d) {
    d.Click(ids::kSetAsGroup);  // nothing checked
    CheckLines(d, {"d", "b", "a"});
    NameNextGroup("trio");
    d.Click(ids::kSetAsGroup);
    EXPECT_EQ(d.Items(ids::kGroups), (Names{"trio"}));
    d.Click(ids::kSelfAnalysis);
    EXPECT_EQ(d.Items(ids::kGroups), Names{});
    d.Click(ids::kCheckAll);
    NameNextGroup("selves");
    d.Click(ids::kSetAsGroup);
    EXPECT_EQ(d.Items(ids::kGroups), (Names{"selves"}));
  });
  EXPECT_EQ(Messages(), (Names{"Select more than one samples"}));
  EXPECT_EQ(Groups().Groups, (std::vector<SampleGroup>{Group(0, "trio", {"a", "b", "d"}),
                                                       Group(1, "selves", {"a", "b", "c", "d"})}));
}

TEST_F(DisplayGroupsTest, SelectResetAndDeleteActOnTheShownKindsGroupOnly) {
  StoreGroups({Group(1, "same", {"c"}), Group(0, "other", {"a"}), Group(0, "same", {"a", "gone"})});
  OpenDialog([](DialogDriver& d) {
    EXPECT_EQ(d.Items(ids::kGroups), (Names{"other", "same"}));
    d.Click(ids::kResetGroup);  // no group chosen
    d.Select(ids::kGroups, "same").Click(ids::kSelectGroup);
    // Listed as stored, checked, without the filters.
    EXPECT_EQ(d.Items(ids::kSampleList), (Names{"a", "gone"}));
    EXPECT_EQ(d.ItemCheck(ids::kSampleList, 1), 1);
    d.Click(ids::kNew);
    CheckLines(d, {"b", "c"});
    d.Select(ids::kGroups, "same").Click(ids::kResetGroup);
    EXPECT_EQ(d.CurSel(ids::kGroups), -1);
  });
  EXPECT_EQ(Messages(), (Names{"Select a group"}));
  EXPECT_EQ(Groups().Groups, (std::vector<SampleGroup>{Group(1, "same", {"c"}), Group(0, "other", {"a"}),
                                                       Group(0, "same", {"b", "c"})}));

  messages_.Clear();
  messages_.QueueAnswer(IDYES);
  OpenDialog([](DialogDriver& d) {
    d.Click(ids::kSelfAnalysis).Select(ids::kGroups, "same").Click(ids::kSelectGroup);
    EXPECT_EQ(d.Items(ids::kSampleList), (Names{"c"}));
    d.Click(ids::kDeleteGroup);
    EXPECT_EQ(d.Items(ids::kGroups), Names{});
  });
  EXPECT_EQ(Messages(), (Names{"Do you really want to remove this group?"}));
  EXPECT_EQ(Groups().Groups, (std::vector<SampleGroup>{Group(0, "other", {"a"}), Group(0, "same", {"b", "c"})}));
}

TEST_F(DisplayGroupsTest, DeleteAnsweredNoOrWithoutAGroupLeavesTheFileByteForByte) {
  StoreGroups({Group(0, "keep", {"a", "b"})});
  const std::string before = Bytes(core::GroupsFilePath(ResultFolder()));
  messages_.QueueAnswer(IDNO);
  OpenDialog([](DialogDriver& d) {
    d.Click(ids::kDeleteGroup);
    d.Select(ids::kGroups, "keep").Click(ids::kDeleteGroup);
    EXPECT_EQ(d.Items(ids::kGroups), (Names{"keep"}));
  });
  EXPECT_EQ(Messages(), (Names{"Do you really want to remove this group?"}));
  EXPECT_EQ(Bytes(core::GroupsFilePath(ResultFolder())), before);
}

TEST_F(DisplayGroupsTest, AFailedWriteIsReportedAndTheGroupsStayAsTheFileHoldsThem) {
  StoreGroups({Group(0, "old", {"a"})});
  const std::string before = Bytes(core::GroupsFilePath(ResultFolder()));
  ASSERT_EQ(::chmod(ResultFolder().c_str(), 0555), 0);
  // Permissions do not stop the superuser; the replace then fails where a
  // read-only folder would make it fail.
  if (::geteuid() == 0) {
    platform::SetAtomicStageHook([](platform::AtomicStage stage, const std::string& target) {
      if (stage == platform::AtomicStage::TempCreated) throw CFileException(CFileException::accessDenied, EACCES, target);
    });
  }
  OpenDialog([this](DialogDriver& d) {
    CheckLines(d, {"b"});
    NameNextGroup("new");
    d.Click(ids::kSetAsGroup);
    EXPECT_EQ(d.Items(ids::kGroups), (Names{"old"}));
    // Nor does a later write bring the lost group back.
    platform::SetAtomicStageHook(nullptr);
    ::chmod(ResultFolder().c_str(), 0755);
    d.Select(ids::kGroups, "old").Click(ids::kResetGroup);
  });
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_THAT(Messages()[0], ::testing::HasSubstr(core::GroupsFilePath(ResultFolder())));
  EXPECT_NE(Bytes(core::GroupsFilePath(ResultFolder())), before);
  EXPECT_EQ(Groups().Groups, (std::vector<SampleGroup>{Group(0, "old", {"b"})}));
}

TEST_F(DisplayGroupsTest, AnUnreadableFileIsReportedAndNeverOverwritten) {
  const std::string damaged = std::string("\x02\x00\x00\x00\x03", 5);
  ASSERT_TRUE(platform::WriteWholeFile(core::GroupsFilePath(ResultFolder()), damaged));
  OpenDialog([this](DialogDriver& d) {
    CheckLines(d, {"a"});
    NameNextGroup("new");
    d.Click(ids::kSetAsGroup);
  });
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_THAT(Messages()[0], ::testing::HasSubstr(core::GroupsFilePath(ResultFolder())));
  EXPECT_THAT(Messages()[1], ::testing::HasSubstr("cannot be read"));
  EXPECT_EQ(Bytes(core::GroupsFilePath(ResultFolder())), damaged);
}

}  // namespace
}  // namespace qova::test
