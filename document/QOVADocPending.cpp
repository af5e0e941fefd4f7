// Commands whose work is not in this version yet. Each says so when chosen;
// the code that does the work replaces its line here.
#include "document/QOVADoc.h"

void CQOVADoc::OnDisplaySamples() { ShowNotYetAvailable("Display Samples"); }
void CQOVADoc::OnOutputRawData() { ShowNotYetAvailable("Output Raw Data"); }
void CQOVADoc::OnOutputSampleList() { ShowNotYetAvailable("Output Sample List"); }
void CQOVADoc::OnExtractIMFFromList() { ShowNotYetAvailable("Intensity work files"); }
void CQOVADoc::OnIMFCorrelation() { ShowNotYetAvailable("Work-file correlation"); }
void CQOVADoc::OnMakeSNPInfo() { ShowNotYetAvailable("SNP information of the work files"); }
void CQOVADoc::OnIMFToIM2() { ShowNotYetAvailable("Work files .IM2"); }
void CQOVADoc::OnMakeNormalAverage() { ShowNotYetAvailable("Normal average of the work files"); }
void CQOVADoc::OnIM2ToIM3() { ShowNotYetAvailable("Work files .IM3"); }
void CQOVADoc::OnMakeCNRegression() { ShowNotYetAvailable("Copy-number regression of the work files"); }
void CQOVADoc::OnIM3ToResult() { ShowNotYetAvailable("Results of the work files"); }
void CQOVADoc::OnOpenIntegration() { ShowNotYetAvailable("Opening an integration"); }
void CQOVADoc::OnSaveIntegration() { ShowNotYetAvailable("Saving an integration"); }
void CQOVADoc::OnEditIntegration() { ShowNotYetAvailable("Editing an integration"); }
