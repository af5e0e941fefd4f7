#pragma once
// Dialog template of the graph's appearance settings: the thirteen colours
// with their swatches and "Change" buttons, the two fonts, and the sizes and
// positions of the chart.
namespace qova::resources {

// "Graph setting".
inline constexpr unsigned kGraphSettingDialog = 196;

// Colours 0..5 of the segment classes, 6 the chromosome lines, 7 the sample
// names of group 0, 8..12 the sample names of groups 1..5.
inline constexpr int kGraphColours = 13;
inline constexpr unsigned kGraphSwatches[kGraphColours] = {1001, 1059, 1060, 1061, 1062, 1063, 1064,
                                                           1065, 1071, 1066, 1069, 1070, 1074};
inline constexpr unsigned kGraphChangeButtons[kGraphColours] = {1000, 1002, 1004, 1003, 1007, 1013, 1016,
                                                                1028, 1018, 1019, 1020, 1045, 1029};
inline constexpr unsigned kGraphSampleNameFont = 1014;
inline constexpr unsigned kGraphChromosomeFont = 1025;

inline constexpr unsigned kGraphWidth = 1015;
inline constexpr unsigned kGraphInterval = 1005;
inline constexpr unsigned kGraphZoomX = 1006;
inline constexpr unsigned kGraphZoomY = 1008;
inline constexpr unsigned kGraphOriginX = 1017;
inline constexpr unsigned kGraphOriginY = 1031;
inline constexpr unsigned kGraphNameX = 1032;
inline constexpr unsigned kGraphNameY = 1033;
inline constexpr unsigned kGraphChromosomeX = 1034;
inline constexpr unsigned kGraphChromosomeY = 1035;
inline constexpr unsigned kGraphChromosomeSpace = 1036;
inline constexpr unsigned kGraphVerticalDivisor = 1037;
inline constexpr unsigned kGraphRotation = 1038;

// Adds the template to the resources unless it is there already.
void RegisterGraphSettingDialog();

}  // namespace qova::resources
