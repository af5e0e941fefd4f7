// Builds the program's known-genes table (knowngenes.txt) from a gene list in
// the circos layout, one gene a line: "hsN START END NAME_suffix", with
// suffixes such as "_omim", lines grouped by chromosome and sorted as text.
//
//   mkknowngenes GENES.txt OUTPUT/knowngenes.txt
//
// The source here is the gene list of the Debian circos package
// (genes-hg18.txt beside this file), in genome build hg18; positions are
// copied as they stand. Genes on Y are left out: the program's chromosomes
// are 1..22 and X (23). The output is a header line, then
// "chromosome TAB start TAB end TAB name" lines sorted by chromosome (X last,
// written "X"), start and name.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kChromosomeX = 23;

struct Gene {
  int chromosome = 0;
  long start = 0, end = 0;
  std::string name;
};

// hsN -> 1..22, hsX -> 23; 0 for anything else (Y included).
int ChromosomeNumber(const std::string& id) {
  if (id == "hsX" || id == "hsx") return kChromosomeX;
  if (id.size() < 3 || id.compare(0, 2, "hs") != 0) return 0;
  const std::string digits = id.substr(2);
  if (digits.find_first_not_of("0123456789") != std::string::npos) return 0;
  const int n = std::stoi(digits);
  return n >= 1 && n <= 22 ? n : 0;
}

// "NF1_cancer" -> "NF1"; a name without a known suffix stays whole.
std::string GeneName(const std::string& label) {
  for (const std::string suffix : {"_omim", "_other", "_cancer"}) {
    if (label.size() > suffix.size() && label.compare(label.size() - suffix.size(), suffix.size(), suffix) == 0)
      return label.substr(0, label.size() - suffix.size());
  }
  return label;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: mkknowngenes GENES.txt OUTPUT/knowngenes.txt\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 1;
  }
  std::vector<Gene> genes;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::istringstream fields(line);
    std::string id, label;
    Gene gene;
    if (!(fields >> id)) continue;
    if (!(fields >> gene.start >> gene.end >> label) || gene.end < gene.start) {
      std::cerr << argv[1] << ":" << number << ": malformed gene line\n";
      return 1;
    }
    gene.chromosome = ChromosomeNumber(id);
    if (gene.chromosome == 0) continue;
    gene.name = GeneName(label);
    genes.push_back(gene);
  }
  std::sort(genes.begin(), genes.end(), [](const Gene& a, const Gene& b) {
    return std::tie(a.chromosome, a.start, a.end, a.name) < std::tie(b.chromosome, b.start, b.end, b.name);
  });

  std::ofstream out(argv[2], std::ios::binary);
  out << "chromosome\tstart\tend\tname\n";
  for (const Gene& gene : genes) {
    out << (gene.chromosome == kChromosomeX ? std::string("X") : std::to_string(gene.chromosome)) << '\t'
        << gene.start << '\t' << gene.end << '\t' << gene.name << '\n';
  }
  out.close();
  if (!out) {
    std::cerr << "cannot write " << argv[2] << "\n";
    return 1;
  }
  std::cout << "genes: " << genes.size() << "\n";
  return 0;
}
