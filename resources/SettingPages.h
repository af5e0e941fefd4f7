#pragma once
// Templates of the fifteen settings pages (each template's caption is its tab
// caption) and the ids of their controls. Ids repeat between pages, as each
// page is a dialog of its own.
namespace qova::resources::settings {

inline constexpr unsigned kFoldersPage = 102;      // "Folders"
inline constexpr unsigned kDisplayPage = 139;      // "Display"
inline constexpr unsigned kPrintPage = 140;        // "Print"
inline constexpr unsigned kItemsPage = 151;        // "Items"
inline constexpr unsigned kColorPage = 156;        // "Color"
inline constexpr unsigned kScalePage = 157;        // "Scale"
inline constexpr unsigned kColor2Page = 158;       // "Color2"
inline constexpr unsigned kColorMPage = 160;       // "Multiple" (colour gradients)
inline constexpr unsigned kIntegratePage = 161;    // "Integral"
inline constexpr unsigned kMarkerPage = 165;       // "Marker"
inline constexpr unsigned kExtraPage = 166;        // "Extra"
inline constexpr unsigned kItemMultiPage = 180;    // "Multiple" (items)
inline constexpr unsigned kAutoPage = 185;         // "Automatic"
inline constexpr unsigned kZenkorPage = 192;       // "Zenkor"
inline constexpr unsigned kAssociationPage = 200;  // "Association"

// Folders: a read-only edit and a "set" button per folder.
namespace folders {
inline constexpr unsigned kDataEdit = 1004, kDataSet = 1001;
inline constexpr unsigned kLibraryEdit = 1005, kLibrarySet = 1002;
inline constexpr unsigned kArrayDataEdit = 1006, kArrayDataSet = 1003;
inline constexpr unsigned kResultEdit = 1008, kResultSet = 1007;
inline constexpr unsigned kOutputEdit = 1010, kOutputSet = 1009;
}  // namespace folders

// Display and Print: an x and a y size per view kind, each with its spin.
// The multiple view's x edit and spin swap ids between the two pages.
namespace sizes {
inline constexpr unsigned kAllX = 1049, kAllXSpin = 1051, kAllY = 1050, kAllYSpin = 1052;
inline constexpr unsigned kEachX = 1005, kEachXSpin = 1004, kEachY = 1006, kEachYSpin = 1007;
inline constexpr unsigned kMultiY = 1010, kMultiYSpin = 1011;
inline constexpr unsigned kDisplayMultiX = 1008, kDisplayMultiXSpin = 1009;
inline constexpr unsigned kPrintMultiX = 1009, kPrintMultiXSpin = 1008;
inline constexpr unsigned kOnePageAll = 1053, kOnePageEach = 1054, kOnePageMulti = 1055;
}  // namespace sizes

// Items: the allele-specific (self) and non-self groups.
namespace items {
inline constexpr unsigned kSelfCallBar = 1005, kSelfCopyNumber = 1006, kSelfHmm = 1040, kSelfAlleleBased = 1016,
                          kSelfCytoband = 1019, kSelfCopyNumberPlot = 1021, kSelfUserMarker = 1080,
                          kSelfHmmOfAba = 1057, kSelfAlleleDifference = 1030;
inline constexpr unsigned kNonSelfCallBar = 1007, kNonSelfCopyNumber = 1008, kNonSelfHmm = 1041,
                          kNonSelfAlleleBased = 1017, kNonSelfCytoband = 1024, kNonSelfLoh = 1026,
                          kNonSelfCopyNumberPlot = 1018, kNonSelfUserMarker = 1081, kNonSelfHmmOfAba = 1058;
inline constexpr unsigned kHmmHorizontalOnly = 1076;
}  // namespace items

// Multiple (items): the multiple view and the whole-genome view.
namespace itemmulti {
inline constexpr unsigned kScaleBar = 1023, kCytobandTop = 1025, kCallBar = 1027, kCopyNumber = 1056, kHmm = 1036,
                          kCopyNumberPlot = 1077, kAlleleBased = 1017, kCytoband = 1020, kLoh = 1022,
                          kHmmGradient = 1074, kLohGradient = 1075, kUserMarker = 1082;
inline constexpr unsigned kWholeCopyNumberPlot = 1079, kWholeCopyNumber = 1057, kWholeAlleleBased = 1018,
                          kWholeHmmGradient = 1076, kWholeLohGradient = 1078, kWholeCallBar = 1028,
                          kWholeUserMarker = 1083;
inline constexpr unsigned kInterval = 1004;
}  // namespace itemmulti

// Colour pages: a "color" button and a swatch frame per colour.
namespace color {
inline constexpr unsigned kButtons[11] = {1001, 1002, 1003, 1007, 1013, 1014, 1015, 1016, 1017, 1018, 1019};
inline constexpr unsigned kSwatches[11] = {1059, 1060, 1061, 1062, 1063, 1064, 1065, 1071, 1066, 1069, 1070};
inline constexpr unsigned kWidths[4] = {1004, 1005, 1006, 1008};
inline constexpr unsigned kWidthSpins[4] = {1067, 1020, 1021, 1022};
inline constexpr unsigned kPenStyles[3] = {1052, 1053, 1054};  // base line, +-1 lines, +-0.5 lines
inline constexpr unsigned kDefault = 1068;
}  // namespace color

namespace color2 {
inline constexpr unsigned kNone = 1057, kFragment = 1017, kDeviation = 1018;
inline constexpr unsigned kSame = 1005, kNext = 1006, kOne = 1040, kAbove2Sd = 1019;
inline constexpr unsigned kCopyNumberButton = 1001, kCopyNumberSwatch = 1059;
inline constexpr unsigned kSameButton = 1002, kSameSwatch = 1060;
inline constexpr unsigned kNextButton = 1003, kNextSwatch = 1061;
inline constexpr unsigned kOneButton = 1007, kOneSwatch = 1062;
inline constexpr unsigned kTwoSdButton = 1014, kTwoSdSwatch = 1064;
}  // namespace color2

namespace colorm {
inline constexpr unsigned kCopyNumberButtons[7] = {1001, 1002, 1003, 1007, 1013, 1014, 1015};
inline constexpr unsigned kCopyNumberSwatches[7] = {1059, 1060, 1061, 1062, 1063, 1064, 1065};
inline constexpr unsigned kLohButtons[5] = {1079, 1076, 1077, 1012, 1078};
inline constexpr unsigned kLohSwatches[5] = {1071, 1066, 1069, 1070, 1074};
inline constexpr unsigned kBoundaries[4] = {1004, 1005, 1006, 1008};  // thLOH1..thLOH4
inline constexpr unsigned kBoundarySpins[4] = {1067, 1020, 1021, 1022};
}  // namespace colorm

// Integral: positive, high amplification, negative, homozygous deletion.
namespace integrate {
inline constexpr unsigned kButtons[4] = {1001, 1002, 1003, 1007};
inline constexpr unsigned kSwatches[4] = {1059, 1060, 1061, 1062};
inline constexpr unsigned kLaneWidth = 1004, kLaneWidthSpin = 1067;
}  // namespace integrate

// Marker: user markers 0..6.
namespace marker {
inline constexpr unsigned kButtons[7] = {1001, 1002, 1003, 1007, 1013, 1014, 1015};
inline constexpr unsigned kSwatches[7] = {1059, 1060, 1061, 1062, 1063, 1064, 1065};
inline constexpr unsigned kWidth = 1004, kWidthSpin = 1067, kInterval = 1005;
}  // namespace marker

namespace scale {
inline constexpr unsigned kSelfLog = 1017, kSelfLinear = 1018, kSelfMagnification = 1004, kSelfMagnificationSpin = 1067;
inline constexpr unsigned kNonSelfLog = 1057, kNonSelfLinear = 1058, kNonSelfMagnification = 1005,
                          kNonSelfMagnificationSpin = 1020;
}  // namespace scale

namespace automatic {
inline constexpr unsigned kMaxReferences = 1004;
inline constexpr unsigned kSelf = 1006, kNonSelf = 1005, kSkipAnalyzed = 1040, kLimitReference = 1016;
inline constexpr unsigned kAttribute = 1015, kIs = 129, kIdentical = 1017, kGivenValue = 1018, kValue = 1020;
inline constexpr unsigned kExcludeSelf = 1019;
}  // namespace automatic

// Zenkor: the AI, LOH and UPD rows of threshold, alpha, beta, Kosambi, marker.
namespace zenkor {
inline constexpr unsigned kRows[3][5] = {{1004, 1005, 1006, 1008, 1007},
                                         {1031, 1032, 1033, 1034, 1035},
                                         {1036, 1037, 1038, 1039, 1040}};
inline constexpr unsigned kUseZenkor = 1019, kAiInference = 1016;
// The LOH and X-chromosome options (Off or On); no computation reads them yet.
inline constexpr unsigned kLohOption = 1041, kXOption = 1042;
}  // namespace zenkor

namespace association {
inline constexpr unsigned kByAllele = 1017, kBySample = 1018;
inline constexpr unsigned kSampleCallRate = 1004, kSnpCallRate = 1005, kSnpMaf = 1006, kCallRateDifference = 1008,
                          kPermutations = 1007;
}  // namespace association

namespace extra {
inline constexpr unsigned kNotLimitToHetero = 1005, kAverageWindow = 1004, kHideBefore = 1040, kHideAfter = 1006;
inline constexpr unsigned kAlleleAmplitude = 1008, kSampleSpacing = 1007, kNameX = 1031, kNameY = 1032;
inline constexpr unsigned kScroll = 1016, kLeftMargin = 1033;
inline constexpr unsigned kHeteroRate = 1034, kMissHeteroRate = 1035, kKosambi = 1036;
inline constexpr unsigned kMorekomi = 1021, kMorekomiRate = 1037, kNormalDistribution = 1023, kLdLoh = 1025;
inline constexpr unsigned kIntegralMargin = 1015, kRegression = 1020, kUseFileList = 1027;
}  // namespace extra

}  // namespace qova::resources::settings

namespace qova::resources {

// Adds the fifteen templates unless they are there already.
void RegisterSettingPages();

namespace settings {
// The five colour pages' share of RegisterSettingPages.
void AddColorPageTemplates();
}  // namespace settings

}  // namespace qova::resources
