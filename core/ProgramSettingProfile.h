#pragma once
// How one settings field travels between the record and the profile. The key
// lists of the display block and of the record are written once, as calls of
// a visitor (section, key, field, default); these visitors give the three
// things done with such a list: set the defaults, load and save.
#include <string>
#include <string_view>

#include "platform/Profile.h"
#include "platform/Types.h"

namespace qova::core::setting {

// Floats are stored as integers in thousandths. Rounding (not truncating) on
// write and dividing exactly on read give back the same integer for a value
// that was not changed, and every key is read signed.
[[nodiscard]] float FloatFromStored(int stored);
[[nodiscard]] int StoredFromFloat(float value);

struct SetDefaults {
  void operator()(std::string_view, std::string_view, int& field, int def) const { field = def; }
  void operator()(std::string_view, std::string_view, DWORD& field, int def) const {
    field = static_cast<DWORD>(def);
  }
  void operator()(std::string_view, std::string_view, float& field, int storedDef) const {
    field = FloatFromStored(storedDef);
  }
  void operator()(std::string_view, std::string_view, std::string& field, const char* def) const {
    field = def;
  }
};

struct Load {
  const platform::Profile& profile;
  void operator()(std::string_view section, std::string_view key, int& field, int def) const {
    field = profile.GetProfileInt(section, key, def);
  }
  void operator()(std::string_view section, std::string_view key, DWORD& field, int def) const {
    field = static_cast<DWORD>(profile.GetProfileInt(section, key, def));
  }
  void operator()(std::string_view section, std::string_view key, float& field, int storedDef) const {
    field = FloatFromStored(profile.GetProfileInt(section, key, storedDef));
  }
  void operator()(std::string_view section, std::string_view key, std::string& field, const char* def) const {
    field = profile.GetProfileString(section, key, def);
  }
};

struct Save {
  platform::Profile& profile;
  bool ok = true;
  void operator()(std::string_view section, std::string_view key, const int& field, int) {
    ok = profile.WriteProfileInt(section, key, field) && ok;
  }
  void operator()(std::string_view section, std::string_view key, const DWORD& field, int) {
    ok = profile.WriteProfileInt(section, key, static_cast<int>(field)) && ok;
  }
  void operator()(std::string_view section, std::string_view key, const float& field, int) {
    ok = profile.WriteProfileInt(section, key, StoredFromFloat(field)) && ok;
  }
  void operator()(std::string_view section, std::string_view key, const std::string& field, const char*) {
    ok = profile.WriteProfileString(section, key, field) && ok;
  }
};

}  // namespace qova::core::setting
