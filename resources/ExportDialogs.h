#pragma once
// The dialogs of the text exports of analysed samples: the chooser of the
// export, the columns of the sample list and of the raw data, the known-genes
// option of the copy-number change and marker lists, and the region of the
// region statistics and A-B exports.

namespace qova::resources {

inline constexpr unsigned kOutputSampleListDialog = 171;
// The column check boxes, in no particular order (the export's column table
// gives the order of the columns).
inline constexpr unsigned kListSampleName = 1005;  // disabled: always written
inline constexpr unsigned kListArrayType = 1006;
inline constexpr unsigned kListSelfReferenceName = 1007;
inline constexpr unsigned kListSelf = 1016;
inline constexpr unsigned kListSelfSd = 1017;
inline constexpr unsigned kListNonSelf = 1019;
inline constexpr unsigned kListNonSelfPloidy = 1020;
inline constexpr unsigned kListAttribute1 = 1021;  // to 1025 for attribute 5
inline constexpr unsigned kListSex = 1026;
inline constexpr unsigned kListSelfDiploid = 1027;
inline constexpr unsigned kListSelfPloidy = 1036;
inline constexpr unsigned kListCreateTime = 1040;
inline constexpr unsigned kListNonSelfDiploid = 1056;
inline constexpr unsigned kListNonSelfSd = 1074;
inline constexpr unsigned kListArrayData = 1075;

// "Output Data": one button per kind of export.
inline constexpr unsigned kOutputDataDialog = 186;
inline constexpr unsigned kOutputSampleListButton = 1001;
inline constexpr unsigned kOutputRawDataButton = 1002;
inline constexpr unsigned kOutputCopyNumberButton = 1003;
inline constexpr unsigned kOutputMarkerButton = 1007;
inline constexpr unsigned kOutputRegionStatisticsButton = 1013;
inline constexpr unsigned kOutputLohButton = 1014;
inline constexpr unsigned kOutputABCalcButton = 1015;
inline constexpr unsigned kOutputNonSelfReferencesButton = 1016;

// "Output raw data": the column check boxes, in the order of the columns.
inline constexpr unsigned kOutputRawDataDialog = 182;
inline constexpr unsigned kRawId = 1005;
inline constexpr unsigned kRawVendorSnpId = 1006;
inline constexpr unsigned kRawRsId = 1040;
inline constexpr unsigned kRawChromosome = 1016;
inline constexpr unsigned kRawPosition = 1019;
inline constexpr unsigned kRawLogRatio = 1021;
inline constexpr unsigned kRawLogRatioA = 1023;
inline constexpr unsigned kRawLogRatioB = 1025;
inline constexpr unsigned kRawState = 1027;
inline constexpr unsigned kRawStateA = 1028;
inline constexpr unsigned kRawStateB = 1029;
inline constexpr unsigned kRawCallTest = 1030;
inline constexpr unsigned kRawCallReference = 1031;
inline constexpr unsigned kRawLohLikelihood = 1032;
// One file per array type, the samples side by side.
inline constexpr unsigned kRawCombined = 1056;

inline constexpr unsigned kCNChangeDialog = 187;
inline constexpr unsigned kCNChangeKnownGenes = 1005;

inline constexpr unsigned kStatRegionDialog = 189;
inline constexpr unsigned kStatRegionFrom = 1004;
inline constexpr unsigned kStatRegionTo = 1005;
inline constexpr unsigned kStatRegionFirst = 1006;
inline constexpr unsigned kStatRegionChromosome = 1015;
inline constexpr unsigned kStatRegionLast = 1040;
inline constexpr unsigned kStatRegionLength = 1083;  // "0 - <length>"

void RegisterExportDialogs();

}  // namespace qova::resources
