#pragma once
// Dialog templates of the engine's parameters: the state means of the two
// hidden Markov models, the gain/loss model, display averaging, averaging
// several arrays into one, the baseline and the contamination rate.
namespace qova::resources {

// One state of a means dialog: a read-only edit with the mean, and an up-down
// (the mean x 100) beside the edit that shows its number.
struct HmmMeanRow {
  const char* label;  // "N=6"
  unsigned valueEdit;
  unsigned upDown;
  unsigned buddyEdit;
};

inline constexpr unsigned kHmmDefault = 1001;       // button "Default"
inline constexpr unsigned kHmmCurrentValue = 1002;  // button "Current Value"

// "HMM parameter": the total copy-number states N=6 down to N=0.
inline constexpr unsigned kHmmParameterDialog = 152;
inline constexpr HmmMeanRow kHmmParameterRows[7] = {
    {"N=6", 1009, 1068, 1038}, {"N=5", 1004, 1067, 1032}, {"N=4", 1005, 1020, 1033}, {"N=3", 1007, 1021, 1034},
    {"N=2", 1006, 1022, 1035}, {"N=1", 1031, 1023, 1036}, {"N=0", 1008, 1024, 1037},
};

// "HMM parameters for Self Analysis": the allele states N=4 down to N=0, with
// the ids of the same states above.
inline constexpr unsigned kHmmSelfParameterDialog = 174;
inline constexpr HmmMeanRow kHmmSelfParameterRows[5] = {
    {"N=4", 1005, 1020, 1033}, {"N=3", 1007, 1021, 1034}, {"N=2", 1006, 1022, 1035},
    {"N=1", 1031, 1023, 1036}, {"N=0", 1008, 1024, 1037},
};

// "HMM parameter" of the gain/loss model: six number edits.
inline constexpr unsigned kGainLossDialog = 190;
inline constexpr unsigned kGainLossGainThreshold = 1004;
inline constexpr unsigned kGainLossLossThreshold = 1005;
inline constexpr unsigned kGainLossNormalGivenAberration = 1006;
inline constexpr unsigned kGainLossAberrationGivenNormal = 1008;
inline constexpr unsigned kGainLossGainGivenLoss = 1007;
inline constexpr unsigned kGainLossKosambi = 1031;

// "set averaging mode".
inline constexpr unsigned kAverageDialog = 136;
inline constexpr unsigned kAverageNumberLabel = 1003;  // "Enter Averaging Number (1-50)"
inline constexpr unsigned kAverageNumber = 1004;
inline constexpr unsigned kAverageExcludeMaxMin = 1017;
inline constexpr unsigned kAverageIncludeAll = 1018;
inline constexpr unsigned kAveragePoints = 1057;
inline constexpr unsigned kAverageLines = 1058;

// "Average Arrays".
inline constexpr unsigned kAverageArrayDialog = 178;
inline constexpr unsigned kAverageArrayNewName = 1004;
inline constexpr unsigned kAverageArraySamples = 1008;  // extended selection
inline constexpr unsigned kAverageArrayType = 1015;
inline constexpr unsigned kAverageArrayHeaderFrom = 1020;

// "Baseline setting": a mode radio per row and the copy numbers of that row.
inline constexpr unsigned kBaseSetDialog = 137;
inline constexpr unsigned kBaseSetBoth = 1013;
inline constexpr unsigned kBaseSetLarger = 1014;
inline constexpr unsigned kBaseSetSmaller = 1015;
inline constexpr unsigned kBaseSetBothN[4] = {1017, 1018, 1057, 1058};     // n=1..4
inline constexpr unsigned kBaseSetLargerN[4] = {1059, 1006, 1007, 1008};   // n=0..3
inline constexpr unsigned kBaseSetSmallerN[4] = {1009, 1010, 1011, 1012};  // n=0..3

// "determine contamination rate".
inline constexpr unsigned kContaminationDialog = 144;
inline constexpr unsigned kContaminationOneLocus = 1017;     // "N=1"
inline constexpr unsigned kContaminationThreeLoci = 1018;    // "N=3"

// The contamination rate of a self analysis: the allele and the loci.
inline constexpr unsigned kContaminationSelfDialog = 175;
inline constexpr unsigned kContaminationSelfBoth = 1017;
inline constexpr unsigned kContaminationSelfLarger = 1018;
inline constexpr unsigned kContaminationSelfSmaller = 1019;
inline constexpr unsigned kContaminationSelfOneLocus = 1057;
inline constexpr unsigned kContaminationSelfThreeLoci = 1058;

// Adds the eight templates to the resources unless they are there already.
void RegisterParameterDialogs();

}  // namespace qova::resources
