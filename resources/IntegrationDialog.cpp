#include "resources/IntegrationDialog.h"

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

void RegisterIntegrationDialog() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kIntegrationDialog) != nullptr) return;
  resources.AddDialog(
      {kIntegrationDialog,
       "Set the Integration Parameters",
       {282, 214},
       DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
       "MS Shell Dlg",
       8,
       {GroupBox("Integrate", {7, 7, 150, 128}),
        RadioButton(kIntegrationGainsAndLosses, "Gains and losses", {15, 19, 130, 10}, WS_GROUP | WS_TABSTOP),
        RadioButton(kIntegrationHomozygousDeletions, "Homozygous deletions", {15, 33, 130, 10}),
        RadioButton(kIntegrationHighAmplifications, "High amplifications", {15, 47, 130, 10}),
        RadioButton(kIntegrationLoh, "LOH", {15, 61, 130, 10}),
        RadioButton(kIntegrationAllelicImbalance, "Allelic Imbalance(LOH+CN)", {15, 75, 130, 10}),
        RadioButton(kIntegrationCopyNumberChange, "Copy Number Change", {15, 89, 130, 10}),
        RadioButton(kIntegrationMarkedImbalance, "Allelic Imbalance(Mark)", {15, 103, 130, 10}),
        RadioButton(kIntegrationUserMarker, "UserMarker", {15, 118, 55, 10}),
        ComboBox(kIntegrationMarkerNumber, {75, 116, 40, 80}, CBS_DROPDOWNLIST | WS_VSCROLL | WS_GROUP | WS_TABSTOP),
        Static(IDC_STATIC, "Number of continuous SNPs", {7, 145, 100, 8}),
        Edit(kIntegrationRunEdit, {110, 143, 30, 12}, ES_NUMBER | WS_TABSTOP),
        UpDown(kIntegrationRunUpDown, {140, 143, 10, 12},
               UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS),
        GroupBox("Order of samples", {165, 7, 110, 42}),
        RadioButton(kIntegrationOrderById, "ID", {173, 19, 75, 10}, WS_GROUP | WS_TABSTOP),
        RadioButton(kIntegrationOrderByAmount, "amount of abberations", {173, 33, 98, 10}),
        CheckBox(kIntegrationAddCurrentSet, "Add current set", {165, 60, 110, 10}, BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP),
        Static(IDC_STATIC, "Title of the figure", {7, 166, 100, 8}),
        Edit(kIntegrationTitle, {7, 177, 268, 12}, ES_AUTOHSCROLL | WS_TABSTOP),
        DefPushButton(IDOK, "OK", {171, 195, 50, 14}),
        PushButton(IDCANCEL, "Cancel", {225, 195, 50, 14})}});
}

}  // namespace qova::resources
