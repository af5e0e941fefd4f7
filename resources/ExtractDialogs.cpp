#include "resources/ExtractDialogs.h"

#include "platform/ui/Resources.h"

namespace qova::resources {

using namespace platform::ui;

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// One of the four result lists with its label and its Add and Delete buttons.
void AddResultList(std::vector<ControlTemplate>& controls, const char* label, UINT list, UINT add, UINT remove, int x,
                   int y, bool paired) {
  controls.push_back(Static(IDC_STATIC, label, {x, y, 100, 8}));
  const DWORD style = LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | (paired ? 0 : LBS_SORT);
  controls.push_back(paired ? DragListBox(list, {x, y + 10, 120, 88}, style) : ListBox(list, {x, y + 10, 120, 88}, style));
  controls.push_back(PushButton(add, "Add", {x, y + 101, 50, 14}));
  controls.push_back(PushButton(remove, "Delete", {x + 70, y + 101, 50, 14}));
}

DialogTemplate DataExtractTemplate() {
  std::vector<ControlTemplate> controls = {
      GroupBox("Select by Conditions", {7, 7, 180, 82}),
      CheckBox(kExtractUseFromDate, "From", {14, 20, 30, 10}, BS_AUTOCHECKBOX | WS_TABSTOP),
      Edit(kExtractFromDate, {48, 18, 80, 12}, ES_READONLY),
      PushButton(kExtractSetFromDate, "set", {134, 18, 40, 12}),
      CheckBox(kExtractUseToDate, "To", {14, 36, 30, 10}, BS_AUTOCHECKBOX | WS_TABSTOP),
      Edit(kExtractToDate, {48, 34, 80, 12}, ES_READONLY),
      PushButton(kExtractSetToDate, "set", {134, 34, 40, 12}),
      CheckBox(kExtractOnlyUnprocessed, "Only Unprocessed Samples", {14, 52, 120, 10}, BS_AUTOCHECKBOX | WS_TABSTOP),
      PushButton(kExtractRefresh, "Refresh", {134, 68, 40, 14}),
      ListBox(kExtractFoundFiles, {7, 96, 180, 220},
              LBS_SORT | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP),
      PushButton(kExtractImportSampleList, "Import sample list", {7, 322, 80, 14}),
  };
  AddResultList(controls, "Non-paired TEST", kExtractNonPairedTests, kExtractAddNonPairedTest,
                kExtractDeleteNonPairedTest, 200, 7, false);
  AddResultList(controls, "Non-paired REF", kExtractNonPairedReferences, kExtractAddNonPairedReference,
                kExtractDeleteNonPairedReference, 330, 7, false);
  AddResultList(controls, "Paired TEST", kExtractPairedTests, kExtractAddPairedTest, kExtractDeletePairedTest, 200,
                130, true);
  AddResultList(controls, "Paired REF", kExtractPairedReferences, kExtractAddPairedReference,
                kExtractDeletePairedReference, 330, 130, true);
  controls.push_back(DefPushButton(IDOK, "OK", {330, 322, 50, 14}));
  controls.push_back(PushButton(IDCANCEL, "Cancel", {400, 322, 50, 14}));
  return {kDataExtractDialog, "Extract Data", {460, 343}, kDialogStyle, "MS Shell Dlg", 8, std::move(controls)};
}

DialogTemplate CalendarTemplate() {
  return {kCalendarDialog,
          "Dialog",
          {150, 130},
          kDialogStyle,
          "MS Shell Dlg",
          8,
          {MonthCalendar(kCalendarMonth, {7, 7, 136, 96}, MCS_NOTODAYCIRCLE | MCS_NOTODAY | WS_TABSTOP),
           DefPushButton(IDOK, "Set", {50, 109, 50, 14})}};
}

}  // namespace

void RegisterExtractDialogs() {
  Resources& resources = Resources::Instance();
  if (resources.Dialog(kDataExtractDialog) == nullptr) resources.AddDialog(DataExtractTemplate());
  if (resources.Dialog(kCalendarDialog) == nullptr) resources.AddDialog(CalendarTemplate());
}

}  // namespace qova::resources
