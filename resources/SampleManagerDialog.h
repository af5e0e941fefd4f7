#pragma once
// The template of the "Sample Manager" dialog and its control ids: filters on
// the left, the sample list, the analysis buttons, and the header of the
// selected sample on the right.
namespace qova::resources {

inline constexpr unsigned kSampleManagerDialog = 134;

namespace manager {

// Filter column.
inline constexpr unsigned kUseFromDate = 1005;
inline constexpr unsigned kFromDate = 1004;
inline constexpr unsigned kSetFromDate = 1001;
inline constexpr unsigned kUseToDate = 1006;
inline constexpr unsigned kToDate = 1007;
inline constexpr unsigned kSetToDate = 1002;
inline constexpr unsigned kUseArrayType = 1040;
inline constexpr unsigned kArrayTypeFilter = 1015;
inline constexpr unsigned kUseSelfReference = 1016;
inline constexpr unsigned kSelfReferenceYes = 1017;        // hidden
inline constexpr unsigned kSelfReferenceYesAndNo = 1018;   // hidden
inline constexpr unsigned kUseTestOrRef = 1056;
inline constexpr unsigned kTestOnly = 1057;
inline constexpr unsigned kRefOnly = 1058;
inline constexpr unsigned kTestAndRef = 1059;
// Attribute k (0..4): its check box and its drop-down list.
inline constexpr unsigned kUseAttribute[5] = {1019, 1021, 1023, 1025, 1027};
inline constexpr unsigned kAttributeFilter[5] = {1020, 1022, 1024, 1026, 1028};
inline constexpr unsigned kAdd = 1003;
inline constexpr unsigned kNew = 1008;

inline constexpr unsigned kSampleList = 1009;

// Actions.
inline constexpr unsigned kAlleleSpecificAnalysis = 1029;
inline constexpr unsigned kNonSelfAnalysis = 1030;
inline constexpr unsigned kModeCurrentSet = 1011;
inline constexpr unsigned kModeAutomatic = 1010;
inline constexpr unsigned kModeManual = 1012;
inline constexpr unsigned kModeSelfOnly = 1039;
inline constexpr unsigned kAutomaticSameSex = 1074;
inline constexpr unsigned kManualSameSex = 1075;
inline constexpr unsigned kAssociationAnalysis = 1081;
inline constexpr unsigned kInput = 1013;                 // hidden
inline constexpr unsigned kSelectNonSelfRef = 1060;      // hidden
inline constexpr unsigned kSetCandidateRefs = 1063;      // hidden
inline constexpr unsigned kAutomaticAnalysis = 1064;     // hidden

// Property panel: read-only captions and their values.
inline constexpr unsigned kNameCaption = 1031;
inline constexpr unsigned kName = 1032;
inline constexpr unsigned kArrayTypeCaption = 1033;
inline constexpr unsigned kArrayType = 1034;
inline constexpr unsigned kCreationTimeCaption = 1035;
inline constexpr unsigned kCreationTime = 1036;
inline constexpr unsigned kTestOrRefCaption = 1037;
inline constexpr unsigned kTestOrRef = 1038;
inline constexpr unsigned kSelfReferenceCaption = 1041;
inline constexpr unsigned kSelfReference = 1042;
inline constexpr unsigned kNonSelfBaseRangeCaption = 1065;
inline constexpr unsigned kNonSelfBaseRange = 1066;
inline constexpr unsigned kSelfBaseRangeCaption = 1067;
inline constexpr unsigned kSelfBaseRange = 1068;
inline constexpr unsigned kReferenceScoresCaption = 1043;
inline constexpr unsigned kReferenceScores = 1044;   // multi-line
inline constexpr unsigned kReferenceNamesCaption = 1070;
inline constexpr unsigned kReferenceNames = 1073;    // multi-line
inline constexpr unsigned kCandidatesCaption = 1061;  // hidden
inline constexpr unsigned kCandidates = 1062;         // hidden
inline constexpr unsigned kAttributeCaption[5] = {1045, 1046, 1047, 1048, 1049};
inline constexpr unsigned kAttribute[5] = {1050, 1051, 1052, 1053, 1054};  // editable
inline constexpr unsigned kSexCaption = 1069;
inline constexpr unsigned kMale = 1014;
inline constexpr unsigned kFemale = 1071;
inline constexpr unsigned kSexNotDetermined = 1072;
inline constexpr unsigned kTransferDiploidRegion = 1076;
inline constexpr unsigned kRefresh = 1055;

}  // namespace manager

// Adds the template to the resources unless it is there already.
void RegisterSampleManagerDialog();

}  // namespace qova::resources
