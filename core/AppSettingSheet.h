#pragma once
// The "Program Setting" sheet that Parameter > Default Setting opens over a
// working copy of the settings record.
class CProgramSetting;

namespace qova {

// Runs the sheet on `workingCopy`; IDOK when it was closed with OK. While
// the sheet has no pages it says so and changes nothing.
int RunProgramSettingSheet(CProgramSetting& workingCopy);
// Makes the application-wide data object open this sheet.
void InstallProgramSettingSheet();

}  // namespace qova
