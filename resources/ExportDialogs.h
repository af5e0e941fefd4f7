#pragma once
// The dialogs of the text exports of analysed samples: the columns of the
// sample list.

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

void RegisterExportDialogs();

}  // namespace qova::resources
