#pragma once
// Dialog templates of the sample groups: making or changing a group from the
// samples the caller chose, and asking for a new group name.
namespace qova::resources {

// "modify or make a group".
inline constexpr unsigned kGroupManageDialog = 159;
inline constexpr unsigned kGroupManageNewName = 1004;     // edit
inline constexpr unsigned kGroupManageExisting = 1015;    // drop list, sorted style
inline constexpr unsigned kGroupManageMakeNew = 1017;     // radio "Make a new group"
inline constexpr unsigned kGroupManageModify = 1018;      // radio "Modify the existing group"

// "Dialog": a new group name above the names already in use.
inline constexpr unsigned kGroupSetDialog = 143;
inline constexpr unsigned kGroupSetNewName = 1004;        // edit
inline constexpr unsigned kGroupSetExistingNames = 1008;  // list, display only

// Adds both templates to the resources unless they are there already.
void RegisterGroupDialogs();

}  // namespace qova::resources
