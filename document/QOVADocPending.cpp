// Commands whose work is not in this version yet. Each says so when chosen;
// the code that does the work replaces its line here.
#include "document/QOVADoc.h"

void CQOVADoc::OnOutputRawData() { ShowNotYetAvailable("Output Raw Data"); }
