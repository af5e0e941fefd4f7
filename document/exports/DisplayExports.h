#pragma once
// The exports of the Display Samples dialog that walk the SNPs of the
// checked samples: copy-number changes, marker regions, region statistics,
// LOH stretches, the A-B calc, and the list of the references the non-self
// analyses used. Each runs its own option dialog where it has one, asks for
// the output file, writes it through TextExport (whole or not at all) and
// names the samples it left out in one message at the end.
#include <functional>
#include <string>
#include <vector>

class CWnd;

namespace qova::document::exports {

// What the exports read of the Display Samples dialog.
struct DisplayExportSource {
  // The checked samples in list order; empty after telling the user that
  // none is checked.
  std::function<std::vector<std::string>()> CheckedSamples;
  // The dialog lists self-analysis results (.CFS) rather than non-self ones.
  bool SelfMode = false;
  CWnd* Parent = nullptr;
};

// Stretches of SNPs whose copy-number state is not 2, per chromosome.
void ExportCopyNumberChange(const DisplayExportSource& source);
// The marker regions of the checked samples' extracted samples (.CFH).
void ExportMarkers(const DisplayExportSource& source);
// Counts, means and SDs of the ratios in one region, and the call counts.
void ExportRegionStatistics(const DisplayExportSource& source);
// Stretches of LOH likelihood 25 or more (non-self results only).
void ExportLoh(const DisplayExportSource& source);
// Mean of 2^(allele A ratio) - 1 over the LOH, homozygous and heterozygous
// SNPs of one region (allele-specific non-self results only).
void ExportABCalc(const DisplayExportSource& source);
// Every reference of the non-self analyses, once, in byte order.
void ExportNonSelfReferences(const DisplayExportSource& source);

// The text that stands instead of the exports that need non-self results
// while the dialog lists self results.
inline constexpr const char* kNeedsNonSelfResults = "This output needs non-self results";
// The text that stands instead of the A-B calc while the non-self results are
// .CFN files, whose records hold no allele ratios to average.
inline constexpr const char* kNeedsAlleleRatios =
    "This output needs the allele ratios of allele-specific non-self results (.CFA); .CFN results hold none";

}  // namespace qova::document::exports
