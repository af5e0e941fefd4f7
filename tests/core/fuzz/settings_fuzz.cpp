// Feeds arbitrary text to the settings file: the settings record loads what it
// can (defaults for the rest), and saving it rewrites the file from what was
// loaded, hostile sections and keys included.
#include <cstddef>
#include <cstdint>

#include "core/ProgramSetting.h"
#include "platform/Profile.h"
#include "tests/core/fuzz/FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz_support::WriteInput("QOVA.ini", data, size);
  platform::Profile profile;
  profile.UseSettingsFile(path);
  CProgramSetting setting;
  setting.LoadFromProfile(profile);
  setting.SaveToProfile(profile);
  CProgramSetting reread;
  reread.LoadFromProfile(profile);
  return 0;
}
