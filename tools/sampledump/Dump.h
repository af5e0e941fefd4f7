#pragma once
// sampledump: prints what the sample layer reads from a file, as stable text.
// Fields one a line as "name: value"; per-SNP and per-row tables as a
// tab-separated heading line followed by tab-separated rows.
//
// Each kind of file has a dumper of its own (one source file each) entered in
// the table of main.cpp by its extension.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/MarkerRegion.h"
#include "core/SampleHeader.h"

namespace sampledump {

struct Options {
  std::string path;
  std::int64_t snps = -1;    // --snps N: print at most N per-SNP rows (-1: all)
  int family = -1;           // --family K: the family of an annotation table
  std::int64_t rows = -1;    // --rows N: the row count of an annotation table
};

// A dumper prints the file named in the options to `out`; it throws what the
// loaders throw, and main reports it.
using Dumper = void (*)(const Options& options, std::FILE* out);

void DumpExtractedSample(const Options& options, std::FILE* out);
void DumpAnalyzedSample(const Options& options, std::FILE* out);
void DumpBasicData(const Options& options, std::FILE* out);

// Shared pieces of the text.
[[nodiscard]] std::string FormatFloat(float value);
void PrintField(std::FILE* out, std::string_view name, std::string_view value);
void PrintField(std::FILE* out, std::string_view name, std::int64_t value);
void PrintHeader(std::FILE* out, const SampleHeader& header);
void PrintMarkers(std::FILE* out, std::int32_t markerCount, const MarkerRegionList& markers);
// How many per-SNP rows of `available` the options let through.
[[nodiscard]] std::int64_t RowsToPrint(const Options& options, std::int64_t available);

}  // namespace sampledump
