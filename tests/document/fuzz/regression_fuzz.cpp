// Feeds arbitrary text to the work files of the regression pipeline. The
// first byte chooses the file (an .IMF, SNPinfo.txt, an .IM2, NormalAve.txt,
// an .IM3 or CNReg.txt), the rest is its text; the other files are those of a
// small study that our own writers made. Then every step from the one that
// reads that file to the results runs, for a list of three samples.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "document/DocumentCommands.h"
#include "document/regression/RegressionWorkFiles.h"
#include "platform/Strings.h"
#include "tests/document/fuzz/FuzzDocument.h"

namespace {

using namespace qova::document::regression;
namespace command = qova::document::command;

constexpr int kFamily = 2;  // that of Mapping50K_Xba240, the pipeline's type
constexpr int kSnps = 24;
const char* const kSamples[] = {"R0", "R1", "F"};

struct WorkFile {
  const char* name;  // "F" files are the fuzzed sample's
  UINT firstStep;
};
const WorkFile kFiles[] = {{"F.IMF", command::kImfCorrelation}, {kSnpInfoFile, command::kImfToIm2},
                           {"F.IM2", command::kMakeNormalAverage}, {kNormalAverageFile, command::kIm2ToIm3},
                           {"F.IM3", command::kMakeCnRegression},  {kCalibrationFile, command::kIm3ToResult}};
// The steps in pipeline order, less the extraction and the SNP selection,
// which read array files.
const UINT kSteps[] = {command::kImfCorrelation, command::kImfToIm2,         command::kMakeNormalAverage,
                       command::kIm2ToIm3,       command::kMakeCnRegression, command::kIm3ToResult};

fuzz_support::FuzzDocument& Document() {
  static fuzz_support::FuzzDocument document(kFamily);
  return document;
}

// Runs the steps from `first` on, each for the list of three samples, but the
// results only when the fuzzed file is one they read, and only for the fuzzed
// sample: storing a result of sixty thousand SNPs takes most of a run.
void RunFrom(UINT first) {
  const std::string list = fuzz_support::Folder() + "list.txt", one = fuzz_support::Folder() + "one.txt";
  bool started = false;
  for (UINT step : kSteps) {
    started = started || step == first;
    if (!started) continue;
    if (step != command::kIm3ToResult)
      Document().Run(step, list);
    else if (first == command::kMakeCnRegression || first == command::kIm3ToResult)
      Document().Run(step, one);
  }
}

// The study: three samples of kSnps SNPs with intensities and calls that
// vary, and a selection of probes with GC counts and covariates; then the
// steps make the rest. Returns each work file's text.
std::vector<std::string> MakeStudy() {
  fuzz_support::FuzzDocument& document = Document();
  (void)document;
  if (!platform::CreateFolders(WorkPath("")) ||
      !platform::WriteWholeFile(fuzz_support::Folder() + "list.txt", "R0\nR1\nF\n") ||
      !platform::WriteWholeFile(fuzz_support::Folder() + "one.txt", "F\n"))
    std::abort();
  std::string info;
  for (int s = 0; s < kSnps; ++s) {
    SnpInfoLine line{"1101100000", "0110110000", 20 + s % 9, 30 - s % 7, s % 11 - 5};
    info += Format(line);
  }
  if (!platform::WriteWholeFile(WorkPath(kSnpInfoFile), info)) std::abort();
  for (int k = 0; k < 3; ++k) {
    std::string imf;
    for (int s = 0; s < kSnps; ++s) {
      ImfLine line;
      line.Call = (s + k) % 4;
      for (int j = 0; j < kProbesPerAllele; ++j) {
        line.A[j] = float(std::sin(0.7 * s + j + k));
        line.B[j] = float(std::cos(0.3 * s - j + 2 * k));
      }
      imf += Format(line);
    }
    if (!platform::WriteWholeFile(WorkPath(std::string(kSamples[k]) + ".IMF"), imf)) std::abort();
  }
  RunFrom(command::kImfToIm2);
  std::vector<std::string> texts;
  for (const WorkFile& file : kFiles) {
    std::string text;
    if (!platform::ReadWholeFile(WorkPath(file.name), text)) std::abort();
    texts.push_back(text);
  }
  document.Tidy();
  return texts;
}

const std::vector<std::string>& Study() {
  static const std::vector<std::string> texts = MakeStudy();
  return texts;
}

void WriteSeeds(const std::string& folder) {
  for (std::size_t k = 0; k < std::size(kFiles); ++k)
    fuzz_support::WriteSeed(folder, platform::Format("%zu-%s", k, kFiles[k].name), char(k) + Study()[k]);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::WriteSeedsWhenAsked(WriteSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string>& study = Study();
  if (size == 0) return 0;
  const std::size_t chosen = data[0] % std::size(kFiles);
  for (std::size_t k = 0; k < std::size(kFiles); ++k) {
    const std::string text = k == chosen ? std::string(reinterpret_cast<const char*>(data) + 1, size - 1) : study[k];
    if (!platform::WriteWholeFile(WorkPath(kFiles[k].name), text)) std::abort();
  }
  RunFrom(kFiles[chosen].firstStep);
  Document().Tidy();
  return 0;
}
