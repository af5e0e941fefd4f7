#include "views/main/MarkerListFile.h"

#include <algorithm>
#include <charconv>
#include <variant>
#include <vector>

#include "platform/File.h"
#include "platform/Strings.h"

namespace qova::views::main {

namespace {

// The numbers both marker dialogs offer: HMM states and user markers 0..6.
constexpr std::int32_t kOfferedNumbers = 7;
// User marker 7, which the analysis writes and the marker panels draw.
constexpr std::int32_t kAnalysisMarker = MarkerRegion::kUserMarkerBase + 7;

bool OfferedKind(std::int32_t kind) {
  return (kind >= 0 && kind < kOfferedNumbers) || (kind >= MarkerRegion::kUserMarkerBase && kind <= kAnalysisMarker);
}

// A whole decimal number that fits an int, and nothing else in the field.
std::optional<std::int32_t> WholeNumber(std::string_view field) {
  if (field.starts_with('+')) field.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

std::vector<std::string> TabFields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t begin = line.find_first_not_of('\t', at);
    if (begin == std::string_view::npos) break;
    const std::size_t end = std::min(line.find('\t', begin), line.size());
    fields.emplace_back(line.substr(begin, end - begin));
    at = end;
  }
  return fields;
}

// The region of one line, or why the line is left out.
std::variant<MarkerRegion, std::string> ReadLine(std::string_view line, ChromosomeStartRow starts,
                                                 const SlotPosition& positionOf) {
  const std::vector<std::string> fields = TabFields(line);
  if (fields.size() != 4) return std::string("not four numbers separated by tabs");
  std::int32_t numbers[4] = {};
  for (std::size_t k = 0; k < 4; ++k) {
    const std::optional<std::int32_t> number = WholeNumber(fields[k]);
    if (!number) return platform::Format("field %zu is not a whole number that fits an int", k + 1);
    numbers[k] = *number;
  }
  const std::int32_t kind = numbers[0], c = numbers[1], from = numbers[2], to = numbers[3];
  if (!OfferedKind(kind)) {
    return platform::Format("kind %d is neither an HMM state 0 to %d nor a user marker %d to %d", kind,
                            kOfferedNumbers - 1, MarkerRegion::kUserMarkerBase, kAnalysisMarker);
  }
  if (c < 1 || c > kChromosomeX) return platform::Format("chromosome %d is not 1 to %d", c, kChromosomeX);
  if (from > to) return platform::Format("the start %d lies after the end %d", from, to);
  const std::int32_t first = starts[std::size_t(c)], last = starts[std::size_t(c) + 1] - 1;
  // A slot without a position counts as lying outside the range.
  const auto below = [&](std::int32_t slot) {
    const auto p = positionOf(slot);
    return !p || *p < from;
  };
  const auto above = [&](std::int32_t slot) {
    const auto p = positionOf(slot);
    return !p || *p > to;
  };
  std::int32_t s = first, e = last;
  while (s <= last && below(s)) ++s;
  while (e >= first && above(e)) --e;
  if (s > e) return platform::Format("no SNP of chromosome %d lies from %d to %d", c, from, to);
  return MarkerRegion{c, s, e, kind};
}

}  // namespace

SlotPosition IndexMapPositions(const CBasicData& table) {
  return [&table](std::int32_t slot) -> std::optional<std::int32_t> {
    if (slot < 0 || std::size_t(slot) >= table.IndexMap.size()) return std::nullopt;
    const std::int32_t row = table.IndexMap[std::size_t(slot)];
    if (row < 0 || std::size_t(row) >= table.Position.size()) return std::nullopt;
    return table.Position[std::size_t(row)];
  };
}

std::string MarkerListText(const MarkerRegionList& regions, const SlotPosition& positionOf) {
  std::string text;
  for (const MarkerRegion& r : regions) {
    const std::optional<std::int32_t> start = positionOf(r.FirstSnp), end = positionOf(r.LastSnp);
    if (!start || !end) continue;
    text += platform::Format("%d\t%d\t%d\t%d\n", r.Kind, r.Chromosome, *start, *end);
  }
  return text;
}

MarkerListReading ReadMarkerList(std::string_view text, ChromosomeStartRow starts, const SlotPosition& positionOf) {
  MarkerListReading reading;
  int number = 0;
  for (const std::string& line : platform::SplitLines(text)) {
    ++number;
    if (platform::Trim(line).empty()) continue;
    auto read = ReadLine(line, starts, positionOf);
    if (auto* region = std::get_if<MarkerRegion>(&read)) {
      reading.regions.push_back(*region);
    } else {
      reading.skipped.push_back({number, line, std::move(std::get<std::string>(read))});
    }
  }
  return reading;
}

std::string SkippedLinesText(const std::vector<SkippedMarkerLine>& skipped) {
  // Enough to find them; the rest are counted. A file that is no list at all
  // must not make a message screens long.
  constexpr std::size_t kListed = 12;
  constexpr std::size_t kShownText = 60;
  std::string text;
  for (std::size_t k = 0; k < skipped.size() && k < kListed; ++k) {
    std::string shown = skipped[k].text.substr(0, kShownText);
    if (skipped[k].text.size() > kShownText) shown += "...";
    for (char& c : shown)
      if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    if (!text.empty()) text += "\n";
    text += platform::Format("line %d: %s (%s)", skipped[k].line, shown.c_str(), skipped[k].why.c_str());
  }
  if (skipped.size() > kListed) text += platform::Format("\n... and %zu more lines", skipped.size() - kListed);
  return text;
}

}  // namespace qova::views::main
