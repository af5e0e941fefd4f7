#include "views/graph/GraphChangeText.h"

#include <charconv>
#include <map>

#include "platform/File.h"

namespace qova::views::graph {

namespace {

constexpr std::string_view kHeader = "Sample_name\tCopyNumber\tChromosome\tStartSNP\tStartPos\tEndSNP\tEndPos";
constexpr std::string_view kGenesTitle = "\tKnownGenes";
constexpr int kHighestClass = 5;
constexpr int kLastChromosome = 23;

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

bool ParseCount(std::string_view field, int& value) {
  const char* end = field.data() + field.size();
  const auto [ptr, ec] = std::from_chars(field.data(), end, value);
  return ec == std::errc() && ptr == end && value >= 0;
}

}  // namespace

int ColourClassOfState(int state) { return state > kHighestClass ? kHighestClass : state; }

bool ReadCopyNumberChanges(std::string_view text, GraphContents& contents, std::string& error) {
  contents = {};
  const std::vector<std::string> lines = platform::SplitLines(text);
  if (lines.empty() || (lines[0] != kHeader && lines[0] != std::string(kHeader) + std::string(kGenesTitle))) {
    error = "line 1: not the header of a copy-number change list (" + std::string(kHeader) + ")";
    return false;
  }
  const std::size_t cells = lines[0].size() == kHeader.size() ? 7 : 8;
  std::map<std::string, int, std::less<>> sampleIndex;
  for (std::size_t n = 1; n < lines.size(); ++n) {
    const std::string where = "line " + std::to_string(n + 1) + ": ";
    if (lines[n].empty()) continue;
    const std::vector<std::string_view> f = SplitTabs(lines[n]);
    if (f.size() != cells) {
      error = where + std::to_string(f.size()) + " cells where the header has " + std::to_string(cells);
      return false;
    }
    if (f[0].empty()) {
      error = where + "no sample name";
      return false;
    }
    static constexpr const char* kTitles[] = {"", "CopyNumber", "Chromosome", "StartSNP",
                                              "StartPos", "EndSNP", "EndPos"};
    int value[7] = {};
    for (std::size_t k = 1; k < 7; ++k) {
      if (!ParseCount(f[k], value[k])) {
        error = where + kTitles[k] + " \"" + std::string(f[k]) + "\" is not a whole number of 0 or more";
        return false;
      }
    }
    if (value[2] < 1 || value[2] > kLastChromosome) {
      error = where + "Chromosome " + std::to_string(value[2]) + " is not 1 to 23 (X)";
      return false;
    }
    if (value[6] < value[4]) {
      error = where + "EndPos " + std::to_string(value[6]) + " lies before StartPos " + std::to_string(value[4]);
      return false;
    }
    auto [it, added] = sampleIndex.try_emplace(std::string(f[0]), int(contents.samples.size()));
    if (added) {
      const int index = it->second;
      contents.samples.push_back({std::string(f[0]), std::string(f[0]), 0, index});
    }
    contents.segments.push_back({it->second, ColourClassOfState(value[1]), value[2], value[4], value[6]});
  }
  return true;
}

}  // namespace qova::views::graph
