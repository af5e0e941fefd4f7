#pragma once
// Dialog templates of viewing: the chromosome chooser and the zoom dialog.
namespace qova::resources {

// "Chromosome selection": one radio button per chromosome, Ch1 .. Ch22, ChX.
inline constexpr unsigned kChromosomeSelectDialog = 138;
inline constexpr unsigned kChromosomeRadios[23] = {1017, 1018, 1057, 1058, 1059, 1006, 1007, 1008,
                                                   1009, 1010, 1011, 1012, 1013, 1014, 1015, 1016,
                                                   1019, 1020, 1021, 1022, 1023, 1024, 1025};

// "Zoom Setting": the display sizes, each edit with its up-down.
inline constexpr unsigned kZoomSettingDialog = 141;
inline constexpr unsigned kZoomX = 1001;
inline constexpr unsigned kZoomXUpDown = 1000;
inline constexpr unsigned kZoomY = 1002;
inline constexpr unsigned kZoomYUpDown = 1003;

void RegisterViewDialogs();

}  // namespace qova::resources
