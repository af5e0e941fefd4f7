#pragma once
// "Output Sample List": which columns a list of analysed samples holds, and
// the writing of its header line and rows. The Data menu's command and the
// Display Samples dialog's export share both; they differ only in which
// samples they visit.
#include "platform/ui/Dialog.h"

class CAnalyzedData;

namespace qova::document::exports {
class TextExport;
}

class COutputSampleList : public CDialog {
  DECLARE_DYNAMIC(COutputSampleList)

 public:
  explicit COutputSampleList(CWnd* parent = nullptr);

  // One switch per column; the column table in the .cpp gives their order in the file.
  int SampleName = TRUE;
  int ArrayType = TRUE;
  int CreateTime = TRUE;
  int Self = TRUE;
  int SelfReferenceName = FALSE;
  int NonSelf = TRUE;
  int Attribute1 = TRUE;
  int Attribute2 = TRUE;
  int Attribute3 = TRUE;
  int Attribute4 = TRUE;
  int Attribute5 = TRUE;
  int Sex = TRUE;
  int SelfDiploid = TRUE;
  int NonSelfDiploid = TRUE;
  int SelfPloidy = FALSE;
  int SelfSd = FALSE;
  int NonSelfPloidy = FALSE;
  int NonSelfSd = FALSE;
  int ArrayData = FALSE;

  // Whether a chosen column needs the whole sample file rather than its header.
  [[nodiscard]] bool NeedsWholeSamples() const;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
};

namespace qova::document::exports {

// What one row of the list is made of. The header fields both kinds of
// result carry come from the self result when there is one, else from the
// non-self result; the self and non-self columns only from their own.
struct SampleListRow {
  std::string Name;
  const CAnalyzedData* Self = nullptr;     // null without a self result
  const CAnalyzedData* NonSelf = nullptr;  // null without a non-self result
  bool HasArrayData = false;               // the extracted sample's .CFH exists
};

void WriteSampleListHeader(const COutputSampleList& columns, TextExport& out);
void WriteSampleListRow(const COutputSampleList& columns, const SampleListRow& row, TextExport& out);

}  // namespace qova::document::exports
