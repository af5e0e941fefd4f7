// Feeds arbitrary text to the graph's settings file (Setting > Load): a file
// it reads must leave numbers the view can lay out, so the chart of a few
// samples is drawn and a column dragged with them; a file it refuses says
// why and changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/File.h"
#include "platform/Strings.h"
#include "tests/views/fuzz/GraphWindow.h"

namespace {

fuzz_support::GraphWindow& Window() {
  static fuzz_support::GraphWindow window;
  static const bool opened = [] {
    std::string text = "Sample_name\tCopyNumber\tChromosome\tStartSNP\tStartPos\tEndSNP\tEndPos\n";
    for (int i = 0; i < 4; ++i)
      text += platform::Format("S%d\t%d\t%d\t1\t%d\t2\t%d\n", i, i, 3 + i, 1000000 * i, 50000000 + 1000000 * i);
    const std::string path = fuzz_support::Folder() + "chart.txt";
    return platform::WriteWholeFile(path, text) && window.Doc().OnOpenDocument(path.c_str());
  }();
  if (!opened) std::abort();
  return window;
}

void WriteSeeds(const std::string& folder) {
  CGraphSetting defaults;
  if (!defaults.SaveSettings(folder + "defaults.txt")) std::abort();
  CGraphSetting changed;
  for (int k = 0; k < qova::resources::kGraphColours; ++k) changed.m_Colour[k] = RGB(k * 19, 255 - k, k * 7);
  changed.m_Layout = {7, 3, 5, 2500, 900, 150, 80, 60, 120, 44, -5, 3, 110};
  if (!changed.SaveSettings(folder + "changed.txt")) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::WriteSeedsWhenAsked(WriteSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz_support::GraphWindow& window = Window();
  CGraphSetting& setting = *window.Doc().m_pSetting;
  const std::string path = fuzz_support::WriteInput("graph.txt", data, size);
  const GraphLayout before = setting.m_Layout;
  std::string error;
  if (!setting.LoadSettings(path, error)) {
    if (error.empty() || !(setting.m_Layout == before)) std::abort();
    return 0;
  }
  window.DrawAndDrag();
  // What was read saves and reads back the same.
  if (!setting.SaveSettings(fuzz_support::Folder() + "again.txt")) std::abort();
  CGraphSetting again;
  if (!again.LoadSettings(fuzz_support::Folder() + "again.txt", error) || !(again.m_Layout == setting.m_Layout))
    std::abort();
  setting.m_Layout = GraphLayout{};
  return 0;
}
