#pragma once
// Dialog templates of the association analysis.
namespace qova::resources {

// "Association": the numbers of positive and negative samples and the statistic.
inline constexpr unsigned kAssociationDialog = 193;
inline constexpr unsigned kAssociationPositive = 1004;
inline constexpr unsigned kAssociationNegative = 1005;
inline constexpr unsigned kAssociationMethod = 1015;

void RegisterAssociationDialogs();

}  // namespace qova::resources
