#include "resources/GraphSettingDialog.h"

#include <string>
#include <vector>

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

void AddColourRow(std::vector<ControlTemplate>& c, const std::string& label, int x, int labelWidth, int y, int colour) {
  c.push_back(Static(IDC_STATIC, label, {x, y + 2, labelWidth, 8}));
  const int swatchX = x + labelWidth + 4;
  c.push_back(Frame(kGraphSwatches[colour], {swatchX, y, 36, 12}));
  c.push_back(PushButton(kGraphChangeButtons[colour], "Change", {swatchX + 40, y, 36, 12}));
}

void AddNumber(std::vector<ControlTemplate>& c, const std::string& label, unsigned edit, int y) {
  c.push_back(Static(IDC_STATIC, label, {290, y + 2, 56, 8}));
  c.push_back(Edit(edit, {350, y, 40, 12}, ES_AUTOHSCROLL | WS_TABSTOP));
}

void AddPosition(std::vector<ControlTemplate>& c, const std::string& label, unsigned x, unsigned y, int top) {
  c.push_back(Static(IDC_STATIC, label, {15, top + 2, 54, 8}));
  c.push_back(Static(IDC_STATIC, "x", {72, top + 2, 8, 8}));
  c.push_back(Edit(x, {82, top, 40, 12}, ES_AUTOHSCROLL | WS_TABSTOP));
  c.push_back(Static(IDC_STATIC, "y", {130, top + 2, 8, 8}));
  c.push_back(Edit(y, {140, top, 40, 12}, ES_AUTOHSCROLL | WS_TABSTOP));
}

}  // namespace

void RegisterGraphSettingDialog() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kGraphSettingDialog) != nullptr) return;
  std::vector<ControlTemplate> c;
  const char* labels[8] = {"0", "1", "2", "3", "4", "5", "ch line", "centromere"};
  for (int k = 0; k < 8; ++k) AddColourRow(c, labels[k], 7, 44, 7 + 16 * k, k);
  c.push_back(GroupBox("group color", {146, 7, 130, 100}));
  for (int k = 0; k < 5; ++k) AddColourRow(c, std::to_string(k + 1), 154, 10, 20 + 17 * k, 8 + k);
  c.push_back(PushButton(kGraphSampleNameFont, "Sample name Font", {146, 114, 100, 14}));
  c.push_back(PushButton(kGraphChromosomeFont, "Ch Number Font", {146, 132, 100, 14}));
  AddNumber(c, "width", kGraphWidth, 7);
  AddNumber(c, "interval", kGraphInterval, 23);
  AddNumber(c, "ch space", kGraphChromosomeSpace, 39);
  AddNumber(c, "y_div", kGraphVerticalDivisor, 55);
  c.push_back(Static(IDC_STATIC, "sample name text rotation", {290, 73, 124, 8}));
  c.push_back(Edit(kGraphRotation, {350, 84, 40, 12}, ES_AUTOHSCROLL | WS_TABSTOP));
  c.push_back(Static(IDC_STATIC, "size_x", {290, 106, 30, 8}));
  c.push_back(Edit(kGraphZoomX, {322, 104, 36, 12}, ES_AUTOHSCROLL | WS_TABSTOP));
  c.push_back(Static(IDC_STATIC, "y", {364, 106, 8, 8}));
  c.push_back(Edit(kGraphZoomY, {374, 104, 36, 12}, ES_AUTOHSCROLL | WS_TABSTOP));
  c.push_back(GroupBox("position", {7, 150, 190, 58}));
  AddPosition(c, "graph", kGraphOriginX, kGraphOriginY, 161);
  AddPosition(c, "sample name", kGraphNameX, kGraphNameY, 176);
  AddPosition(c, "Chromosome", kGraphChromosomeX, kGraphChromosomeY, 191);
  c.push_back(DefPushButton(IDOK, "OK", {310, 194, 50, 14}));
  c.push_back(PushButton(IDCANCEL, "Cancel", {364, 194, 50, 14}));
  resources.AddDialog({kGraphSettingDialog, "Graph setting", {421, 215},
                       DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, "MS Shell Dlg", 8, std::move(c)});
}

}  // namespace qova::resources
