#pragma once
// Pictures of the main view without a window: a main document over a loaded
// application-wide data object takes a sample's result (and its extracted
// sample when there is one, status "Analysis"), a main view shows it
// genome-wide or for one chromosome, and its drawing pass paints a raster
// canvas of 1600 by 1000 pixels that is written as PNG.
#include <string>

class CGlobalData;

namespace viewpics {

inline constexpr int kPictureWidth = 1600;
inline constexpr int kPictureHeight = 1000;

// Makes the data folder `folder` the program's (drive root, settings file,
// start folder) and loads the tables into `global`; false when they cannot
// be loaded.
[[nodiscard]] bool LoadProgramFolder(const std::string& folder, CGlobalData& global);

// Draws `sample`'s result from the analysis-result folder, genome-wide
// (chromosome 0) or chromosome 1..23, or as its fragment-length plot, and
// writes `pngPath`. Throws std::runtime_error when the result cannot be read,
// nothing is shown or the picture cannot be written.
void RenderSample(CGlobalData& global, const std::string& sample, int chromosome, const std::string& pngPath,
                  bool fragmentPlot = false);

}  // namespace viewpics
