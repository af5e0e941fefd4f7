#pragma once
// Dialog templates of viewing: the chromosome chooser, the zoom dialog, the
// sample selection of the multiple grid and the integral view's editor.
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

// "Sample selection": which samples the multiple grid shows, in which order.
inline constexpr unsigned kMultiViewSelectDialog = 155;
inline constexpr unsigned kMultiViewUnselected = 1008;
inline constexpr unsigned kMultiViewSelected = 1009;
inline constexpr unsigned kMultiViewInclude = 1001;
inline constexpr unsigned kMultiViewRemove = 1002;
inline constexpr unsigned kMultiViewUp = 1003;
inline constexpr unsigned kMultiViewDown = 1007;
inline constexpr unsigned kMultiViewSetGroup = 1013;

// "Edit integral view": the integrated samples, to delete or read again.
inline constexpr unsigned kEditIntegrateDialog = 195;
inline constexpr unsigned kEditIntegrateSamples = 1008;
inline constexpr unsigned kEditIntegrateDelete = 1087;
inline constexpr unsigned kEditIntegrateUpdate = 1088;

void RegisterViewDialogs();

}  // namespace qova::resources
