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

void RegisterAssociationDialogs();

}  // namespace qova::resources
