#pragma once
// Dialog templates of the files the main view writes for outside programs.
namespace qova::resources {

// "Output IGB files": which score-graph files are written, their names, and
// linear or log2 values.
inline constexpr unsigned kOutputIgbFilesDialog = 173;
inline constexpr unsigned kIgbCopyNumberFile = 1004;
inline constexpr unsigned kIgbCopyNumberCheck = 1005;
inline constexpr unsigned kIgbLohCheck = 1006;
inline constexpr unsigned kIgbHmmFile = 1007;
inline constexpr unsigned kIgbLohFile = 1008;
inline constexpr unsigned kIgbSkipExcluded = 1016;
inline constexpr unsigned kIgbCopyNumberLinear = 1017;
inline constexpr unsigned kIgbCopyNumberLog2 = 1018;
inline constexpr unsigned kIgbLohLinear = 1019;
inline constexpr unsigned kIgbLohLog2 = 1020;
inline constexpr unsigned kIgbHmmCheck = 1040;

void RegisterOutputDialogs();

}  // namespace qova::resources
