#pragma once
// The program's own command ids, as the menus, the tool bar and the
// accelerators carry them. The framework's commands (File > New 57600 ...)
// keep their standard ids from platform/ui/Constants.h.
namespace qova::resources {

// Data
inline constexpr unsigned kCmdExtractData = 32772;
inline constexpr unsigned kCmdSampleManager = 32773;
inline constexpr unsigned kCmdDisplaySamples = 32813;
inline constexpr unsigned kCmdOutputRawData = 32814;
inline constexpr unsigned kCmdOutputIgbFiles = 32849;
inline constexpr unsigned kCmdOutputSampleList = 32848;
inline constexpr unsigned kCmdExtractWithoutChp = 32897;
// Automation
inline constexpr unsigned kCmdBatchAnalysis = 32815;
inline constexpr unsigned kCmdBatchCombine = 32864;
// Parameter
inline constexpr unsigned kCmdDefaultSetting = 32771;
inline constexpr unsigned kCmdAverageMode = 32782;
inline constexpr unsigned kCmdHmmTotal = 32781;
inline constexpr unsigned kCmdHmmAllele = 32905;
inline constexpr unsigned kCmdSdRange = 32779;
inline constexpr unsigned kCmdContaminationRate = 32783;
inline constexpr unsigned kCmdAdjustAmp = 32784;
inline constexpr unsigned kCmdMeasure = 32802;
inline constexpr unsigned kCmdFragmentLengthPlot = 32841;
inline constexpr unsigned kCmdFragmentLengthRange = 32844;
inline constexpr unsigned kCmdMark = 32839;
inline constexpr unsigned kCmdEditMarker = 32840;
// The main view's marker list file and the HMM re-runs of an Agilent result.
inline constexpr unsigned kCmdRerunTotalHmm = 32884;
inline constexpr unsigned kCmdEditHmmStateMeans = 32885;
inline constexpr unsigned kCmdGainLossHmm = 32886;
inline constexpr unsigned kCmdSaveMarkerList = 32890;
inline constexpr unsigned kCmdLoadMarkerList = 32891;
// Parameter > Analysis
inline constexpr unsigned kCmdManualSelection = 32817;
inline constexpr unsigned kCmdAutomaticSelection = 32825;
inline constexpr unsigned kCmdSelectOnlySelfRef = 32826;
inline constexpr unsigned kCmdSelfAnalysis = 32827;
inline constexpr unsigned kCmdReanalysis = 32898;
// View
inline constexpr unsigned kCmdViewSetting = 32915;
inline constexpr unsigned kCmdAllGenome = 32789;
inline constexpr unsigned kCmdEachChromosome = 32790;
inline constexpr unsigned kCmdPreviousChromosome = 32791;
inline constexpr unsigned kCmdNextChromosome = 32807;
inline constexpr unsigned kCmdSnpInterval = 32810;
inline constexpr unsigned kCmdBaseInterval = 32811;
inline constexpr unsigned kCmdLogScale = 32822;
inline constexpr unsigned kCmdLinearScale = 32823;
inline constexpr unsigned kCmdSelectSamples = 32824;
inline constexpr unsigned kCmdSampleInformation = 32863;
// The shown self result against another paired reference (Tools menu).
inline constexpr unsigned kCmdChangeSelfReference = 32857;
// Tools: the main document's commands that the menus of old left out, so
// that a user reached them only by their ids
inline constexpr unsigned kCmdOpenIntegration = 32911;
inline constexpr unsigned kCmdSaveIntegration = 32912;
inline constexpr unsigned kCmdEditIntegration = 32913;
inline constexpr unsigned kCmdAverageArrays = 32856;
inline constexpr unsigned kCmdGenderFromChp = 32850;
inline constexpr unsigned kCmdUpdateFilesToNewestVersion = 32851;
inline constexpr unsigned kCmdCopyListedDataFiles = 32866;
inline constexpr unsigned kCmdChangeAttributesAsListed = 32867;
inline constexpr unsigned kCmdConvertAllFiles = 32894;
inline constexpr unsigned kCmdRefreshFileLists = 32908;
inline constexpr unsigned kCmdTransferArrangedData = 32816;
inline constexpr unsigned kCmdExtractImfFromList = 32873;
inline constexpr unsigned kCmdImfCorrelation = 32874;
inline constexpr unsigned kCmdMakeSnpInfo = 32875;
inline constexpr unsigned kCmdImfToIm2 = 32876;
inline constexpr unsigned kCmdMakeNormalAverage = 32881;
inline constexpr unsigned kCmdIm2ToIm3 = 32878;
inline constexpr unsigned kCmdMakeCnRegression = 32879;
inline constexpr unsigned kCmdIm3ToResult = 32880;
inline constexpr unsigned kCmdApplyCorrection = 32902;
inline constexpr unsigned kCmdDumpCdf = 32906;
inline constexpr unsigned kCmdStoreBasicData = 32774;
// File and Help of the application
inline constexpr unsigned kCmdNewGraph = 32926;
inline constexpr unsigned kCmdNewAssociation = 32930;
inline constexpr unsigned kCmdCheckNewVersion = 32903;
// The graph document's menu
inline constexpr unsigned kCmdExportGraph = 32916;
inline constexpr unsigned kCmdGraphSetting = 32917;
inline constexpr unsigned kCmdGraphSaveSetting = 32918;
inline constexpr unsigned kCmdGraphLoadSetting = 32919;
inline constexpr unsigned kCmdGraphOutputSampleOrder = 32920;
inline constexpr unsigned kCmdClusterAnalysis = 32921;
inline constexpr unsigned kCmdCluster2 = 32922;
inline constexpr unsigned kCmdCluster3 = 32923;
inline constexpr unsigned kCmdCluster4 = 32924;
// The association document's menu
inline constexpr unsigned kCmdCalcChi2 = 32933;

}  // namespace qova::resources
