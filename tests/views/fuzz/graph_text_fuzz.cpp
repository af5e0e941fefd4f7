// Feeds arbitrary text to the graph document as a copy-number change list
// (File > Open): a list it reads is drawn, dragged and clustered by every
// method; one it refuses leaves the document empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/Strings.h"
#include "tests/views/fuzz/GraphWindow.h"
#include "views/graph/GraphChangeText.h"
#include "views/graph/GraphClustering.h"

namespace graph = qova::views::graph;

namespace {

// The change list of Display Samples: a header, then a stretch a line.
void WriteSeeds(const std::string& folder) {
  const char* header = "Sample_name\tCopyNumber\tChromosome\tStartSNP\tStartPos\tEndSNP\tEndPos";
  std::string text = std::string(header) + "\n";
  for (int i = 0; i < 6; ++i)
    for (int c : {1 + i, 8, 23})
      text += platform::Format("S%02d\t%d\t%d\t%d\t%d\t%d\t%d\n", i + 1, (i + c) % 7, c, 100 + i, 1000000 * (i + 1),
                               200 + i, 1000000 * (i + 9));
  fuzz_support::WriteSeed(folder, "changes.txt", text);
  std::string genes = std::string(header) + "\tKnownGenes\n";
  genes += "T01\t1\t3\t5\t20000000\t90\t80000000\tFHIT \nT01\t4\t17\t7\t35000000\t9\t60000000\tERBB2 TOP2A \n";
  fuzz_support::WriteSeed(folder, "changes-genes.txt", genes);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::WriteSeedsWhenAsked(WriteSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz_support::GraphWindow window;
  const std::string path = fuzz_support::WriteInput("changes.txt", data, size);
  window.Doc().DeleteContents();
  if (!window.Doc().OnOpenDocument(path.c_str())) {
    if (!window.Doc().m_Samples.empty() || !window.Doc().m_Segments.empty()) std::abort();
    return 0;
  }
  window.DrawAndDrag();
  const int samples = static_cast<int>(window.Doc().m_Samples.size());
  for (auto method : {graph::ClusterMethod::Bins, graph::ClusterMethod::Coverage,
                      graph::ClusterMethod::LongCoverage, graph::ClusterMethod::Weighted}) {
    const graph::ClusterResult result = graph::ClusterSamples(window.Doc().m_Segments, samples, method);
    if (samples >= 2 && static_cast<int>(result.order.size()) != samples) std::abort();
  }
  return 0;
}
