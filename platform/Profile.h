#pragma once
// The framework's profile functions over a settings file. The registry key
// and section become INI sections; values are "key=value" lines, integers as
// decimal text. The file is $QOVA_CONFIG_HOME/qova/QOVA.ini and is replaced
// atomically on every write (or once at the end of a WriteBatch).
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  [[nodiscard]] virtual std::optional<std::string> Get(std::string_view section,
                                                       std::string_view key) const = 0;
  // False when the value could not be persisted (the old value stays).
  virtual bool Set(std::string_view section, std::string_view key, std::string_view value) = 0;
  // While a batch is open, Set only changes memory; the end persists once.
  virtual void BeginBatch() {}
  virtual bool EndBatch() { return true; }
  // A stored value that its reader could not use (an integer key holding
  // text): noted so that the store can say which line held it.
  virtual void NoteUnusableValue(std::string_view /*section*/, std::string_view /*key*/, std::string_view /*why*/) {}
  // What could not be read from the store's file, one text per line of the
  // file ("line 4: ..."), in line order; empty for a store without a file.
  [[nodiscard]] virtual std::vector<std::string> UnreadableLines() const { return {}; }
  // The file the store reads, or empty.
  [[nodiscard]] virtual std::string Origin() const { return {}; }
  // Why the store's file could not be written the last time a write failed
  // (the system's words), or empty.
  [[nodiscard]] virtual std::string WriteFailure() const { return {}; }
};

class MemorySettingsStore : public SettingsStore {
 public:
  std::optional<std::string> Get(std::string_view section, std::string_view key) const override;
  bool Set(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  std::map<std::string, std::map<std::string, std::string>, std::less<>> values_;
};

class IniSettingsStore : public SettingsStore {
 public:
  // Reads the file if it exists (LF or CR LF lines; sections and keys match
  // ignoring case, as the registry does). A line that cannot be read is
  // skipped and kept in UnreadableLines; every other line is read. A section
  // header without its "]" is such a line, and the lines below it stay in the
  // section above, as the system's own profile reader keeps them.
  explicit IniSettingsStore(std::string path);
  std::optional<std::string> Get(std::string_view section, std::string_view key) const override;
  bool Set(std::string_view section, std::string_view key, std::string_view value) override;
  void BeginBatch() override;
  bool EndBatch() override;
  void NoteUnusableValue(std::string_view section, std::string_view key, std::string_view why) override;
  [[nodiscard]] std::vector<std::string> UnreadableLines() const override;
  [[nodiscard]] std::string Origin() const override { return path_; }
  [[nodiscard]] std::string WriteFailure() const override { return writeFailure_; }
  [[nodiscard]] const std::string& Path() const { return path_; }

 private:
  bool Persist();
  void NoteUnreadable(int line, std::string_view text, std::string why);

  struct Entry {
    std::string key;
    std::string value;
    int line = 0;  // in the file as read; 0 for a value set since
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  struct UnreadableLine {
    int line = 0;
    std::string text;
  };
  std::string path_;
  std::vector<Section> sections_;
  std::vector<UnreadableLine> unreadable_;
  std::string writeFailure_;
  int batchDepth_ = 0;
};

// The default settings file path.
[[nodiscard]] std::string DefaultSettingsPath();

// The profile functions of the application object.
class Profile {
 public:
  Profile();  // an in-memory store until SetStore or UseSettingsFile
  void SetStore(std::unique_ptr<SettingsStore> store);
  // Uses the settings file at `path` (default: DefaultSettingsPath()).
  void UseSettingsFile(std::string path = {});
  [[nodiscard]] SettingsStore& Store() { return *store_; }

  // The registry key is recorded for completeness; the settings file is
  // already the application's own, so sections are used as given.
  void SetRegistryKey(std::string_view key) { registryKey_ = key; }
  [[nodiscard]] const std::string& RegistryKey() const { return registryKey_; }

  [[nodiscard]] int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const;
  [[nodiscard]] std::string GetProfileString(std::string_view section, std::string_view entry,
                                             std::string_view defaultValue = {}) const;
  bool WriteProfileInt(std::string_view section, std::string_view entry, int value);
  bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value);

  // The message that names the lines of the settings file that could not be
  // read, or nothing when every line was read.
  [[nodiscard]] std::optional<std::string> UnreadableLinesMessage() const;
  // The message for settings that could not be saved: the settings file and
  // why it could not be written, where the store knows them.
  [[nodiscard]] std::string NotSavedMessage() const;

 private:
  std::unique_ptr<SettingsStore> store_;
  std::string registryKey_;
};

// The profile of the running application.
Profile& AppProfile();

// Opens a batch on the application's store for its lifetime.
class ProfileBatch {
 public:
  explicit ProfileBatch(Profile& profile) : profile_(profile) { profile_.Store().BeginBatch(); }
  ~ProfileBatch() {
    if (open_) profile_.Store().EndBatch();
  }
  ProfileBatch(const ProfileBatch&) = delete;
  ProfileBatch& operator=(const ProfileBatch&) = delete;

  // Ends the batch now and tells whether its writes were persisted (the
  // destructor alone cannot report a failed write).
  [[nodiscard]] bool End() {
    if (!open_) return true;
    open_ = false;
    return profile_.Store().EndBatch();
  }

 private:
  Profile& profile_;
  bool open_ = true;
};

}  // namespace platform
