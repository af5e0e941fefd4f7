// The exports that list stretches of SNPs: copy-number changes, marker
// regions and LOH stretches, each line giving the chromosome, the first and
// last SNP index and their positions.
#include <optional>
#include <string>

#include "analysis/KnownGenes.h"
#include "core/ArrayData.h"
#include "core/GlobalData.h"
#include "core/MarkerRegion.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/exports/DialogCNChange.h"
#include "document/exports/DisplayExports.h"
#include "document/exports/ExportedResult.h"
#include "document/exports/TextExport.h"
#include "platform/MessageBox.h"

namespace qova::document::exports {
namespace {

constexpr int kNormalState = 2;
// An LOH likelihood from which a SNP belongs to an LOH stretch.
constexpr float kLohStretchThreshold = 25.0f;

const CProgramSetting& Setting() { return *ApplicationData().ProgramSetting; }

SampleFileRole ResultRole(const DisplayExportSource& source) {
  return source.SelfMode ? SampleFileRole::SelfResult : SampleFileRole::NonSelfResult;
}

// The known-genes option and the table it asks for.
struct GeneOption {
  bool On = false;
  KnownGenes Genes;

  // Runs the option dialog; false when it was cancelled.
  bool Ask(CWnd* parent) {
    CDialogCNChange dialog(parent);
    if (dialog.DoModal() != IDOK) return false;
    On = dialog.m_bKnownGenes != 0;
    // A table that cannot be read has been reported; the lines then get empty gene cells.
    if (On) static_cast<void>(Genes.Load(ApplicationData().DataFolder() + "knowngenes.txt"));
    return true;
  }

  void EndHeader(TextExport& out) const { out.Text(On ? "\tKnownGenes\n" : "\n"); }
};

// "\t<chromosome>\t<first>\t<its position>\t<last>\t<its position>", then the
// genes over those positions when asked for, and the line's end.
void WriteStretchEnd(TextExport& out, const SnpPlaces& places, int chromosome, std::int32_t first, std::int32_t last,
                     const GeneOption* genes = nullptr) {
  const std::int32_t from = places.Position(first);
  const std::int32_t to = places.Position(last);
  out.Tab().Int(chromosome).Tab().Int(first).Tab().Int(from).Tab().Int(last).Tab().Int(to);
  if (genes != nullptr && genes->On) out.Tab().Text(genes->Genes.GenesInRange(chromosome, from, to));
  out.EndLine();
}

void WriteCopyNumberChanges(const std::string& name, const ExportedResult& result, const GeneOption& genes,
                            TextExport& out) {
  const CAnalyzedData& data = result.Data;
  const SnpPlaces& places = result.Places;
  const auto stretch = [&](int state, int chromosome, std::int32_t first, std::int32_t last) {
    out.Text(name).Tab().Int(state);
    WriteStretchEnd(out, places, chromosome, first, last, &genes);
  };
  for (int c = kFirstChromosome; c <= kLastChromosome; ++c) {
    int running = kNormalState;
    std::int32_t start = 0;
    for (std::int32_t i = places.First(c); i <= places.Last(c); ++i) {
      // Invalid SNPs neither end a stretch nor start one.
      if (data.ValidFlag[std::size_t(i)] != 1) continue;
      const int state = data.EditedCopyNumberState[std::size_t(i)];
      if (state == running) continue;
      if (running != kNormalState) stretch(running, c, start, i - 1);
      running = state;
      start = i;
    }
    if (running != kNormalState) stretch(running, c, start, places.Last(c));
  }
}

}  // namespace

void ExportCopyNumberChange(const DisplayExportSource& source) {
  GeneOption genes;
  if (!genes.Ask(source.Parent)) return;
  const std::vector<std::string> names = source.CheckedSamples();
  if (names.empty()) return;
  TextExport out;
  if (!OpenExportOutput(source.Parent, out)) return;
  out.Text("Sample_name\tCopyNumber\tChromosome\tStartSNP\tStartPos\tEndSNP\tEndPos");
  genes.EndHeader(out);
  for (const std::string& name : names) {
    const std::optional<ExportedResult> result =
        ReadExportedResult(name, ResultRole(source), out);
    if (result) WriteCopyNumberChanges(name, *result, genes, out);
  }
  static_cast<void>(out.Finish());
}

void ExportMarkers(const DisplayExportSource& source) {
  GeneOption genes;
  if (!genes.Ask(source.Parent)) return;
  const std::vector<std::string> names = source.CheckedSamples();
  if (names.empty()) return;
  TextExport out;
  if (!OpenExportOutput(source.Parent, out)) return;
  out.Text("Sample_name\tMarkerNumber\tChromosome\tStartSNP\tStartPos\tEndSNP\tEndPos");
  genes.EndHeader(out);
  for (const std::string& name : names) {
    if (!IsExportableName(name, out.Skipped())) continue;
    // The markers live with the extracted sample, whichever results the dialog lists.
    const std::string path = SampleFilePath(Setting(), name, SampleFileRole::ArrayData);
    CArrayData sample;
    try {
      sample.LoadFile(path);
    } catch (const std::exception& e) {
      out.Skip(name, e.what());
      continue;
    }
    std::string why;
    // Marker positions are the single array's, never through SortMap.
    const std::optional<SnpPlaces> places = PlacesOf(sample.Header, std::size_t(sample.Header.SnpCount), false, why);
    if (!places) {
      out.Skip(name, path + ": " + why);
      continue;
    }
    int misplaced = 0;
    for (const MarkerRegion& region : sample.Markers) {
      const int c = region.Chromosome;
      if (c < kFirstChromosome || c > kLastChromosome || region.FirstSnp > region.LastSnp ||
          region.FirstSnp < places->First(c) || region.LastSnp > places->Last(c)) {
        ++misplaced;
        continue;
      }
      out.Text(name).Tab();
      if (region.IsUserMarker()) {
        out.Text("User:").Int(region.UserMarkerNumber());
      } else {
        out.Text("HMM:").Int(region.Kind);
      }
      WriteStretchEnd(out, *places, c, region.FirstSnp, region.LastSnp, &genes);
    }
    if (misplaced > 0) {
      const bool one = misplaced == 1;
      out.Skip(name, std::to_string(misplaced) + " of its marker regions " + (one ? "lies" : "lie") +
                         " outside its chromosomes and " + (one ? "was" : "were") + " not written");
    }
  }
  static_cast<void>(out.Finish());
}

void ExportLoh(const DisplayExportSource& source) {
  if (source.SelfMode) {
    AfxMessageBox(kNeedsNonSelfResults, MB_ICONINFORMATION);
    return;
  }
  const std::vector<std::string> names = source.CheckedSamples();
  if (names.empty()) return;
  TextExport out;
  if (!OpenExportOutput(source.Parent, out)) return;
  out.Text("Sample_name\tChromosome\tStartSNP\tStartPos\tEndSNP\tEndPos\n");
  for (const std::string& name : names) {
    const std::optional<ExportedResult> result =
        ReadExportedResult(name, SampleFileRole::NonSelfResult, out);
    if (!result) continue;
    const CAnalyzedData& data = result->Data;
    const SnpPlaces& places = result->Places;
    for (int c = kFirstChromosome; c <= kLastChromosome; ++c) {
      bool inStretch = false;
      std::int32_t start = 0;
      for (std::int32_t i = places.First(c); i <= places.Last(c); ++i) {
        if (data.ValidFlag[std::size_t(i)] != 1) continue;
        const float likelihood = ValueOrZero(data.LohLikelihood, i);
        if (inStretch && likelihood < kLohStretchThreshold) {
          out.Text(name);
          WriteStretchEnd(out, places, c, start, i - 1);
          inStretch = false;
        } else if (!inStretch && likelihood >= kLohStretchThreshold) {
          start = i;
          inStretch = true;
        }
      }
      if (inStretch) {
        out.Text(name);
        WriteStretchEnd(out, places, c, start, places.Last(c));
      }
    }
  }
  static_cast<void>(out.Finish());
}

}  // namespace qova::document::exports
