#pragma once
// The three settings sheets: "Program Setting" (Parameter > Default Setting),
// "View Setting" (a view's own display settings) and "Setting" (the options of
// batch analysis). Each shows OK and Cancel only: what the pages changed
// counts only when OK closes the sheet.
struct CDisplaySetting;
class CProgramSetting;

namespace qova::core {

// Runs "Program Setting" with its thirteen pages on `workingCopy`; IDOK when
// it was closed with OK (the caller then takes the copy and saves it, as
// CGlobalData::EditProgramSetting does).
int RunProgramSettingSheet(CProgramSetting& workingCopy);
// Runs "View Setting" with its nine pages on a copy of `block` (a view's
// display settings); OK copies the edited block back into `block`. Nothing is
// saved.
int RunViewSettingSheet(CDisplaySetting& block);
// Runs "Setting" with the Automatic page on a copy of `setting`; OK assigns
// the copy to `setting` and saves it. Pass the live record, or a copy of it
// that the caller assigns on IDOK (saving again changes nothing).
int RunAutoSettingSheet(CProgramSetting& setting);

// Makes the application-wide data object open "Program Setting".
void InstallProgramSettingSheet();
// The record the program runs with: its allele-specific switch decides which
// boxes the Items page shows, in every sheet. Null (the default) reads as off.
void SetLiveProgramSetting(const CProgramSetting* live);

}  // namespace qova::core
