#pragma once
// The templates of the "Batch analysis" dialog (filters, the check list of
// samples, the batch actions) and of the small "Change attribute" dialog it
// opens, with their control ids.
namespace qova::resources {

inline constexpr unsigned kBatchSelectDialog = 145;
inline constexpr unsigned kChangeAttributeDialog = 183;

namespace batch {

// Filters.
inline constexpr unsigned kUseFromDate = 1005;
inline constexpr unsigned kFromDate = 1004;
inline constexpr unsigned kSetFromDate = 1001;
inline constexpr unsigned kUseToDate = 1006;
inline constexpr unsigned kToDate = 1007;
inline constexpr unsigned kSetToDate = 1002;
inline constexpr unsigned kUseArrayType = 1040;
inline constexpr unsigned kArrayTypeFilter = 1015;
inline constexpr unsigned kUseSelfReference = 1016;
inline constexpr unsigned kUseTestOrRef = 1030;
inline constexpr unsigned kTestOnly = 1058;
inline constexpr unsigned kRefOnly = 1059;
inline constexpr unsigned kTestAndRef = 1060;
// Attribute k (0..4): its check box and its drop-down.
inline constexpr unsigned kUseAttribute[5] = {1019, 1021, 1023, 1025, 1027};
inline constexpr unsigned kAttributeFilter[5] = {1020, 1022, 1024, 1026, 1028};
inline constexpr unsigned kUseNotAnalyzed = 1031;
inline constexpr unsigned kUseAfterDate = 1032;
inline constexpr unsigned kAfterDate = 1011;
inline constexpr unsigned kSetAfterDate = 1012;

// The list.
inline constexpr unsigned kSampleList = 1008;  // check list
inline constexpr unsigned kRefresh = 1009;
inline constexpr unsigned kCheckAll = 1003;
inline constexpr unsigned kUncheckAll = 1010;

// Actions.
inline constexpr unsigned kSameSex = 1057;
inline constexpr unsigned kTransferDiploidRegion = 1056;
inline constexpr unsigned kReferenceMode = 1050;
inline constexpr unsigned kSelectNonSelfRefs = 1013;
inline constexpr unsigned kAutomaticAnalysis = 1029;
inline constexpr unsigned kChangeAttribute = 1055;
inline constexpr unsigned kOptions = 1014;

}  // namespace batch

namespace change {

inline constexpr unsigned kModeAttribute = 1017;
inline constexpr unsigned kModeTest = 1018;
inline constexpr unsigned kModeReference = 1057;
inline constexpr unsigned kAttribute = 1015;
inline constexpr unsigned kNewValue = 1004;

}  // namespace change

// Adds both templates to the resources unless they are there already.
void RegisterBatchDialogs();

}  // namespace qova::resources
