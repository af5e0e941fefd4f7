// Draws the demo's two tumours as the main view shows them:
//   view_pictures DEMO_FOLDER OUTPUT_FOLDER
// writes Tumour01_genome.png, Tumour01_chr8.png and Tumour01_fragment.png
// (the self result), Tumour02_genome.png, Tumour02_chr5.png and
// Tumour02_fragment.png (the non-self result).
#include <cstdio>
#include <exception>
#include <string>

#include "core/GlobalData.h"
#include "platform/MessageBox.h"
#include "tools/viewpics/ViewPictures.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: view_pictures DEMO_FOLDER OUTPUT_FOLDER\n");
    return 2;
  }
  std::string out = argv[2];
  if (out.back() != '/') out += '/';
  platform::ScopedRecordingSink messages;
  CGlobalData global;
  if (!viewpics::LoadProgramFolder(argv[1], global)) {
    std::fprintf(stderr, "cannot load the tables of %s\n", argv[1]);
    return 1;
  }
  const struct {
    const char* sample;
    int chromosome;
    const char* file;
    bool fragmentPlot;
  } pictures[] = {{"Tumour01", 0, "Tumour01_genome.png", false},  {"Tumour01", 8, "Tumour01_chr8.png", false},
                  {"Tumour01", 0, "Tumour01_fragment.png", true}, {"Tumour02", 0, "Tumour02_genome.png", false},
                  {"Tumour02", 5, "Tumour02_chr5.png", false},    {"Tumour02", 0, "Tumour02_fragment.png", true}};
  try {
    for (const auto& p : pictures) {
      viewpics::RenderSample(global, p.sample, p.chromosome, out + p.file, p.fragmentPlot);
      std::printf("view picture: %s%s\n", out.c_str(), p.file);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
