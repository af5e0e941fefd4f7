#pragma once
// Dialog templates about the sample the main view shows: its information
// report, and the fragment-length range its analysis is limited to.
namespace qova::resources {

// "Sample information": the read-only report and a button that copies it.
inline constexpr unsigned kSampleInformationDialog = 181;
inline constexpr unsigned kSampleInformationText = 1082;
inline constexpr unsigned kSampleInformationCopy = 1001;

// "Set PCR fragment length": lower and upper length in bases, or every SNP.
inline constexpr unsigned kFragmentLengthDialog = 167;
inline constexpr unsigned kFragmentLower = 1004;
inline constexpr unsigned kFragmentUpper = 1005;
inline constexpr unsigned kFragmentIncludeAll = 1006;

void RegisterShownSampleDialogs();

}  // namespace qova::resources
