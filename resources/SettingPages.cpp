#include "resources/SettingPages.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Resources.h"

namespace qova::resources::settings {

using namespace platform::ui;

namespace {

constexpr DWORD kPageStyle = WS_CHILD | WS_CAPTION;
constexpr DWORD kReadOnly = ES_READONLY | ES_AUTOHSCROLL;

DialogTemplate Page(unsigned id, std::string caption, CSize size, std::vector<ControlTemplate> controls) {
  return {id, std::move(caption), size, kPageStyle, "MS Shell Dlg", 8, std::move(controls)};
}

DialogTemplate FoldersTemplate() {
  using namespace folders;
  const struct {
    const char* label;
    unsigned edit, button;
  } rows[] = {{"&CHP && CEL files", kDataEdit, kDataSet},
              {"&Library files", kLibraryEdit, kLibrarySet},
              {"&Array Data files", kArrayDataEdit, kArrayDataSet},
              {"&Result files", kResultEdit, kResultSet},
              {"&Output files", kOutputEdit, kOutputSet}};
  std::vector<ControlTemplate> c;
  int y = 10;
  for (const auto& row : rows) {
    c.push_back(Static(IDC_STATIC, row.label, {7, y + 3, 78, 8}));
    c.push_back(Edit(row.edit, {88, y, 186, 14}, kReadOnly));
    c.push_back(PushButton(row.button, "set", {278, y, 30, 14}));
    y += 22;
  }
  return Page(kFoldersPage, "Folders", {316, 120}, std::move(c));
}

// The rows of the Display and Print pages: a label, x and y edits with spins.
struct SizeRow {
  const char* label;
  unsigned x, xSpin, y, ySpin;
};

void AddSizeRows(std::vector<ControlTemplate>& c, const SizeRow (&rows)[3]) {
  c.push_back(Static(IDC_STATIC, "x", {100, 8, 30, 8}));
  c.push_back(Static(IDC_STATIC, "y", {158, 8, 30, 8}));
  int y = 20;
  for (const SizeRow& row : rows) {
    c.push_back(Static(IDC_STATIC, row.label, {7, y + 3, 86, 8}));
    c.push_back(Edit(row.x, {100, y, 40, 14}, ES_AUTOHSCROLL));
    c.push_back(UpDown(row.xSpin, {140, y, 11, 14}, UDS_ARROWKEYS));
    c.push_back(Edit(row.y, {158, y, 40, 14}, ES_AUTOHSCROLL));
    c.push_back(UpDown(row.ySpin, {198, y, 11, 14}, UDS_ARROWKEYS));
    y += 22;
  }
}

DialogTemplate DisplayTemplate() {
  using namespace sizes;
  std::vector<ControlTemplate> c;
  AddSizeRows(c, {{"&All Chromosome", kAllX, kAllXSpin, kAllY, kAllYSpin},
                  {"&Single chromosome", kEachX, kEachXSpin, kEachY, kEachYSpin},
                  {"&Multiple view", kDisplayMultiX, kDisplayMultiXSpin, kMultiY, kMultiYSpin}});
  return Page(kDisplayPage, "Display", {280, 96}, std::move(c));
}

DialogTemplate PrintTemplate() {
  using namespace sizes;
  std::vector<ControlTemplate> c;
  AddSizeRows(c, {{"All Chromosome", kAllX, kAllXSpin, kAllY, kAllYSpin},
                  {"Single chromosome", kEachX, kEachXSpin, kEachY, kEachYSpin},
                  {"Multiple view", kPrintMultiX, kPrintMultiXSpin, kMultiY, kMultiYSpin}});
  int y = 22;
  for (unsigned box : {kOnePageAll, kOnePageEach, kOnePageMulti}) {
    c.push_back(CheckBox(box, "OnePage", {218, y, 54, 10}));
    y += 22;
  }
  return Page(kPrintPage, "Print", {280, 96}, std::move(c));
}

// A column of check boxes inside a group box.
struct CheckRow {
  unsigned id;
  const char* caption;
};

void AddCheckGroup(std::vector<ControlTemplate>& c, const char* title, int x, int width,
                   const std::vector<CheckRow>& rows) {
  c.push_back(GroupBox(title, {x, 7, width, 16 + 13 * int(rows.size())}));
  int y = 20;
  for (const CheckRow& row : rows) {
    c.push_back(CheckBox(row.id, row.caption, {x + 8, y, width - 14, 10}));
    y += 13;
  }
}

DialogTemplate ItemsTemplate() {
  using namespace items;
  std::vector<ControlTemplate> c;
  AddCheckGroup(c, "Allele specific analysis", 7, 150,
                {{kSelfCallBar, "SNP Call Bar"},
                 {kSelfCopyNumber, "Copy number"},
                 {kSelfHmm, "HMM"},
                 {kSelfAlleleBased, "allele based analysis"},
                 {kSelfCytoband, "cytoband"},
                 {kSelfCopyNumberPlot, "Copy Number Plot"},
                 {kSelfUserMarker, "user marker"},
                 {kSelfHmmOfAba, "HMM of ABA"},
                 {kSelfAlleleDifference, "allele(A-B)"}});
  AddCheckGroup(c, "Non-self analysis", 163, 150,
                {{kNonSelfCallBar, "SNP Call Bar"},
                 {kNonSelfCopyNumber, "Copy number"},
                 {kNonSelfHmm, "HMM"},
                 {kNonSelfAlleleBased, "allele based analysis"},
                 {kNonSelfCytoband, "cytoband"},
                 {kNonSelfLoh, "LOH estimation"},
                 {kNonSelfCopyNumberPlot, "Copy Number Plot"},
                 {kNonSelfUserMarker, "user marker"},
                 {kNonSelfHmmOfAba, "HMM of ABA"}});
  c.push_back(CheckBox(kHmmHorizontalOnly, "HMM(Horizontal line only)", {15, 148, 150, 10}));
  return Page(kItemsPage, "Items", {320, 166}, std::move(c));
}

DialogTemplate ItemMultiTemplate() {
  using namespace itemmulti;
  std::vector<ControlTemplate> c;
  AddCheckGroup(c, "Multiple view", 7, 162,
                {{kScaleBar, "Scale Bar"},
                 {kCytobandTop, "cytoband(Top)"},
                 {kCallBar, "SNP Call Bar"},
                 {kCopyNumber, "Copy number"},
                 {kHmm, "HMM"},
                 {kCopyNumberPlot, "Copy Number Plot"},
                 {kAlleleBased, "allele based analysis"},
                 {kCytoband, "cytoband"},
                 {kLoh, "LOH estimation"},
                 {kHmmGradient, "Copy number(HMM) color gradient"},
                 {kLohGradient, "LOH likelyhood(color gradient)"},
                 {kUserMarker, "user marker"}});
  AddCheckGroup(c, "Whole genome view", 175, 162,
                {{kWholeCopyNumberPlot, "Copy Number Plot"},
                 {kWholeCopyNumber, "Copy number(average)"},
                 {kWholeAlleleBased, "allele based analysis"},
                 {kWholeHmmGradient, "Copy number(HMM) color gradient"},
                 {kWholeLohGradient, "LOH likelyhood(color gradient)"},
                 {kWholeCallBar, "SNP Call Bar"},
                 {kWholeUserMarker, "user marker"}});
  c.push_back(Static(IDC_STATIC, "interval", {183, 122, 40, 8}));
  c.push_back(Edit(kInterval, {226, 119, 40, 14}, ES_AUTOHSCROLL));
  return Page(kItemMultiPage, "Multiple", {344, 186}, std::move(c));
}

DialogTemplate ScaleTemplate() {
  using namespace scale;
  std::vector<ControlTemplate> c;
  const struct {
    const char* title;
    unsigned log, linear, edit, spin;
  } groups[] = {{"Allele-specific analysis", kSelfLog, kSelfLinear, kSelfMagnification, kSelfMagnificationSpin},
                {"Non-self analysis", kNonSelfLog, kNonSelfLinear, kNonSelfMagnification, kNonSelfMagnificationSpin}};
  int top = 7;
  for (const auto& g : groups) {
    c.push_back(GroupBox(g.title, {7, top, 236, 54}));
    c.push_back(RadioButton(g.log, "log", {16, top + 14, 44, 10}, WS_GROUP | WS_TABSTOP));
    c.push_back(RadioButton(g.linear, "linear", {66, top + 14, 50, 10}));
    c.push_back(Static(IDC_STATIC, "magnification(%)", {16, top + 35, 76, 8}));
    c.push_back(Edit(g.edit, {96, top + 32, 40, 14}, ES_AUTOHSCROLL | WS_GROUP));
    c.push_back(UpDown(g.spin, {136, top + 32, 11, 14}, UDS_ARROWKEYS));
    top += 62;
  }
  return Page(kScalePage, "Scale", {250, 134}, std::move(c));
}

DialogTemplate AutoTemplate() {
  using namespace automatic;
  std::vector<ControlTemplate> c;
  c.push_back(Static(IDC_STATIC, "maximum reference number", {7, 11, 110, 8}));
  c.push_back(Edit(kMaxReferences, {120, 8, 36, 14}, ES_AUTOHSCROLL));
  c.push_back(CheckBox(kSelf, "Self analysis", {7, 30, 150, 10}));
  c.push_back(CheckBox(kNonSelf, "Non-self analysis", {7, 44, 150, 10}));
  c.push_back(CheckBox(kSkipAnalyzed, "Skip already analyzed samples", {7, 58, 160, 10}));
  c.push_back(CheckBox(kLimitReference, "Limit reference", {7, 76, 150, 10}));
  c.push_back(ComboBox(kAttribute, {19, 90, 76, 80}, CBS_DROPDOWNLIST | WS_VSCROLL));
  c.push_back(Static(kIs, "is", {100, 93, 12, 8}));
  c.push_back(RadioButton(kIdentical, "identical to the sample", {116, 91, 130, 10}, WS_GROUP | WS_TABSTOP));
  c.push_back(RadioButton(kGivenValue, "", {116, 108, 12, 10}));
  c.push_back(ComboBox(kValue, {130, 106, 110, 80}, CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | WS_GROUP));
  c.push_back(CheckBox(kExcludeSelf, "Exclude self-reference as non-self analysis reference", {7, 128, 250, 10},
                       WS_GROUP));
  return Page(kAutoPage, "Automatic", {280, 146}, std::move(c));
}

DialogTemplate ZenkorTemplate() {
  using namespace zenkor;
  std::vector<ControlTemplate> c;
  const char* columns[] = {"threshold", "alpha", "beta", "Kosambi", "marker"};
  const char* rows[] = {"AI", "LOH", "UPD"};
  for (int k = 0; k < 5; ++k) c.push_back(Static(IDC_STATIC, columns[k], {40 + 50 * k, 8, 46, 8}));
  for (int r = 0; r < 3; ++r) {
    const int y = 20 + 18 * r;
    c.push_back(Static(IDC_STATIC, rows[r], {7, y + 3, 28, 8}));
    for (int k = 0; k < 5; ++k) c.push_back(Edit(kRows[r][k], {40 + 50 * k, y, k == 4 ? 32 : 44, 14}, ES_AUTOHSCROLL));
  }
  c.push_back(CheckBox(kUseZenkor, "Use Zenkor", {7, 82, 120, 10}));
  c.push_back(CheckBox(kAiInference, "AI inference in Zenkor", {7, 96, 120, 10}));
  c.push_back(Static(IDC_STATIC, "LOH", {150, 84, 50, 8}));
  c.push_back(ComboBox(kLohOption, {204, 81, 80, 60}, CBS_DROPDOWNLIST | WS_VSCROLL));
  c.push_back(Static(IDC_STATIC, "X chromosome", {150, 101, 52, 8}));
  c.push_back(ComboBox(kXOption, {204, 98, 80, 60}, CBS_DROPDOWNLIST | WS_VSCROLL));
  return Page(kZenkorPage, "Zenkor", {300, 118}, std::move(c));
}

DialogTemplate AssociationTemplate() {
  using namespace association;
  std::vector<ControlTemplate> c;
  c.push_back(RadioButton(kByAllele, "allele", {7, 8, 50, 10}, WS_GROUP | WS_TABSTOP));
  c.push_back(RadioButton(kBySample, "sample", {62, 8, 56, 10}));
  c.push_back(Static(IDC_STATIC, "Exclude samples if call rate is less than", {7, 29, 250, 8}));
  c.push_back(Edit(kSampleCallRate, {272, 26, 40, 14}, ES_AUTOHSCROLL | WS_GROUP));
  c.push_back(Static(IDC_STATIC, "Exclude SNPs", {7, 48, 100, 8}));
  c.push_back(Static(IDC_STATIC, "if call rate is less than", {19, 63, 238, 8}));
  c.push_back(Edit(kSnpCallRate, {272, 60, 40, 14}, ES_AUTOHSCROLL));
  c.push_back(Static(IDC_STATIC, "if minor allele frequency is less than", {19, 81, 238, 8}));
  c.push_back(Edit(kSnpMaf, {272, 78, 40, 14}, ES_AUTOHSCROLL));
  c.push_back(Static(IDC_STATIC, "if difference of call rate between case and conrol is more than", {19, 99, 250, 8}));
  c.push_back(Edit(kCallRateDifference, {272, 96, 40, 14}, ES_AUTOHSCROLL));
  c.push_back(Static(IDC_STATIC, "Number of permutation", {7, 121, 120, 8}));
  c.push_back(Edit(kPermutations, {272, 118, 40, 14}, ES_AUTOHSCROLL));
  return Page(kAssociationPage, "Association", {320, 140}, std::move(c));
}

DialogTemplate ExtraTemplate() {
  using namespace extra;
  std::vector<ControlTemplate> c;
  c.push_back(CheckBox(kNotLimitToHetero, "Do not limit allele based analysis to hetero call SNPs", {7, 7, 260, 10}));
  c.push_back(Static(IDC_STATIC, "Use Average value (default=1)", {7, 26, 140, 8}));
  c.push_back(Edit(kAverageWindow, {150, 23, 36, 14}, ES_AUTOHSCROLL));
  c.push_back(GroupBox("Flagment length plot - Hide excluded SNPs", {7, 42, 250, 28}));
  c.push_back(CheckBox(kHideBefore, "before compensation", {15, 54, 110, 10}));
  c.push_back(CheckBox(kHideAfter, "after compensation", {130, 54, 110, 10}));
  c.push_back(Static(IDC_STATIC, "Allele(A-B)amplitude", {7, 80, 100, 8}));
  c.push_back(Edit(kAlleleAmplitude, {110, 77, 40, 14}, ES_AUTOHSCROLL));
  c.push_back(GroupBox("multiple view layout", {7, 96, 336, 66}));
  c.push_back(Static(IDC_STATIC, "Space between the samples(default 100)", {15, 111, 180, 8}));
  c.push_back(Edit(kSampleSpacing, {198, 108, 36, 14}, ES_AUTOHSCROLL));
  c.push_back(Static(IDC_STATIC, "sample name position", {15, 129, 96, 8}));
  c.push_back(Static(IDC_STATIC, "x(default 200)", {114, 129, 66, 8}));
  c.push_back(Edit(kNameX, {182, 126, 36, 14}, ES_AUTOHSCROLL));
  c.push_back(Static(IDC_STATIC, "y(default 0)", {226, 129, 60, 8}));
  c.push_back(Edit(kNameY, {290, 126, 36, 14}, ES_AUTOHSCROLL));
  c.push_back(CheckBox(kScroll, "scroll (default No)", {15, 146, 96, 10}));
  c.push_back(Static(IDC_STATIC, "left margin of the graph (default 100)", {114, 147, 172, 8}));
  c.push_back(Edit(kLeftMargin, {290, 144, 36, 14}, ES_AUTOHSCROLL));
  c.push_back(Static(IDC_STATIC, "hetero-rate", {7, 173, 56, 8}));
  c.push_back(Edit(kHeteroRate, {66, 170, 40, 14}, ES_AUTOHSCROLL));
  c.push_back(Static(IDC_STATIC, "miss-hetero-rate", {116, 173, 76, 8}));
  c.push_back(Edit(kMissHeteroRate, {194, 170, 40, 14}, ES_AUTOHSCROLL));
  c.push_back(Static(IDC_STATIC, "Kosambi", {244, 173, 44, 8}));
  c.push_back(Edit(kKosambi, {290, 170, 40, 14}, ES_AUTOHSCROLL));
  c.push_back(CheckBox(kMorekomi, "compensation of 'morekomi'", {7, 192, 130, 10}));
  c.push_back(Edit(kMorekomiRate, {140, 190, 40, 14}, ES_AUTOHSCROLL));
  c.push_back(GroupBox("HMM", {194, 184, 149, 26}));
  c.push_back(CheckBox(kNormalDistribution, "Use Normal distribution", {202, 196, 130, 10}));
  c.push_back(CheckBox(kLdLoh, "LD_LOH", {7, 210, 60, 10}));
  c.push_back(Static(IDC_STATIC, "Integral view margin", {7, 229, 96, 8}));
  c.push_back(ComboBox(kIntegralMargin, {106, 226, 84, 80}, CBS_DROPDOWNLIST | WS_VSCROLL));
  c.push_back(Static(IDC_STATIC, "Regression", {202, 229, 50, 8}));
  c.push_back(ComboBox(kRegression, {254, 226, 89, 80}, CBS_DROPDOWNLIST | WS_VSCROLL));
  c.push_back(CheckBox(kUseFileList, "Use File List", {7, 246, 80, 10}));
  return Page(kExtraPage, "Extra", {350, 262}, std::move(c));
}

}  // namespace

}  // namespace qova::resources::settings

namespace qova::resources {

void RegisterSettingPages() {
  using namespace settings;
  Resources& resources = Resources::Instance();
  for (DialogTemplate (*make)() : {FoldersTemplate, DisplayTemplate, PrintTemplate, ItemsTemplate, ItemMultiTemplate,
                                   ScaleTemplate, AutoTemplate, ZenkorTemplate, AssociationTemplate, ExtraTemplate}) {
    DialogTemplate t = make();
    if (resources.Dialog(t.id) == nullptr) resources.AddDialog(std::move(t));
  }
  AddColorPageTemplates();
}

}  // namespace qova::resources
