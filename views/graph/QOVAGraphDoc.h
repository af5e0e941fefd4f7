#pragma once
// The graph document: many samples' copy-number segments laid side by side
// over all chromosomes, with its own appearance settings. It is filled from
// the copy-number change text that Display Samples exports; the rows of its
// samples are the order of the columns, which the view's drag and
// clustering commands change.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/DocView.h"

class CGraphSetting;

struct GraphSegment {
  std::int32_t sample = 0;       // index into the sample list
  std::int32_t colourIndex = 2;  // 0..5: below 2 a loss, above 2 a gain, 5 the highest class
  std::int32_t chromosome = 1;   // 1..22, 23 for X
  std::int32_t start = 0;        // bp
  std::int32_t end = 0;          // bp
};

struct GraphSample {
  std::string name;
  std::string alias;  // the text the view shows
  std::int32_t group = 0;  // 1..5 pick a group colour for the name
  std::int32_t row = 0;    // column position; the rows of all samples are a permutation of 0..n-1
};

class CQOVAGraphDoc : public CDocument {
  DECLARE_DYNCREATE(CQOVAGraphDoc)
 public:
  CQOVAGraphDoc();
  ~CQOVAGraphDoc() override;

  BOOL OnNewDocument() override;
  // Reads a copy-number change text; a line that does not fit refuses the
  // whole file with a message naming the file and the line.
  BOOL OnOpenDocument(const char* pathName) override;
  void DeleteContents() override;

  // The sample at each row: order[row] = sample index.
  [[nodiscard]] std::vector<int> SampleOrder() const;

  std::vector<GraphSegment> m_Segments;
  std::vector<GraphSample> m_Samples;
  std::unique_ptr<CGraphSetting> m_pSetting;
  BOOL m_bHasAliases = FALSE;
  BOOL m_bHasGroups = FALSE;

  void OnSetting();
  void OnSaveSetting();
  void OnLoadSetting();
  void OnOutputSampleOrder();

 protected:
  DECLARE_MESSAGE_MAP()
};
