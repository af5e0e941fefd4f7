#pragma once
// The demo: a data folder and an array set of one array type with planted
// copy-number changes, then the program's own commands run on it headlessly
// the way a user runs them from the menus (Extract Data, then the Sample
// Manager's self analysis of the tumour/normal pair and non-self analysis of
// the unpaired tumour with automatically chosen references), and a comparison
// of what was planted with what the analyses called.
//
// The folder it fills (every path below it; the program started in it with
// QOVA_HOME and QOVA_CONFIG_HOME set to it finds everything):
//   data/          cytoband table and the family's annotation table
//   Cel/           CEL and CHP files, and the sample list
//   Library/       the CDF library file
//   ArrayData/     extracted samples (.CFH)
//   Results/       analysis results (.CFS, .CFN)
//   Output/        text exports
//   qova/QOVA.ini  settings with the folders above
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MessageBox.h"
#include "tools/samplegen/SampleGen.h"

class CAnalyzedData;
class CQOVADoc;

namespace demo {

struct DemoOptions {
  std::string Folder;                          // made when missing
  std::string ArrayType = "Mapping250K_Nsp";
  std::uint64_t Seed = 2024;
  int Threads = 2;                             // array files written at once
};

// A stretch of SNPs the analysis put in one state, in position indexes.
struct CalledSegment {
  int Chromosome = 0;
  std::int32_t FirstSnp = 0;
  std::int32_t LastSnp = 0;
  int Copies = 2;    // total copy-number state
  bool Loh = false;  // loss of heterozygosity at two copies
};

struct PlantedOutcome {
  samplegen::PlantedSegment Planted;
  // Share of the segment's informative SNPs the analysis called in the
  // planted state (copy number, or LOH for copy-neutral LOH).
  double ShareCalled = 0.0;
};

struct SampleOutcome {
  std::string Sample;
  std::string ResultFile;  // empty when the analysis stored nothing
  std::vector<PlantedOutcome> Planted;
  std::vector<CalledSegment> Called;  // every called segment, planted or not
  // Called segments that overlap no planted segment.
  [[nodiscard]] std::vector<CalledSegment> Unplanted() const;
};

struct DemoOutcome {
  std::vector<std::string> Written;   // files below the folder, sorted
  std::vector<std::string> Messages;  // message boxes the commands showed
  std::vector<SampleOutcome> Samples;
};

// The segments planted in the demo's tumours, scaled to `arrayType`'s
// chromosomes, so a small family gets the same events as a large one.
[[nodiscard]] std::vector<samplegen::PlantedSegment> PairedTumourSegments(const samplegen::SampleGenerator& generator);
[[nodiscard]] std::vector<samplegen::PlantedSegment> UnpairedTumourSegments(const samplegen::SampleGenerator& generator);

// The folders of a demo's settings below its root, each ending with its
// separator.
struct DemoFolders {
  std::string Root, Data, Cel, Library, ArrayData, Results, Output;
  explicit DemoFolders(std::string root) : Root(std::move(root)) {
    if (Root.empty() || Root.back() != '/') Root += '/';
    Data = Root + "data/";
    Cel = Root + "Cel/";
    Library = Root + "Library/";
    ArrayData = Root + "ArrayData/";
    Results = Root + "Results/";
    Output = Root + "Output/";
  }
};

// Makes the folders, writes the data folder of `families` and the settings,
// and points the program at the root (UseProgramFolder).
void PrepareProgramFolder(const DemoFolders& folders, const std::vector<int>& families);
// Points the program's drive root, settings file and start folder at the
// root, as a demo run leaves them.
void UseProgramFolder(const DemoFolders& folders);

// Data > Sample Manager: the sample chosen in the list, then the buttons.
void RunSampleManager(CQOVADoc& doc, const std::string& sample, std::vector<unsigned> buttons);

// Runs of one called state (copy number other than 2, or LOH) along each
// chromosome, of at least kMinCalledSnps informative SNPs.
inline constexpr std::int32_t kMinCalledSnps = 20;
[[nodiscard]] std::vector<CalledSegment> CalledSegments(const CAnalyzedData& result,
                                                        const samplegen::SampleGenerator& generator);
// Share of the segment's informative SNPs called in its planted state.
[[nodiscard]] double ShareCalled(const CAnalyzedData& result, const samplegen::PlantedSegment& segment);
// Whether SNP i is called in LOH at two copies. Paired: an allele lost where
// the normal is heterozygous. Unpaired: a homozygous stretch longer than the
// SNPs' heterozygosity allows.
[[nodiscard]] bool IsCalledLoh(const CAnalyzedData& result, std::int32_t i);
// Whether SNP i tells anything about LOH: with a paired normal only its
// heterozygous SNPs do.
[[nodiscard]] bool InformsLoh(const CAnalyzedData& result, std::int32_t i);
[[nodiscard]] bool Overlaps(const CalledSegment& called, const samplegen::PlantedSegment& planted);

// Records every message box and shows it on the log, answering the default.
class LoggingSink : public platform::RecordingMessageSink {
 public:
  explicit LoggingSink(std::ostream& log);
  ~LoggingSink() override;
  int Show(std::string_view text, UINT type) override;

 private:
  std::ostream& log_;
  platform::MessageSink* previous_;
};

// Writes the data and array files, runs the commands and compares. Progress
// lines go to `log`. Throws std::runtime_error when a file cannot be written.
DemoOutcome RunDemo(const DemoOptions& options, std::ostream& log);

// The table of planted versus called segments per sample.
void PrintOutcome(const DemoOutcome& outcome, std::ostream& out);

}  // namespace demo
