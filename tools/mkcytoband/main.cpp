// Builds the program's cytoband table (Cytoband.dtt) from a karyotype file in
// the circos layout:
//   chr - hsN N 0 LENGTH chrN
//   band hsN NAME NAME START END STAIN
// The source here is the hg17 karyotype of the Debian circos package
// (karyotype-hg17.txt next to this file), the genome build of the program's
// chromosome-start and centromere tables. Chromosome Y is left out: the
// program's chromosomes are 1..22 and X (23).
// Band positions become 1-based and inclusive (START + 1 .. END), so the last
// band of a chromosome ends at the chromosome's length.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/Cytoband.h"
#include "platform/Archive.h"
#include "platform/File.h"

namespace {

struct Band {
  int chromosome = 0;
  long start = 0, end = 0;
  int code = 0, stain = 0;
};

// hsN -> 1..22, hsX -> 23; 0 for anything else (Y included).
int ChromosomeNumber(const std::string& id) {
  if (id == "hsX" || id == "hsx") return 23;
  if (id.size() < 3 || id.compare(0, 2, "hs") != 0) return 0;
  try {
    int n = std::stoi(id.substr(2));
    return n >= 1 && n <= 22 ? n : 0;
  } catch (...) {
    return 0;
  }
}

// Stain classes index the drawing colours: 0 black, 1..3 darker to lighter
// greys, 4 white, 5 red, 6 green, 7 blue.
int StainClass(const std::string& stain) {
  static const std::map<std::string, int> classes = {
      {"gneg", 4},   {"gpos25", 3}, {"gpos50", 2}, {"gpos75", 1}, {"gpos100", 0},
      {"acen", 5},   {"gvar", 6},   {"stalk", 7},
  };
  auto it = classes.find(stain);
  return it == classes.end() ? -1 : it->second;
}

// "p36.33" -> short arm, major 36, minor 33; "q21" -> long arm, major 21.
bool BandCode(const std::string& name, int& code) {
  if (name.size() < 2 || (name[0] != 'p' && name[0] != 'q')) return false;
  int major = 0, minor = 0;
  char dot = 0;
  int fields = std::sscanf(name.c_str() + 1, "%d%c%d", &major, &dot, &minor);
  if (fields < 1 || (fields >= 2 && dot != '.') || major < 0 || major > 63 || minor < 0 || minor > 63)
    return false;
  code = CCytoband::EncodeBand(name[0] == 'p', major, minor);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: mkcytoband KARYOTYPE.txt OUTPUT/Cytoband.dtt\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 1;
  }
  std::vector<Band> bands;
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    std::istringstream fields(line);
    std::string kind, id, name, label, stain;
    long start = 0, end = 0;
    if (!(fields >> kind) || kind != "band") continue;
    if (!(fields >> id >> name >> label >> start >> end >> stain)) {
      std::cerr << argv[1] << ":" << lineNumber << ": malformed band line\n";
      return 1;
    }
    Band band;
    band.chromosome = ChromosomeNumber(id);
    if (band.chromosome == 0) continue;
    band.start = start + 1;
    band.end = end;
    band.stain = StainClass(stain);
    if (band.stain < 0 || !BandCode(name, band.code)) {
      std::cerr << argv[1] << ":" << lineNumber << ": unknown band name or stain\n";
      return 1;
    }
    bands.push_back(band);
  }
  std::stable_sort(bands.begin(), bands.end(), [](const Band& a, const Band& b) {
    return a.chromosome != b.chromosome ? a.chromosome < b.chromosome : a.start < b.start;
  });

  CCytoband table;
  table.BandCount = static_cast<int>(bands.size());
  for (auto* v : {&table.BandStart, &table.BandEnd, &table.BandStain, &table.BandCode, &table.BandFirstSnp,
                  &table.BandLastSnp})
    v->assign(bands.size(), 0);
  for (int c = 1; c < CCytoband::kChromosomeSlots; ++c) table.ChromosomeFirstBand[c] = table.BandCount;
  for (int b = table.BandCount - 1; b >= 0; --b) {
    const Band& band = bands[b];
    table.BandStart[b] = static_cast<std::int32_t>(band.start);
    table.BandEnd[b] = static_cast<std::int32_t>(band.end);
    table.BandCode[b] = band.code;
    table.BandStain[b] = band.stain;
    table.ChromosomeFirstBand[band.chromosome] = b;
  }
  // A chromosome without bands starts where the next one does.
  for (int c = CCytoband::kLastChromosome; c >= 1; --c)
    table.ChromosomeFirstBand[c] = std::min(table.ChromosomeFirstBand[c], table.ChromosomeFirstBand[c + 1]);

  try {
    platform::CAtomicFile file;
    CFileException error;
    if (!file.Open(argv[2], CFile::modeCreate | CFile::modeWrite, &error)) {
      std::cerr << "cannot write " << argv[2] << ": " << error.what() << "\n";
      return 1;
    }
    CArchive ar(&file, CArchive::store);
    table.Serialize(ar);
    ar.Close();
    file.Commit();
  } catch (const std::exception& e) {
    std::cerr << "cannot write " << argv[2] << ": " << e.what() << "\n";
    return 1;
  }
  std::cout << "bands: " << table.BandCount << "\n";
  return 0;
}
