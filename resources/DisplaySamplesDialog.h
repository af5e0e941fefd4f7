#pragma once
// The templates of the "Display Samples" dialog (result kind, groups,
// filters, the check list of samples, the display actions) and of the
// modeless "Single View List" it leads to, with their control ids.
namespace qova::resources {

inline constexpr unsigned kDisplaySamplesDialog = 142;
inline constexpr unsigned kSingleViewListDialog = 148;

namespace display {

// Result kind.
inline constexpr unsigned kSelfAnalysis = 1017;
inline constexpr unsigned kNonSelfAnalysis = 1018;

// Groups.
inline constexpr unsigned kGroups = 1029;
inline constexpr unsigned kSelectGroup = 1010;
inline constexpr unsigned kDeleteGroup = 1014;
inline constexpr unsigned kSetAsGroup = 1031;
inline constexpr unsigned kResetGroup = 1011;

// Filters.
inline constexpr unsigned kUseFromDate = 1005;
inline constexpr unsigned kFromDate = 1004;
inline constexpr unsigned kSetFromDate = 1001;
inline constexpr unsigned kUseToDate = 1006;
inline constexpr unsigned kToDate = 1007;
inline constexpr unsigned kSetToDate = 1002;
inline constexpr unsigned kUseArrayType = 1040;
inline constexpr unsigned kArrayTypeFilter = 1015;
inline constexpr unsigned kUseTestOrRef = 1056;
inline constexpr unsigned kTestOnly = 1057;
inline constexpr unsigned kRefOnly = 1058;
inline constexpr unsigned kTestAndRef = 1059;
// Attribute k (0..4): its check box and its drop-down.
inline constexpr unsigned kUseAttribute[5] = {1019, 1021, 1023, 1025, 1027};
inline constexpr unsigned kAttributeFilter[5] = {1020, 1022, 1024, 1026, 1028};
inline constexpr unsigned kAdd = 1003;
inline constexpr unsigned kNew = 1008;

// The list and the actions.
inline constexpr unsigned kSampleList = 1009;  // check list
inline constexpr unsigned kCheckAll = 1016;
inline constexpr unsigned kUncheckAll = 1032;
inline constexpr unsigned kSingleDisplay = 1013;
inline constexpr unsigned kMultiDisplay = 1030;
inline constexpr unsigned kIntegralView = 1060;
inline constexpr unsigned kOutputData = 1063;
inline constexpr unsigned kCombine = 1055;

}  // namespace display

namespace single_view {

inline constexpr unsigned kNames = 1008;  // list box

}  // namespace single_view

// Adds both templates to the resources unless they are there already.
void RegisterDisplaySamplesDialogs();

}  // namespace qova::resources
