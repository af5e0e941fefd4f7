// Templates of the five colour pages: every colour has a swatch frame with its
// "color" button right of it.
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Resources.h"
#include "resources/SettingPages.h"

namespace qova::resources::settings {

using namespace platform::ui;

namespace {

constexpr DWORD kPageStyle = WS_CHILD | WS_CAPTION;
constexpr DWORD kReadOnly = ES_READONLY | ES_AUTOHSCROLL;
constexpr DWORD kDropList = CBS_DROPDOWNLIST | WS_VSCROLL;

DialogTemplate Page(unsigned id, std::string caption, CSize size, std::vector<ControlTemplate> controls) {
  return {id, std::move(caption), size, kPageStyle, "MS Shell Dlg", 8, std::move(controls)};
}

// A label, then the swatch and its button; returns the x after the button.
int AddColorRow(std::vector<ControlTemplate>& c, const std::string& label, int x, int labelWidth, int y,
                unsigned swatch, unsigned button) {
  if (!label.empty()) c.push_back(Static(IDC_STATIC, label, {x, y + 2, labelWidth, 8}));
  const int swatchX = x + labelWidth + 4;
  c.push_back(Frame(swatch, {swatchX, y, 40, 12}));
  c.push_back(PushButton(button, "color", {swatchX + 44, y, 30, 12}));
  return swatchX + 78;
}

DialogTemplate ColorTemplate() {
  using namespace color;
  const char* labels[11] = {"copy number",     "allele based analysis(larger)", "allele based analysis(smaller)",
                            "HMM analysis",    "hetero call bar",               "discordant call bar",
                            "copy number plot", "LOH",                          "Base line",
                            "+-1 lines",       "+-0.5 lines"};
  std::vector<ControlTemplate> c;
  c.push_back(Static(IDC_STATIC, "width", {219, 6, 34, 8}));
  c.push_back(Static(IDC_STATIC, "style", {219, 140, 34, 8}));
  for (int k = 0; k < 11; ++k) {
    const int y = 17 + 15 * k + (k >= 8 ? 14 : 0);
    const int x = AddColorRow(c, labels[k], 7, 124, y, kSwatches[k], kButtons[k]);
    if (k < 4) {
      c.push_back(Edit(kWidths[k], {x + 6, y, 26, 12}, kReadOnly));
      c.push_back(UpDown(kWidthSpins[k], {x + 32, y, 10, 12}, UDS_ARROWKEYS));
    } else if (k >= 8) {
      c.push_back(ComboBox(kPenStyles[k - 8], {x + 6, y, 80, 90}, kDropList));
    }
  }
  c.push_back(PushButton(kDefault, "Default", {7, 200, 50, 14}));
  return Page(kColorPage, "Color", {310, 220}, std::move(c));
}

DialogTemplate Color2Template() {
  using namespace color2;
  std::vector<ControlTemplate> c;
  AddColorRow(c, "copy number", 7, 56, 8, kCopyNumberSwatch, kCopyNumberButton);
  // One group of radios; the check boxes between them carry no group mark.
  c.push_back(RadioButton(kNone, "none", {7, 30, 100, 10}, WS_GROUP | WS_TABSTOP));
  c.push_back(RadioButton(kFragment, "PCR fragment distance to previous SNP", {7, 44, 180, 10}));
  const struct {
    unsigned check;
    const char* caption;
    unsigned swatch, button;
  } marks[] = {{kSame, "same", kSameSwatch, kSameButton},
               {kNext, "next", kNextSwatch, kNextButton},
               {kOne, "one", kOneSwatch, kOneButton}};
  int y = 58;
  for (const auto& m : marks) {
    c.push_back(CheckBox(m.check, m.caption, {19, y + 1, 56, 10}));
    AddColorRow(c, "", 19, 56, y, m.swatch, m.button);
    y += 15;
  }
  c.push_back(RadioButton(kDeviation, "deviation", {7, 106, 100, 10}));
  c.push_back(CheckBox(kAbove2Sd, "above 2SD", {19, 121, 56, 10}));
  AddColorRow(c, "", 19, 56, 120, kTwoSdSwatch, kTwoSdButton);
  return Page(kColor2Page, "Color2", {220, 140}, std::move(c));
}

DialogTemplate ColorMTemplate() {
  using namespace colorm;
  std::vector<ControlTemplate> c;
  c.push_back(GroupBox("Copy number color gradient", {7, 7, 162, 142}));
  for (int k = 0; k < 7; ++k)
    AddColorRow(c, "copy number " + std::to_string(k), 15, 62, 20 + 18 * k, kCopyNumberSwatches[k],
                kCopyNumberButtons[k]);
  c.push_back(GroupBox("LOH likelihood color gradient", {175, 7, 162, 142}));
  for (int k = 0; k < 5; ++k) {
    const int y = 20 + 26 * k;
    AddColorRow(c, "step " + std::to_string(k), 183, 62, y, kLohSwatches[k], kLohButtons[k]);
    if (k == 4) break;
    // The boundary between this step and the next.
    c.push_back(Static(IDC_STATIC, "boundary", {197, y + 15, 46, 8}));
    c.push_back(Edit(kBoundaries[k], {250, y + 13, 40, 12}, ES_AUTOHSCROLL));
    c.push_back(UpDown(kBoundarySpins[k], {290, y + 13, 10, 12}, UDS_ARROWKEYS));
  }
  return Page(kColorMPage, "Multiple", {344, 156}, std::move(c));
}

DialogTemplate IntegrateTemplate() {
  using namespace integrate;
  std::vector<ControlTemplate> c;
  // Left column: positive and negative; right column: high amplification and
  // homologous deletion.
  AddColorRow(c, "positive", 7, 80, 8, kSwatches[0], kButtons[0]);
  AddColorRow(c, "high amplification", 175, 80, 8, kSwatches[1], kButtons[1]);
  AddColorRow(c, "negative", 7, 80, 26, kSwatches[2], kButtons[2]);
  AddColorRow(c, "homologous deletion", 175, 80, 26, kSwatches[3], kButtons[3]);
  c.push_back(Static(IDC_STATIC, "sample lane width", {7, 51, 80, 8}));
  c.push_back(Edit(kLaneWidth, {91, 48, 30, 14}, ES_AUTOHSCROLL));
  c.push_back(UpDown(kLaneWidthSpin, {121, 48, 11, 14}, UDS_ARROWKEYS));
  return Page(kIntegratePage, "Integral", {344, 70}, std::move(c));
}

DialogTemplate MarkerTemplate() {
  using namespace marker;
  std::vector<ControlTemplate> c;
  for (int k = 0; k < 7; ++k)
    AddColorRow(c, "marker " + std::to_string(k), 7, 40, 8 + 17 * k, kSwatches[k], kButtons[k]);
  c.push_back(Static(IDC_STATIC, "width", {146, 11, 36, 8}));
  c.push_back(Edit(kWidth, {186, 8, 30, 14}, kReadOnly));
  c.push_back(UpDown(kWidthSpin, {216, 8, 11, 14}, UDS_ARROWKEYS));
  c.push_back(Static(IDC_STATIC, "interval", {146, 31, 36, 8}));
  c.push_back(Edit(kInterval, {186, 28, 30, 14}, ES_AUTOHSCROLL));
  return Page(kMarkerPage, "Marker", {240, 130}, std::move(c));
}

}  // namespace

void AddColorPageTemplates() {
  Resources& resources = Resources::Instance();
  for (DialogTemplate (*make)() : {ColorTemplate, Color2Template, ColorMTemplate, IntegrateTemplate, MarkerTemplate}) {
    DialogTemplate t = make();
    if (resources.Dialog(t.id) == nullptr) resources.AddDialog(std::move(t));
  }
}

}  // namespace qova::resources::settings
