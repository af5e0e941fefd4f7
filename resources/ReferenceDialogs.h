#pragma once
// Dialog templates of the reference choice: the check list of candidate
// references and the chooser of one reference sample.
namespace qova::resources {

// "Dialog": the candidates in a check list, OK, and a Cancel the user reaches
// only by Escape or the close box.
inline constexpr unsigned kRefSelectDialog = 135;
inline constexpr unsigned kRefSelectCheckList = 1009;

// "Select reference file": the samples of one array type in a sorted list.
inline constexpr unsigned kSelectRefDialog = 179;
inline constexpr unsigned kSelectRefShowReferencesOnly = 1005;
inline constexpr unsigned kSelectRefSampleList = 1015;

// Adds both templates to the resources unless they are there already.
void RegisterReferenceDialogs();

}  // namespace qova::resources
