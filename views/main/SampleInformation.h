#pragma once
// "Sample information": a read-only report of the analysed sample the main
// view shows (name, type, date, analysis and its references, attributes,
// sex, the base range and where it lies, ploidy and SD), with Copy putting
// the report on the clipboard as it stands.
#include <cstdint>
#include <string>

#include "platform/ui/Dialog.h"

class CAnalyzedData;
class CBasicData;

namespace qova::views::main {

// The report, one "label<TAB>value" line each. The base range's slots reach
// the annotation through the sort map for a combined non-self sample.
[[nodiscard]] std::string SampleInformationReport(const CAnalyzedData& analyzed, const CBasicData* basic);

}  // namespace qova::views::main

class CSampleInformation : public CDialog {
  DECLARE_DYNAMIC(CSampleInformation)

 public:
  CSampleInformation(const CAnalyzedData* analyzed, const CBasicData* basic, const std::int32_t* chromosomeStarts,
                     CWnd* parent = nullptr);

  const CAnalyzedData* m_pAnalyzed;
  const CBasicData* m_pBasicData;
  const std::int32_t* m_pChromosomeStarts;

 protected:
  BOOL OnInitDialog() override;
  void OnCopy();

  DECLARE_MESSAGE_MAP()
};
