#pragma once
// Dialog templates of Extract Data: the dialog that sorts the array files
// into the four lists, and the date picker of its date filter.
namespace qova::resources {

// "Extract Data".
inline constexpr unsigned kDataExtractDialog = 132;
inline constexpr unsigned kExtractSetFromDate = 1001;
inline constexpr unsigned kExtractSetToDate = 1002;
inline constexpr unsigned kExtractRefresh = 1003;
inline constexpr unsigned kExtractFromDate = 1004;     // read-only edit
inline constexpr unsigned kExtractUseFromDate = 1005;  // check box "From"
inline constexpr unsigned kExtractUseToDate = 1006;    // check box "To"
inline constexpr unsigned kExtractToDate = 1007;       // read-only edit
inline constexpr unsigned kExtractFoundFiles = 1008;   // sorted, extended selection
inline constexpr unsigned kExtractNonPairedTests = 1009;
inline constexpr unsigned kExtractNonPairedReferences = 1010;
inline constexpr unsigned kExtractPairedTests = 1011;       // drag list
inline constexpr unsigned kExtractPairedReferences = 1012;  // drag list
inline constexpr unsigned kExtractAddNonPairedTest = 1013;
inline constexpr unsigned kExtractDeleteNonPairedTest = 1014;
inline constexpr unsigned kExtractAddNonPairedReference = 1015;
inline constexpr unsigned kExtractDeleteNonPairedReference = 1016;
inline constexpr unsigned kExtractAddPairedTest = 1017;
inline constexpr unsigned kExtractDeletePairedTest = 1018;
inline constexpr unsigned kExtractAddPairedReference = 1019;
inline constexpr unsigned kExtractDeletePairedReference = 1020;
inline constexpr unsigned kExtractOnlyUnprocessed = 1021;
inline constexpr unsigned kExtractImportSampleList = 1029;

// "Dialog": a month calendar and "Set"; no Cancel button (Escape or the
// close box cancel).
inline constexpr unsigned kCalendarDialog = 133;
inline constexpr unsigned kCalendarMonth = 1006;

// Adds both templates to the resources unless they are there already.
void RegisterExtractDialogs();

}  // namespace qova::resources
