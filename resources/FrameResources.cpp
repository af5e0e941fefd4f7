#include "resources/FrameResources.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Resources.h"
#include "resources/CommandIds.h"
#include "resources/ToolBarImages.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

// The File menu after its New, Open and Save commands.
std::vector<MenuItemTemplate> WithFileTail(std::vector<MenuItemTemplate> items) {
  items.insert(items.end(), {MenuItem("&Close", ID_FILE_CLOSE), MenuSeparator(),
                             MenuItem("&Print...\tCtrl+P", ID_FILE_PRINT),
                             MenuItem("Print Pre&view", ID_FILE_PRINT_PREVIEW),
                             MenuItem("P&rint Setup...", ID_FILE_PRINT_SETUP), MenuSeparator(),
                             MenuItem("E&xit", ID_APP_EXIT)});
  return items;
}

MenuItemTemplate WindowMenu() {
  return Popup("&Window", {MenuItem("&New Window", ID_WINDOW_NEW), MenuItem("&Cascade", ID_WINDOW_CASCADE),
                           MenuItem("&Tile", ID_WINDOW_TILE_HORZ), MenuItem("&Arrange Icons", ID_WINDOW_ARRANGE)});
}

MenuItemTemplate HelpMenu() {
  return Popup("&Help", {MenuItem("&About QOVA...", ID_APP_ABOUT), MenuItem("Check for &new version", kCmdCheckNewVersion)});
}

// The View items the main document and the association document share; the
// main document adds its scale and sample commands in between.
std::vector<MenuItemTemplate> ViewItems(bool withScalesAndSamples) {
  std::vector<MenuItemTemplate> items = {MenuItem("&View Setting", kCmdViewSetting),
                                         MenuSeparator(),
                                         MenuItem("&Toolbar", ID_VIEW_TOOLBAR),
                                         MenuItem("&Status Bar", ID_VIEW_STATUS_BAR),
                                         MenuSeparator(),
                                         MenuItem("&AllGenome ", kCmdAllGenome),
                                         MenuItem("&EachChromosome", kCmdEachChromosome),
                                         MenuSeparator(),
                                         MenuItem("&PreviousChromosome", kCmdPreviousChromosome),
                                         MenuItem("&NextChromosome", kCmdNextChromosome),
                                         MenuSeparator(),
                                         MenuItem("SNPs &Interval", kCmdSnpInterval),
                                         MenuItem("&Base Interval", kCmdBaseInterval),
                                         MenuSeparator()};
  if (withScalesAndSamples) {
    items.insert(items.end(), {MenuItem("Lo&g Scale", kCmdLogScale), MenuItem("Linea&r Scale", kCmdLinearScale),
                               MenuSeparator(), MenuItem("Se&lect Samples", kCmdSelectSamples), MenuSeparator()});
  }
  items.push_back(MenuItem("Sample in&fomation", kCmdSampleInformation));
  return items;
}

// The main document's commands that the menus of old left out, reachable
// only by their ids there. Their texts follow the string table's prompts; the
// commands' own update handlers enable them.
MenuItemTemplate ToolsMenu() {
  return Popup(
      "&Tools",
      {Popup("&Integration", {MenuItem("&Open integration file...", kCmdOpenIntegration),
                              MenuItem("&Save integration file...", kCmdSaveIntegration),
                              MenuItem("&Edit integration", kCmdEditIntegration)}),
       Popup("&Sample files", {MenuItem("&Average arrays", kCmdAverageArrays),
                               MenuItem("Called &gender from CHP files", kCmdGenderFromChp),
                               MenuItem("&Update all sample files to the newest version",
                                        kCmdUpdateFilesToNewestVersion),
                               MenuItem("&Copy listed data files", kCmdCopyListedDataFiles),
                               MenuItem("Change attributes and se&x as listed file", kCmdChangeAttributesAsListed),
                               MenuItem("&Rewrite sample files in the current format", kCmdConvertAllFiles),
                               MenuItem("Re&fresh the sample-file index", kCmdRefreshFileLists),
                               MenuItem("&Transfer old temporary data files", kCmdTransferArrangedData)}),
       Popup("&Regression pipeline", {MenuItem("&1 Intensity files (.IMF) of listed samples", kCmdExtractImfFromList),
                                      MenuItem("&2 Probe correlations", kCmdImfCorrelation),
                                      MenuItem("&3 SNP information (SNPinfo.txt)", kCmdMakeSnpInfo),
                                      MenuItem("&4 .IMF to .IM2", kCmdImfToIm2),
                                      MenuItem("&5 Normal average (NormalAve.txt)", kCmdMakeNormalAverage),
                                      MenuItem("&6 .IM2 to .IM3", kCmdIm2ToIm3),
                                      MenuItem("&7 Copy-number regression", kCmdMakeCnRegression),
                                      MenuItem("&8 .IM3 to results (VIRIV*.CFA)", kCmdIm3ToResult)}),
       MenuSeparator(),
       // The shown sample's commands without a menu entry of their own.
       MenuItem("Change &reference for self analysis...", kCmdChangeSelfReference),
       MenuItem("Two-state segment &correction", kCmdApplyCorrection),
       MenuItem("Save &marker list...", kCmdSaveMarkerList), MenuItem("L&oad marker list...", kCmdLoadMarkerList),
       MenuItem("Total &HMM again (Agilent244K)", kCmdRerunTotalHmm),
       MenuItem("HMM state m&eans and total HMM again (Agilent244K)...", kCmdEditHmmStateMeans),
       MenuItem("&Gain/loss HMM (Agilent244K)...", kCmdGainLossHmm),
       MenuSeparator(),
       MenuItem("&Dump CDF file...", kCmdDumpCdf),
       MenuItem("&Write annotation tables", kCmdStoreBasicData)});
}

MenuTemplate MainFrameMenu() {
  return {kMainFrame,
          {Popup("&File", {MenuItem("&New(QOVA)", ID_FILE_NEW), MenuItem("&Open...\tCtrl+O", ID_FILE_OPEN),
                           MenuSeparator(), MenuItem("E&xit", ID_APP_EXIT)}),
           Popup("&Parameter", {MenuItem("Default &Setting", kCmdDefaultSetting)}), HelpMenu()}};
}

MenuTemplate MainDocumentMenu() {
  return {kQovaDocumentType,
          {Popup("&File", WithFileTail({MenuItem("&New(QOVA)", ID_FILE_NEW), MenuItem("New(&Graph)", kCmdNewGraph),
                                         MenuItem("New(Association)", kCmdNewAssociation),
                                         MenuItem("&Open...\tCtrl+O", ID_FILE_OPEN)})),
           Popup("&Data", {MenuItem("&Extract Data", kCmdExtractData), MenuItem("&Sample Manager", kCmdSampleManager),
                           MenuItem("&DisplaySamples", kCmdDisplaySamples), MenuSeparator(),
                           MenuItem("Output &Raw Data", kCmdOutputRawData),
                           MenuItem("Output &IGB Files", kCmdOutputIgbFiles),
                           MenuItem("Output Sample &List", kCmdOutputSampleList), MenuSeparator(),
                           MenuItem("Extract &without CHP", kCmdExtractWithoutChp)}),
           Popup("&Automation",
                 {MenuItem("Batch &Analysis", kCmdBatchAnalysis), MenuItem("Batch &Combine", kCmdBatchCombine)}),
           ToolsMenu(),
           Popup("&Parameter",
                 {MenuItem("Default &Setting", kCmdDefaultSetting), MenuSeparator(),
                  MenuItem("&Average mode", kCmdAverageMode), MenuItem("&HMM parameter (total)", kCmdHmmTotal),
                  MenuItem("HMM parameter (a&llele)", kCmdHmmAllele), MenuSeparator(),
                  MenuItem("Set &Range for SD Calculation", kCmdSdRange),
                  MenuItem("&ContaminationRate", kCmdContaminationRate), MenuItem("A&djustAmp", kCmdAdjustAmp),
                  MenuSeparator(), MenuItem("&Measure", kCmdMeasure), MenuSeparator(),
                  MenuItem("Fragment Length &Plot", kCmdFragmentLengthPlot),
                  MenuItem("Set&FragmentLengthRange", kCmdFragmentLengthRange), MenuSeparator(),
                  MenuItem("Mar&k", kCmdMark), MenuItem("&EditMarker", kCmdEditMarker), MenuSeparator(),
                  Popup("A&nalysis", {MenuItem("&Manual Selection", kCmdManualSelection),
                                      MenuItem("&Automatic Selection", kCmdAutomaticSelection),
                                      MenuItem("Select &Only Self Ref", kCmdSelectOnlySelfRef),
                                      MenuItem("&Self Analysis", kCmdSelfAnalysis),
                                      MenuItem("&Re-analysis", kCmdReanalysis)})}),
           Popup("&View", ViewItems(true)), WindowMenu(), HelpMenu()}};
}

MenuTemplate GraphDocumentMenu() {
  return {kGraphDocumentType,
          {Popup("&File", WithFileTail({MenuItem("New(&Graph)", kCmdNewGraph), MenuItem("&New(QOVA)", ID_FILE_NEW),
                                         MenuItem("New(Association)", kCmdNewAssociation),
                                         MenuItem("&Open...\tCtrl+O", ID_FILE_OPEN)})),
           Popup("&Edit", {MenuItem("&Copy", ID_EDIT_COPY), MenuItem("&Export Graph", kCmdExportGraph)}),
           Popup("&Analysis", {MenuItem("ClusterAnalysis", kCmdClusterAnalysis), MenuItem("Cluster2", kCmdCluster2),
                               MenuItem("Cluster3", kCmdCluster3), MenuItem("Cluster4", kCmdCluster4)}),
           Popup("&Setting", {MenuItem("&Setting", kCmdGraphSetting), MenuItem("S&ave setting", kCmdGraphSaveSetting),
                              MenuItem("&Load setting", kCmdGraphLoadSetting),
                              MenuItem("&Output sample order", kCmdGraphOutputSampleOrder)}),
           WindowMenu(), HelpMenu()}};
}

MenuTemplate AssociationDocumentMenu() {
  return {kAssociationDocumentType,
          {Popup("&File", WithFileTail({MenuItem("&New(QOVA)", ID_FILE_NEW), MenuItem("New(&Graph)", kCmdNewGraph),
                                         MenuItem("New(Association)", kCmdNewAssociation),
                                         MenuItem("&Open...\tCtrl+O", ID_FILE_OPEN), MenuItem("&Save", ID_FILE_SAVE),
                                         MenuItem("Save &As...", ID_FILE_SAVE_AS)})), Popup("Analysis", {MenuItem("CalcChi2", kCmdCalcChi2)}),
           Popup("&Parameter",
                 {MenuItem("Default &Setting", kCmdDefaultSetting), MenuSeparator(), MenuItem("&Measure", kCmdMeasure)}),
           Popup("&View", ViewItems(false)), WindowMenu(), HelpMenu()}};
}

ToolBarTemplate MainToolBar() {
  return {kMainFrame,
          {kCmdExtractData, kCmdSampleManager, kCmdDisplaySamples, 0, kCmdOutputRawData, kCmdOutputIgbFiles,
           kCmdSampleInformation, 0, ID_FILE_PRINT, 0, kCmdManualSelection, kCmdAutomaticSelection,
           kCmdSelectOnlySelfRef, kCmdSelfAnalysis, 0, kCmdDefaultSetting, kCmdHmmTotal, kCmdAverageMode, 0,
           kCmdSdRange, kCmdContaminationRate, 0, kCmdAllGenome, kCmdEachChromosome, 0, kCmdPreviousChromosome,
           kCmdNextChromosome, 0, kCmdLogScale, kCmdLinearScale, 0, kCmdSnpInterval, kCmdBaseInterval, 0, kCmdMeasure,
           0, kCmdMark, 0, ID_APP_ABOUT},
          MainToolBarImages()};
}

AcceleratorTable MainAccelerators() {
  constexpr BYTE ctrl = FVIRTKEY | FCONTROL, shift = FVIRTKEY | FSHIFT, alt = FVIRTKEY | FALT;
  return {kMainFrame,
          {{ctrl, 'C', ID_EDIT_COPY},
           {ctrl, VK_INSERT, ID_EDIT_COPY},
           {ctrl, 'X', ID_EDIT_CUT},
           {shift, VK_DELETE, ID_EDIT_CUT},
           {ctrl, 'V', ID_EDIT_PASTE},
           {shift, VK_INSERT, ID_EDIT_PASTE},
           {ctrl, 'Z', ID_EDIT_UNDO},
           {alt, VK_BACK, ID_EDIT_UNDO},
           {ctrl, 'P', ID_FILE_PRINT},
           {FVIRTKEY, VK_F6, kCmdNextChromosome},
           {shift, VK_F6, kCmdPreviousChromosome},
           // Ctrl+O opens Display Samples, whatever the File menu says.
           {ctrl, 'O', kCmdDisplaySamples}}};
}

// The text before "\n" is the status-bar prompt, the text after it the tool tip.
const std::vector<std::pair<unsigned, std::string>>& Strings() {
  static const std::vector<std::pair<unsigned, std::string>> strings = {
      {AFX_IDS_APP_TITLE, "QOVA"},
      {AFX_IDS_IDLEMESSAGE, "Ready"},
      {kMainFrame, "\nQOVA\nQOVA\n\n\nQOVA.Document\nQOVA.Document"},
      {kQovaDocumentType, "\nQOVA\nQOVA\n\n\nQOVA.Document\nQOVA.Document"},
      {kGraphDocumentType, "\nGraph\nGraph\nGraph (*.txt) \n.txt\nQOVA.Graph\nQOVA.Graph"},
      {kAssociationDocumentType,
       "\nAssociation\nAssociation\nAssociation Data (*.AAD) \n.AAD\nassociation.Document\nAssociation.Document"},
      {ID_INDICATOR_CAPS, "CAP"},
      {ID_INDICATOR_NUM, "NUM"},
      {ID_INDICATOR_SCRL, "SCRL"},
      // The framework's own commands.
      {ID_FILE_NEW, "Create a new document\nNew"},
      {ID_FILE_OPEN, "Open an existing document\nOpen"},
      {ID_FILE_CLOSE, "Close the active document\nClose"},
      {ID_FILE_SAVE, "Save the active document\nSave"},
      {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
      {ID_FILE_PRINT, "Print the active document\nPrint"},
      {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview"},
      {ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
      {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
      {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
      {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
      {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
      {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
      {ID_EDIT_UNDO, "Undo the last action\nUndo"},
      {ID_WINDOW_NEW, "Open another window for the active document\nNew Window"},
      {ID_WINDOW_CASCADE, "Arrange windows so they overlap\nCascade Windows"},
      {ID_WINDOW_TILE_HORZ, "Arrange windows as non-overlapping tiles\nTile Windows"},
      {ID_WINDOW_ARRANGE, "Arrange icons at the bottom of the window\nArrange Icons"},
      {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
      {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
      // The program's commands, with their wording as it always was.
      {kCmdDefaultSetting, "Default Setting\nSetting"},
      {kCmdExtractData, "Data Extarct from CEL and CHP Files\nData Extract\nData Output"},
      {kCmdSampleManager, "Analyze and Edit Samples\nSample Manager"},
      {kCmdSdRange, "Set the base Range\nSet diploid range"},
      {kCmdHmmTotal, "Set the HMM Parameter of total CN\nHMM parameters(total)"},
      {kCmdAverageMode, "Set the Average Mode\nAverage mode"},
      {kCmdContaminationRate, "Set the Contamination Rate\nContamination rate"},
      {kCmdAdjustAmp, "Adjusted Amplification"},
      {32785, "Settings"},
      {kCmdAllGenome, "change to all genome view\nwhole genome"},
      {kCmdEachChromosome, "change to single chromosome view\nsingle chromosome"},
      {kCmdPreviousChromosome, "Previous chromosome\nPrevious Ch"},
      {kCmdMeasure, "Measure lenghth\nmeasure"},
      {kCmdNextChromosome, "bext chromosome\nNext Ch"},
      {kCmdSnpInterval, "change to SNPs interval\nSNPs interval"},
      {kCmdBaseInterval, "Change to base interval\nBase interval"},
      {kCmdDisplaySamples, "Display Result Files\nDisplay Samples"},
      {kCmdOutputRawData, "Output Raw Data to a Text File"},
      {kCmdBatchAnalysis, "Batch Analysis"},
      {kCmdManualSelection, "Select non self refs manually\nmanulal select non-self refs"},
      {kCmdLogScale, "change to log scale\nLog Scale"},
      {kCmdLinearScale, "change to linear scale\nLinear Scale"},
      {kCmdSelectSamples, "Select display samples"},
      {kCmdAutomaticSelection, "Select non self refs automatically\nautomatically select non-self refs"},
      {kCmdSelectOnlySelfRef, "Select only self ref\nselect only self ref"},
      {kCmdSelfAnalysis, "Allele based analysis\nAllele based analysis"},
      {kCmdMark, "Mark selected range"},
      {kCmdOutputIgbFiles, "Output IGB files\nIGB output"},
      {kCmdAverageArrays, "Average arrays"},
      {kCmdChangeSelfReference, "Chnage reference for self analysis"},
      {kCmdSampleInformation, "Show sample information\nShow sample info"},
      {kCmdCopyListedDataFiles, "Copy listed data files "},
      {kCmdChangeAttributesAsListed, "Change attributes and sex as listed file"},
      {kCmdExtractWithoutChp, "Extract data from CEL files without CHP files"},
      {kCmdHmmAllele, "Set the HMM Parameter of allele-specific CN\nHMM parameters(allele)"},
      // The prompts of the Tools menu, which the string table of old lacked.
      {kCmdOpenIntegration, "Open an integration file (.cfi)"},
      {kCmdSaveIntegration, "Save the integration on display to a file (.cfi)"},
      {kCmdEditIntegration, "Remove or read again a sample of the integration"},
      {kCmdGenderFromChp, "Set the sex of every extracted sample from the gender its CHP file calls"},
      {kCmdUpdateFilesToNewestVersion, "Bring every sample file to the newest version and analyse it again"},
      {kCmdConvertAllFiles, "Rewrite the sample files whose creation time is stored in the long form"},
      {kCmdRefreshFileLists, "Read the sample-file index again from the folders"},
      {kCmdTransferArrangedData, "Take the header values of old temporary data files into the sample files"},
      {kCmdExtractImfFromList, "Regression step 1: intensity work files of the listed samples"},
      {kCmdImfCorrelation, "Regression step 2: correlation of each probe with the genotype"},
      {kCmdMakeSnpInfo, "Regression step 3: the probe table SNPinfo.txt"},
      {kCmdImfToIm2, "Regression step 4: one value per allele, corrected for GC"},
      {kCmdMakeNormalAverage, "Regression step 5: the average of the references"},
      {kCmdIm2ToIm3, "Regression step 6: values scaled to the references' average"},
      {kCmdMakeCnRegression, "Regression step 7: copy-number calibration of the references"},
      {kCmdIm3ToResult, "Regression step 8: calibrated result files"},
      {kCmdApplyCorrection, "Mark allelic imbalance, LOH and UPD on the shown sample"},
      {kCmdDumpCdf, "Write the cell layout of a CDF file as text"},
      {kCmdStoreBasicData, "Write the annotation tables to the data folder"},
  };
  return strings;
}

}  // namespace

void RegisterFrameResources() {
  Resources& resources = Resources::Instance();
  if (resources.Menu(kMainFrame)) return;
  for (MenuTemplate menu : {MainFrameMenu(), MainDocumentMenu(), GraphDocumentMenu(), AssociationDocumentMenu()})
    resources.AddMenu(std::move(menu));
  resources.AddToolBar(MainToolBar());
  resources.AddAccelerators(MainAccelerators());
  for (const auto& [id, text] : Strings()) resources.AddString(id, text);
}

}  // namespace qova::resources
