#pragma once
// The outside genome browser: every view and dialog that offers "Goto Web"
// opens a region there through OpenGenomeBrowser, in the user's own web
// browser. Positions are of genome build 17, the build of the annotation.
#include <string>

class CWnd;

namespace qova::views {

// The settings file's key of the browser's scheme and host, in the section
// the version check reads too.
inline constexpr const char* kWebSection = "Web";
inline constexpr const char* kGenomeBrowserKey = "GenomeBrowser";
inline constexpr const char* kDefaultGenomeBrowser = "https://genome.ucsc.edu";
inline constexpr int kGenomeBuild = 17;

// The address of bases start..end of chromosome c (23 = X) on the browser
// `server` (scheme and host, without a trailing slash).
[[nodiscard]] std::string GenomeBrowserAddress(const std::string& server, int chromosome, int start, int end);

// The report of a measured region of chromosome c (23 = X): slots first..last
// at positions p1..p2 in bases, ending with the offer of the browser.
[[nodiscard]] std::string MeasureReport(int chromosome, int first, int p1, int last, int p2);

}  // namespace qova::views

// Opens the region in the user's web browser; false, after "Web not
// connected", when that was refused. `owner` is the window that asks.
bool OpenGenomeBrowser(int chromosome, CWnd* owner, int start, int end);
