// The settings record against the profile: defaults of an empty settings
// file, which field each key lands in, the float scaling, and what a save
// writes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/ProgramSetting.h"
#include "platform/Profile.h"

namespace {

// A memory store that remembers every write.
class RecordingStore : public platform::MemorySettingsStore {
 public:
  struct Write {
    std::string section, key, value;
  };
  bool Set(std::string_view section, std::string_view key, std::string_view value) override {
    writes.push_back({std::string(section), std::string(key), std::string(value)});
    return MemorySettingsStore::Set(section, key, value);
  }
  std::vector<Write> writes;
};

struct Key {
  const char* section;
  const char* key;
  std::string value;  // as the settings file holds it
};

// The 83 display keys, in the order of the block's words.
const std::vector<Key>& DisplayKeys() {
  static const std::vector<Key> keys = {
      {"PRINT", "ALL_X", "100"}, {"PRINT", "ALL_Y", "100"}, {"PRINT", "EACH_X", "100"},
      {"PRINT", "EACH_Y", "100"}, {"PRINT", "MULTI_X", "100"}, {"PRINT", "MULTI_Y", "100"},
      {"PRINT", "ONE_ALL", "0"}, {"PRINT", "ONE_EACH", "0"}, {"PRINT", "ONE_MULTI", "0"},
      {"DISP", "ALL_X", "100"}, {"DISP", "ALL_Y", "100"}, {"DISP", "EACH_X", "100"},
      {"DISP", "EACH_Y", "100"}, {"DISP", "MULTI_X", "100"}, {"DISP", "MULTI_Y", "100"},
      {"SCALE", "SELF_ISLOG", "0"}, {"SCALE", "NONSELF_ISLOG", "1"}, {"SCALE", "MAG_SELF", "100"},
      {"SCALE", "MAG_NONSELF", "100"},
      {"ITEMS", "MULTI", "1798"}, {"ITEMS", "SELF", "27"}, {"ITEMS", "NONSELF", "1079"},
      {"ITEMS", "MULTIALL", "1024"}, {"ITEMS", "HMMHONLY", "0"}, {"ITEMS", "SNPINTERVALWGV", "10"},
      {"COLOR", "C1", "16711680"}, {"COLOR", "C2", "255"}, {"COLOR", "C3", "25600"},
      {"COLOR", "C4", "16711680"}, {"COLOR", "C5", "25600"}, {"COLOR", "C6", "12753396"},
      {"COLOR", "C7", "255"}, {"COLOR", "C8", "16711680"}, {"COLOR", "C9", "3289650"},
      {"COLOR", "C10", "6579300"}, {"COLOR", "C11", "6579300"},
      {"COLOR", "W1", "3"}, {"COLOR", "W2", "1"}, {"COLOR", "W3", "1"}, {"COLOR", "W4", "3"},
      {"COLOR", "LINETYPE9", "0"}, {"COLOR", "LINETYPE10", "2"}, {"COLOR", "LINETYPE11", "3"},
      {"COLOR2", "SAME", "16711680"}, {"COLOR2", "NEXT", "16776960"}, {"COLOR2", "ONE", "16711935"},
      {"COLOR2", "2SD", "16711680"}, {"COLOR2", "FRAG", "0"}, {"COLOR2", "SD", "0"},
      {"COLOR2", "FRAG_SAME", "0"}, {"COLOR2", "FRAG_NEXT", "0"}, {"COLOR2", "FRAG_ONE", "0"},
      {"COLOR2", "SD_2SD", "0"},
      {"COLORM", "CN0", "16711680"}, {"COLORM", "CN1", "16777088"}, {"COLORM", "CN2", "65535"},
      {"COLORM", "CN3", "16744703"}, {"COLORM", "CN4", "8421631"}, {"COLORM", "CN5", "4210943"},
      {"COLORM", "CN6", "255"},
      {"COLORM", "LOH0", "65535"}, {"COLORM", "LOH1", "16755884"}, {"COLORM", "LOH2", "16744576"},
      {"COLORM", "LOH3", "16728128"}, {"COLORM", "LOH4", "16711680"},
      {"COLORM", "thLOH1", "30"}, {"COLORM", "thLOH2", "300"}, {"COLORM", "thLOH3", "600"},
      {"COLORM", "thLOH4", "1000"},
      {"INTEGRATE", "COL1", "150"}, {"INTEGRATE", "COL2", "255"}, {"INTEGRATE", "COL3", "38400"},
      {"INTEGRATE", "COL4", "65280"}, {"INTEGRATE", "WIDTH", "20"},
      {"MARKER", "WIDTH", "10"}, {"MARKER", "INTERVAL", "7"},
      {"MARKER", "COL0", "16711680"}, {"MARKER", "COL1", "16777088"}, {"MARKER", "COL2", "65535"},
      {"MARKER", "COL3", "16744703"}, {"MARKER", "COL4", "8421631"}, {"MARKER", "COL5", "4210943"},
      {"MARKER", "COL6", "255"},
  };
  return keys;
}

// The 38 written keys after the display block.
const std::vector<Key>& RecordKeys() {
  static const std::vector<Key> keys = {
      {"Default Section", "DefaultDataFolder", "c:\\"},
      {"Default Section", "DefaultArrayDataFolder", "c:\\"},
      {"Default Section", "DefaultAnalysisResultFolder", "c:\\"},
      {"Default Section", "DefaultLibraryFolder", "c:\\"},
      {"Default Section", "DefaultOutputFolder", "c:\\"},
      {"AUTO", "MAXREF", "10"}, {"AUTO", "DOSELF", "1"}, {"AUTO", "DONONSELF", "1"},
      {"AUTO", "SKIPALREADY", "0"}, {"AUTO", "LIMITREF", "0"}, {"AUTO", "LIMITREFATTR", "5"},
      {"AUTO", "LIMITREFIDENT", "1"}, {"AUTO", "LIMITREFSTR", ""}, {"AUTO", "EXCLUDESELF", "0"},
      {"ASCN", "THRESHOLD", "140"}, {"ASCN", "ALPHA", "170"}, {"ASCN", "BETA", "60"},
      {"ASCN", "KOSAMBI", "1000"}, {"ASCN", "MARKAI", "7"},
      {"ASCN", "THRESHOLDS", "-120"}, {"ASCN", "ALPHAS", "300"}, {"ASCN", "BETAS", "360"},
      {"ASCN", "KOSAMBIS", "1000"}, {"ASCN", "MARKLOH", "3"},
      {"ASCN", "THRESHOLDL", "100"}, {"ASCN", "ALPHAL", "280"}, {"ASCN", "BETAL", "310"},
      {"ASCN", "KOSAMBIL", "1000"}, {"ASCN", "MARKUPD", "1"},
      {"ASCN", "LOHOP", "0"}, {"ASCN", "XOP", "0"}, {"ASCN", "AUTOAI", "0"},
      {"ASS", "ANALYSISTYPE", "0"}, {"ASS", "SAMPLE_CALLRATE", "900"}, {"ASS", "SNP_CALLRATE", "900"},
      {"ASS", "SNP_MAF", "0"}, {"ASS", "SNP_CALLRATE_DIF", "200"}, {"ASS", "NUM_PERMUTATION", "10000"},
  };
  return keys;
}

using KeyMap = std::map<std::pair<std::string, std::string>, std::string>;

KeyMap ExpectedDefaults() {
  KeyMap expected;
  for (const auto* list : {&DisplayKeys(), &RecordKeys()})
    for (const Key& k : *list) expected[{k.section, k.key}] = k.value;
  return expected;
}

KeyMap Written(const RecordingStore& store) {
  KeyMap written;
  for (const auto& w : store.writes) written[{w.section, w.key}] = w.value;
  return written;
}

struct RecordingProfile {
  RecordingProfile() {
    auto owned = std::make_unique<RecordingStore>();
    store = owned.get();
    profile.SetStore(std::move(owned));
  }
  platform::Profile profile;
  RecordingStore* store = nullptr;
};

TEST(SettingProfile, EmptySettingsFileGivesTheDocumentedDefaults) {
  RecordingProfile rp;
  CProgramSetting setting;
  setting.LoadFromProfile(rp.profile);
  ASSERT_TRUE(setting.SaveToProfile(rp.profile));

  EXPECT_EQ(rp.store->writes.size(), 121u) << "every key exactly once";
  EXPECT_EQ(Written(*rp.store), ExpectedDefaults());
}

// Views copy the block as words, so each key must land in its own word.
TEST(SettingProfile, EachDisplayKeyFillsItsWordOfTheBlock) {
  platform::Profile profile;
  const auto& keys = DisplayKeys();
  for (std::size_t i = 0; i < keys.size(); ++i)
    ASSERT_TRUE(profile.WriteProfileInt(keys[i].section, keys[i].key, 5000 + static_cast<int>(i)));

  CDisplaySetting block;
  block.LoadFromProfile(profile);
  std::int32_t words[88];
  std::memcpy(words, &block, sizeof words);
  for (std::size_t i = 0; i < keys.size(); ++i)
    EXPECT_EQ(words[i], 5000 + static_cast<int>(i)) << keys[i].section << "/" << keys[i].key;
  const std::int32_t layout[5] = {100, 100, 200, 0, 0};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(words[83 + i], layout[i]) << "layout word " << 84 + i;
}

TEST(SettingProfile, EachRecordKeyFillsItsOwnField) {
  platform::Profile profile;
  const auto& keys = RecordKeys();
  for (std::size_t i = 0; i < keys.size(); ++i)
    ASSERT_TRUE(profile.WriteProfileString(keys[i].section, keys[i].key, std::to_string(200 + i)));
  ASSERT_TRUE(profile.WriteProfileInt("EXTRA", "NONSELFALLELE", 1));

  CProgramSetting s;
  s.LoadFromProfile(profile);
  const std::vector<std::pair<const char*, double>> fields = {
      {"MAXREF", s.MAXREF}, {"DOSELF", s.DOSELF}, {"DONONSELF", s.DONONSELF},
      {"SKIPALREADY", s.SKIPALREADY}, {"LIMITREF", s.LIMITREF}, {"LIMITREFATTR", s.LIMITREFATTR},
      {"LIMITREFIDENT", s.LIMITREFIDENT}, {"LIMITREFSTR", std::stod(s.LIMITREFSTR)},
      {"EXCLUDESELF", s.EXCLUDESELF},
      {"THRESHOLD", s.THRESHOLD * 1000}, {"ALPHA", s.ALPHA * 1000}, {"BETA", s.BETA * 1000},
      {"KOSAMBI", s.KOSAMBI * 1000}, {"MARKAI", s.MARKAI},
      {"THRESHOLDS", s.THRESHOLDS * 1000}, {"ALPHAS", s.ALPHAS * 1000}, {"BETAS", s.BETAS * 1000},
      {"KOSAMBIS", s.KOSAMBIS * 1000}, {"MARKLOH", s.MARKLOH},
      {"THRESHOLDL", s.THRESHOLDL * 1000}, {"ALPHAL", s.ALPHAL * 1000}, {"BETAL", s.BETAL * 1000},
      {"KOSAMBIL", s.KOSAMBIL * 1000}, {"MARKUPD", s.MARKUPD},
      {"LOHOP", s.LOHOP}, {"XOP", s.XOP}, {"AUTOAI", s.AUTOAI},
      {"ANALYSISTYPE", s.ANALYSISTYPE}, {"SAMPLE_CALLRATE", s.SAMPLE_CALLRATE * 1000},
      {"SNP_CALLRATE", s.SNP_CALLRATE * 1000}, {"SNP_MAF", s.SNP_MAF * 1000},
      {"SNP_CALLRATE_DIF", s.SNP_CALLRATE_DIF * 1000}, {"NUM_PERMUTATION", s.NUM_PERMUTATION},
  };
  std::map<std::string, double> byKey(fields.begin(), fields.end());
  byKey["DefaultDataFolder"] = std::stod(s.DefaultDataFolder);
  byKey["DefaultArrayDataFolder"] = std::stod(s.DefaultArrayDataFolder);
  byKey["DefaultAnalysisResultFolder"] = std::stod(s.DefaultAnalysisResultFolder);
  byKey["DefaultLibraryFolder"] = std::stod(s.DefaultLibraryFolder);
  byKey["DefaultOutputFolder"] = std::stod(s.DefaultOutputFolder);
  ASSERT_EQ(byKey.size(), keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i)
    EXPECT_NEAR(byKey.at(keys[i].key), 200.0 + static_cast<double>(i), 1e-3) << keys[i].key;
  EXPECT_EQ(s.NONSELFALLELE, 1);
}

// What a typed float becomes in the settings file.
TEST(SettingProfile, FloatsAreStoredInRoundedThousandths) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<std::pair<float, std::string>> cases = {
      {-0.12f, "-120"}, {0.17f, "170"}, {0.9f, "900"},  // 0.9f lies just below 0.9
      {0.9995f, "999"}, {0.0f, "0"}, {-2.5f, "-2500"}, {1e12f, "2147483647"},
      {-1e12f, "-2147483648"}, {nan, "0"},
  };
  for (const auto& [typed, stored] : cases) {
    RecordingProfile rp;
    CProgramSetting s;
    s.ALPHAS = typed;
    s.SNP_CALLRATE = typed;
    ASSERT_TRUE(s.SaveToProfile(rp.profile));
    const KeyMap written = Written(*rp.store);
    EXPECT_EQ(written.at({"ASCN", "ALPHAS"}), stored) << typed;
    EXPECT_EQ(written.at({"ASS", "SNP_CALLRATE"}), stored) << typed;
  }
}

TEST(SettingProfile, SaveNeverWritesNonSelfAllele) {
  RecordingProfile rp;
  ASSERT_TRUE(rp.profile.WriteProfileInt("EXTRA", "NONSELFALLELE", 1));
  rp.store->writes.clear();

  CProgramSetting s;
  s.LoadFromProfile(rp.profile);
  EXPECT_EQ(s.NONSELFALLELE, 1);
  s.NONSELFALLELE = 0;  // "Use Zenkor" switched off for this run
  ASSERT_TRUE(s.SaveToProfile(rp.profile));
  for (const auto& w : rp.store->writes) EXPECT_NE(w.key, "NONSELFALLELE");
  EXPECT_EQ(rp.profile.GetProfileInt("EXTRA", "NONSELFALLELE", 0), 1);

  // A settings file without the key does not get one either.
  RecordingProfile fresh;
  s.NONSELFALLELE = 1;
  ASSERT_TRUE(s.SaveToProfile(fresh.profile));
  EXPECT_FALSE(fresh.store->Get("EXTRA", "NONSELFALLELE").has_value());
}

}  // namespace
