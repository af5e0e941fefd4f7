#include "views/GenomeBrowser.h"

#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/ui/Backend.h"

namespace views = qova::views;

namespace qova::views {

std::string GenomeBrowserAddress(const std::string& server, int chromosome, int start, int end) {
  if (chromosome == 23)
    return server + platform::Format("/cgi-bin/hgTracks?db=hg%d&position=chrX%%3A%d-%d", kGenomeBuild, start, end);
  return server +
         platform::Format("/cgi-bin/hgTracks?db=hg%d&position=chr%d%%3A%d-%d", kGenomeBuild, chromosome, start, end);
}

std::string MeasureReport(int chromosome, int first, int p1, int last, int p2) {
  const std::string name = chromosome == 23 ? std::string("X") : std::to_string(chromosome);
  return platform::Format(
             "Chromosome: %s\nStart\tSNPnumber= %d\n\tPosition= %d\nEnd\tSNPnumber= %d\n\tPosition= %d\nLength= %d",
             name.c_str(), first, p1, last, p2, p2 - p1) +
         "\n Goto Web Information?";
}

}  // namespace qova::views

bool OpenGenomeBrowser(int chromosome, CWnd* owner, int start, int end) {
  (void)owner;  // the browser opens on its own; nothing is parented to the view
  std::string server =
      platform::Trim(platform::AppProfile().GetProfileString(views::kWebSection, views::kGenomeBrowserKey, ""));
  if (server.empty()) server = views::kDefaultGenomeBrowser;
  while (!server.empty() && server.back() == '/') server.pop_back();
  if (platform::ui::OpenUrl(views::GenomeBrowserAddress(server, chromosome, start, end))) return true;
  AfxMessageBox("Web not connected", MB_OK);
  return false;
}
