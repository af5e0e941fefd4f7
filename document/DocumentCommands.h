#pragma once
// The command ids the main document handles (menu, toolbar and the commands
// that only a program sends). The menus and the toolbar use the same numbers.
#include "platform/Types.h"

namespace qova::document::command {

inline constexpr UINT kDataExtract = 32772;           // Data > Extract Data
inline constexpr UINT kSampleManager = 32773;         // Data > Sample Manager
inline constexpr UINT kStoreBasicData = 32774;        // writes the annotation tables
inline constexpr UINT kDisplaySamples = 32813;        // Data > DisplaySamples
inline constexpr UINT kOutputRawData = 32814;         // Data > Output Raw Data
inline constexpr UINT kBatchAnalysis = 32815;         // Automation > Batch Analysis
inline constexpr UINT kTransferArrangedData = 32816;  // old temporary data files
inline constexpr UINT kManualSelection = 32817;       // Parameter > Analysis > Manual Selection
inline constexpr UINT kAutomaticSelection = 32825;    // Parameter > Analysis > Automatic Selection
inline constexpr UINT kSelectOnlySelfRef = 32826;     // Parameter > Analysis > Select Only Self Ref
inline constexpr UINT kSelfAnalysis = 32827;          // Parameter > Analysis > Self Analysis
inline constexpr UINT kOutputSampleList = 32848;      // Data > Output Sample List
inline constexpr UINT kUpdateGenderFromChp = 32850;
inline constexpr UINT kUpdateFilesToNewestVersion = 32851;
inline constexpr UINT kAverageArrays = 32856;
inline constexpr UINT kBatchCombine = 32864;          // Automation > Batch Combine
inline constexpr UINT kCopyListedDataFiles = 32866;
inline constexpr UINT kChangeAttributesAsListed = 32867;
inline constexpr UINT kNothing = 32869;               // bound to a handler that does nothing
inline constexpr UINT kExtractImfFromList = 32873;    // regression work files, steps 1 to 8
inline constexpr UINT kImfCorrelation = 32874;
inline constexpr UINT kMakeSnpInfo = 32875;
inline constexpr UINT kImfToIm2 = 32876;
inline constexpr UINT kIm2ToIm3 = 32878;
inline constexpr UINT kMakeCnRegression = 32879;
inline constexpr UINT kIm3ToResult = 32880;
inline constexpr UINT kMakeNormalAverage = 32881;
inline constexpr UINT kConvertAllFiles = 32894;
inline constexpr UINT kExtractWithoutChp = 32897;     // Data > Extract without CHP
inline constexpr UINT kReanalysis = 32898;            // Parameter > Analysis > Re-analysis
inline constexpr UINT kApplyCorrection = 32902;
inline constexpr UINT kDumpCdf = 32906;
inline constexpr UINT kRefreshFileLists = 32908;
inline constexpr UINT kOpenIntegration = 32911;
inline constexpr UINT kSaveIntegration = 32912;
inline constexpr UINT kEditIntegration = 32913;

}  // namespace qova::document::command
