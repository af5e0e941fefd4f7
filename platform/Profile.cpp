#include "platform/Profile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace platform {

namespace {

// A line end inside a value would split it into two entries of the file.
bool Storable(std::string_view text) { return text.find_first_of("\r\n") == std::string_view::npos; }

// Signed decimal text as the integer profile functions read it. Values up to
// 0xFFFFFFFF are taken as the 32-bit word they were stored as, so a negative
// number written by another tool as unsigned comes back unchanged.
std::optional<int> ParseProfileInt(std::string_view text) {
  std::string trimmed = Trim(text);
  if (trimmed.empty()) return std::nullopt;
  std::size_t i = 0;
  bool negative = false;
  if (trimmed[0] == '+' || trimmed[0] == '-') {
    negative = trimmed[0] == '-';
    i = 1;
  }
  if (i == trimmed.size()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (; i < trimmed.size(); ++i) {
    char c = trimmed[i];
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > std::int64_t(std::numeric_limits<std::uint32_t>::max())) return std::nullopt;
  }
  std::int64_t value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min()) return std::nullopt;
  return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

}  // namespace

// ---- MemorySettingsStore -----------------------------------------------

std::optional<std::string> MemorySettingsStore::Get(std::string_view section, std::string_view key) const {
  auto s = values_.find(ToLower(section));
  if (s == values_.end()) return std::nullopt;
  auto k = s->second.find(ToLower(key));
  if (k == s->second.end()) return std::nullopt;
  return k->second;
}

bool MemorySettingsStore::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!Storable(value)) return false;
  values_[ToLower(section)][ToLower(key)] = std::string(value);
  return true;
}

// ---- IniSettingsStore --------------------------------------------------

IniSettingsStore::IniSettingsStore(std::string path) : path_(std::move(path)) {
  std::string text;
  if (!ReadWholeFile(path_, text)) return;
  // Editors that save UTF-8 may put a byte-order mark first; left in place it
  // would hide the first section header and every value under it.
  constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
  if (text.starts_with(kUtf8Bom)) text.erase(0, kUtf8Bom.size());
  Section* current = nullptr;
  // One mistyped header must not cost the values below it: they stay in the
  // section above. Where they went is known at the next header or the end.
  struct UnclosedHeader {
    int line = 0;
    std::string text;
    std::optional<std::string> above;  // the section its keys go to
    bool keysBelow = false;
  };
  std::optional<UnclosedHeader> unclosed;
  const auto tellUnclosed = [&] {
    if (!unclosed) return;
    std::string where = "no key follows it";
    if (unclosed->keysBelow) {
      where = unclosed->above ? "the lines below it are read as part of [" + *unclosed->above + "]"
                              : std::string("the lines below it are in no [section]");
    }
    NoteUnreadable(unclosed->line, unclosed->text, "no closing \"]\"; " + where);
    unclosed.reset();
  };
  int number = 0;
  for (const std::string& raw : SplitLines(text)) {
    ++number;
    std::string line = TrimLeft(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      tellUnclosed();
      std::string trimmed = TrimRight(line);
      if (trimmed.back() != ']') {
        unclosed = UnclosedHeader{number, trimmed, current ? std::optional(current->name) : std::nullopt};
        continue;
      }
      std::string name = trimmed.substr(1, trimmed.size() - 2);
      current = nullptr;
      for (Section& s : sections_)
        if (EqualsNoCase(s.name, name)) current = &s;
      if (!current) {
        sections_.push_back({name, {}});
        current = &sections_.back();
      }
      continue;
    }
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) {
      NoteUnreadable(number, line, "not a \"key=value\" line");
      continue;
    }
    if (!current) {
      if (unclosed) unclosed->keysBelow = true;
      NoteUnreadable(number, line, "in no [section]");
      continue;
    }
    std::string key = TrimRight(line.substr(0, eq));
    // A carriage return inside a line cannot be written back (values never
    // hold line breaks), so the value ends there: a save would otherwise keep
    // failing on a value nobody typed.
    std::string value = line.substr(eq + 1);
    value = value.substr(0, value.find('\r'));
    if (key.empty() || !Storable(key)) {
      NoteUnreadable(number, line, "no key before \"=\"");
      continue;
    }
    if (unclosed) unclosed->keysBelow = true;
    bool replaced = false;
    for (Entry& entry : current->entries) {
      if (EqualsNoCase(entry.key, key)) {
        entry.value = value;
        entry.line = number;
        replaced = true;
      }
    }
    if (!replaced) current->entries.push_back({key, value, number});
  }
  tellUnclosed();
}

void IniSettingsStore::NoteUnreadable(int line, std::string_view text, std::string why) {
  // A binary file read as settings must not make a message screens long.
  constexpr std::size_t kShownText = 60;
  std::string shown(text.substr(0, kShownText));
  if (text.size() > kShownText) shown += "...";
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  unreadable_.push_back({line, platform::Format("line %d: %s (%s)", line, shown.c_str(), why.c_str())});
}

void IniSettingsStore::NoteUnusableValue(std::string_view section, std::string_view key, std::string_view why) {
  for (const Section& s : sections_) {
    if (!EqualsNoCase(s.name, section)) continue;
    for (const Entry& entry : s.entries) {
      if (!EqualsNoCase(entry.key, key) || entry.line == 0) continue;
      for (const UnreadableLine& noted : unreadable_)
        if (noted.line == entry.line) return;
      NoteUnreadable(entry.line, entry.key + "=" + entry.value, std::string(why));
    }
  }
}

std::vector<std::string> IniSettingsStore::UnreadableLines() const {
  std::vector<UnreadableLine> sorted = unreadable_;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const UnreadableLine& a, const UnreadableLine& b) { return a.line < b.line; });
  std::vector<std::string> texts;
  for (const UnreadableLine& u : sorted) texts.push_back(u.text);
  return texts;
}

std::optional<std::string> IniSettingsStore::Get(std::string_view section, std::string_view key) const {
  for (const Section& s : sections_) {
    if (!EqualsNoCase(s.name, section)) continue;
    for (const Entry& entry : s.entries)
      if (EqualsNoCase(entry.key, key)) return entry.value;
  }
  return std::nullopt;
}

bool IniSettingsStore::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!Storable(section) || !Storable(key) || !Storable(value) || key.find('=') != std::string_view::npos)
    return false;
  Section* target = nullptr;
  for (Section& s : sections_)
    if (EqualsNoCase(s.name, section)) target = &s;
  bool newSection = target == nullptr;
  if (newSection) {
    sections_.push_back({std::string(section), {}});
    target = &sections_.back();
  }
  std::string* slot = nullptr;
  for (Entry& entry : target->entries)
    if (EqualsNoCase(entry.key, key)) slot = &entry.value;
  std::optional<std::string> old;
  if (slot) {
    old = *slot;
    *slot = std::string(value);
  } else {
    target->entries.push_back({std::string(key), std::string(value)});
  }
  if (batchDepth_ > 0 || Persist()) return true;

  // Not persisted: memory goes back to what the file holds.
  if (newSection) {
    sections_.pop_back();
  } else if (old) {
    for (Entry& entry : target->entries)
      if (EqualsNoCase(entry.key, key)) entry.value = *old;
  } else {
    target->entries.pop_back();
  }
  return false;
}

void IniSettingsStore::BeginBatch() { ++batchDepth_; }

bool IniSettingsStore::EndBatch() {
  if (batchDepth_ == 0) return true;
  return --batchDepth_ > 0 || Persist();
}

bool IniSettingsStore::Persist() {
  std::string text;
  for (const Section& s : sections_) {
    if (!text.empty()) text += '\n';
    text += '[' + s.name + "]\n";
    for (const Entry& entry : s.entries) text += entry.key + '=' + entry.value + '\n';
  }
  std::string folder = FolderOf(path_);
  if (!folder.empty() && !CreateFolders(folder)) {
    writeFailure_ = FolderNotCreatedReason(folder);
    return false;
  }
  std::string why;
  if (!WriteWholeFile(path_, text, why)) {
    writeFailure_ = why;
    return false;
  }
  writeFailure_.clear();
  return true;
}

std::string DefaultSettingsPath() { return ConfigHome() + "/qova/QOVA.ini"; }

// ---- Profile -----------------------------------------------------------

Profile::Profile() : store_(std::make_unique<MemorySettingsStore>()) {}

void Profile::SetStore(std::unique_ptr<SettingsStore> store) {
  store_ = store ? std::move(store) : std::make_unique<MemorySettingsStore>();
}

void Profile::UseSettingsFile(std::string path) {
  store_ = std::make_unique<IniSettingsStore>(path.empty() ? DefaultSettingsPath() : std::move(path));
}

int Profile::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const {
  std::optional<std::string> text = store_->Get(section, entry);
  if (!text) return defaultValue;
  const std::optional<int> value = ParseProfileInt(*text);
  // An empty value is the framework's way of leaving a key at its default.
  if (!value && !Trim(*text).empty()) store_->NoteUnusableValue(section, entry, "not a whole number");
  return value.value_or(defaultValue);
}

std::string Profile::GetProfileString(std::string_view section, std::string_view entry,
                                      std::string_view defaultValue) const {
  std::optional<std::string> text = store_->Get(section, entry);
  return text ? *text : std::string(defaultValue);
}

bool Profile::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
  return store_->Set(section, entry, std::to_string(value));
}

bool Profile::WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) {
  return store_->Set(section, entry, value);
}

std::optional<std::string> Profile::UnreadableLinesMessage() const {
  const std::vector<std::string> lines = store_->UnreadableLines();
  if (lines.empty()) return std::nullopt;
  // Enough to find them; the rest are counted.
  constexpr std::size_t kListed = 12;
  std::string text = "These lines of the settings file " + NativePath(store_->Origin()) +
                     " could not be read; the settings they hold keep their defaults:";
  for (std::size_t i = 0; i < lines.size() && i < kListed; ++i) text += "\n" + lines[i];
  if (lines.size() > kListed) text += platform::Format("\n... and %zu more lines", lines.size() - kListed);
  return text;
}

std::string Profile::NotSavedMessage() const {
  const std::string why = store_->WriteFailure();
  if (why.empty() || store_->Origin().empty()) return "The settings could not be saved.";
  return "The settings file " + NativePath(store_->Origin()) + " cannot be written: " + why;
}

Profile& AppProfile() {
  static Profile profile;
  return profile;
}

}  // namespace platform
