#include "views/MarkerListFile.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/File.h"
#include "platform/Strings.h"

namespace views {

namespace {

// As atoi reads a field, without its overflow: saturated to int.
std::int32_t FieldValue(const std::string& field) {
  const long long value = std::strtoll(field.c_str(), nullptr, 10);
  return std::int32_t(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
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
  for (const std::string& line : platform::SplitLines(text)) {
    std::vector<std::string> fields = TabFields(line);
    if (fields.empty()) continue;
    fields.resize(std::max<std::size_t>(fields.size(), 4));
    const std::int32_t kind = FieldValue(fields[0]);
    const std::int32_t c = FieldValue(fields[1]);
    const std::int32_t from = FieldValue(fields[2]), to = FieldValue(fields[3]);
    if (c < 1 || c > 23) {
      ++reading.skippedLines;
      continue;
    }
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
    if (s > e) {
      ++reading.skippedLines;
      continue;
    }
    reading.regions.push_back({c, s, e, kind});
  }
  return reading;
}

}  // namespace views
