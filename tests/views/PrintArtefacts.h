#pragma once
// Printed pages kept for people to look at: where the windowed interface is
// built, as a PDF file and a picture of the first page under
// <build>/artefacts/print.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/RecordingCanvas.h"
#include "tests/support/TempHome.h"
#ifdef QOVA_RASTER_CANVAS
#include "platform/qt/PdfPages.h"
#include "platform/qt/RasterCanvas.h"
#endif

namespace qova::test {

inline std::string PrintArtefact(const std::string& name) {
  const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "artefacts" / "print";
  std::filesystem::create_directories(folder);
  return (folder / name).string();
}

// Writes the pages as a PDF and the first as a picture; the PDF's page count
// (without the windowed interface, the count of the pages).
inline int KeepPages(const std::vector<platform::ui::Picture>& pages, const std::string& name,
                     [[maybe_unused]] const std::string& title = {}) {
#ifdef QOVA_RASTER_CANVAS
  const std::string pdf = PrintArtefact(name + ".pdf");
  std::filesystem::remove(pdf);
  EXPECT_TRUE(platform::qt::WritePdf(pages, pdf, title));
  const platform::ui::DeviceCaps& caps = pages.front().caps;
  platform::qt::RasterCanvas canvas(caps.width, caps.height, RGB(255, 255, 255), caps.dpiX);
  pages.front().ReplayOn(*canvas.Surface());
  EXPECT_TRUE(canvas.SavePng(PrintArtefact(name + "_page1.png")));
  std::ifstream in(pdf, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string text = bytes.str();
  const std::regex page("/Type\\s*/Page[^s]");
  return int(std::distance(std::sregex_iterator(text.begin(), text.end(), page), std::sregex_iterator()));
#else
  (void)name;
  return int(pages.size());
#endif
}

}  // namespace qova::test
