#pragma once
// Dialog templates of the association analysis.
namespace qova::resources {

// "Association": the numbers of positive and negative samples and the statistic.
inline constexpr unsigned kAssociationDialog = 193;
inline constexpr unsigned kAssociationPositive = 1004;
inline constexpr unsigned kAssociationNegative = 1005;
inline constexpr unsigned kAssociationMethod = 1015;

// "Select Array type": the array type of a new association study.
inline constexpr unsigned kSelectArrayTypeDialog = 198;
inline constexpr unsigned kSelectArrayTypeList = 1015;
inline constexpr unsigned kSelectArrayTypeSkipCheck = 1005;

// "Select CHP files": the cases and controls of a new association study.
inline constexpr unsigned kSelectChpsDialog = 199;
inline constexpr unsigned kSelectChpsSetFrom = 1001;
inline constexpr unsigned kSelectChpsSetTo = 1002;
inline constexpr unsigned kSelectChpsRefresh = 1003;
inline constexpr unsigned kSelectChpsFromDate = 1004;
inline constexpr unsigned kSelectChpsUseFrom = 1005;
inline constexpr unsigned kSelectChpsUseTo = 1006;
inline constexpr unsigned kSelectChpsToDate = 1007;
inline constexpr unsigned kSelectChpsFound = 1008;
inline constexpr unsigned kSelectChpsCases = 1009;
inline constexpr unsigned kSelectChpsControls = 1010;
inline constexpr unsigned kSelectChpsAddCase = 1013;
inline constexpr unsigned kSelectChpsDeleteCase = 1014;
inline constexpr unsigned kSelectChpsAddControl = 1015;
inline constexpr unsigned kSelectChpsDeleteControl = 1016;
inline constexpr unsigned kSelectChpsImportList = 1029;

void RegisterAssociationDialogs();

}  // namespace qova::resources
