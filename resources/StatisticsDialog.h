#pragma once
// "Statistics ": the Measure tool's report over a range of SNPs.
namespace qova::resources {

inline constexpr unsigned kShowStatDialog = 168;
inline constexpr unsigned kShowStatText = 129;       // the report
inline constexpr unsigned kShowStatGoToWeb = 1001;   // "Go to &Web"
inline constexpr unsigned kShowStatCopy = 1003;      // "&Copy to clipboard"

void RegisterStatisticsDialog();

}  // namespace qova::resources
