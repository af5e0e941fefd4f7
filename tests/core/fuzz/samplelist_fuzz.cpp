// Feeds arbitrary bytes to the sample-file index as a list file: reading it
// gives its good records, and an update keeps the records of the sample file
// that is really in the folder and rewrites the list.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ArrayData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "core/SampleFileList.h"
#include "platform/Paths.h"
#include "tests/core/fuzz/FuzzFolder.h"

namespace {

// The modification time the seeds' record of "A.CFH" carries, so an unchanged
// record is taken over without reading the file.
constexpr std::int64_t kSampleTime = 1300000000;

const CProgramSetting& Setting() {
  static const CProgramSetting setting = [] {
    CProgramSetting s;
    s.DefaultArrayDataFolder = fuzz_support::Folder();
    CGlobalData tables;
    CArrayData sample("A", "Mapping10K_Xba131", tables.TypeInfo(0), CTime(1200000000));
    sample.StoreFile(s.DefaultArrayDataFolder + "A.CFH");
    platform::SetModificationTime(s.DefaultArrayDataFolder + "A.CFH", kSampleTime);
    return s;
  }();
  return setting;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const CProgramSetting& setting = Setting();
  CSampleFileList list(setting);
  fuzz_support::WriteInput("filelist_CFH.lst", data, size);
  if (list.Open(kFileListExtracted)) {
    SampleHeader header;
    std::string name;
    while (list.ReadNext(header, name)) {
    }
  }
  list.Update(kFileListExtracted);
  return 0;
}
