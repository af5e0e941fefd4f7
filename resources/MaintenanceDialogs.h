#pragma once
// The dialog of the main document's maintenance command that copies the
// files of listed samples.

namespace qova::resources {

inline constexpr unsigned kCopyListedFilesDialog = 188;
inline constexpr unsigned kCopyListBrowse = 1001;
inline constexpr unsigned kCopyDestinationBrowse = 1002;
inline constexpr unsigned kCopyListFile = 1004;      // read-only
inline constexpr unsigned kCopyCfh = 1005;
inline constexpr unsigned kCopySelfReferences = 1006;
inline constexpr unsigned kCopyDestination = 1007;   // read-only
inline constexpr unsigned kCopyCfs = 1016;
inline constexpr unsigned kCopyCfn = 1019;
inline constexpr unsigned kCopyCfa = 1021;
inline constexpr unsigned kCopyNonSelfReferences = 1040;

void RegisterMaintenanceDialogs();

}  // namespace qova::resources
