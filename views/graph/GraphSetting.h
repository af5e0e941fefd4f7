#pragma once
// The appearance of one graph document and the dialog that edits it: the
// thirteen colours, the two fonts and the sizes and positions the graph view
// draws with, and the small tab-separated file they are saved to.
#include <string>
#include <string_view>

#include "platform/ui/DC.h"
#include "platform/ui/Dialog.h"
#include "resources/GraphSettingDialog.h"

// The numbers of the chart, in the logical units of the graph view.
struct GraphLayout {
  // Every number lies within plus or minus this, so that the view's sums of
  // positions, widths and counts of columns stay far inside its integers.
  static constexpr long kLimit = 1000000;

  int width = 20;            // "width": a sample's column
  int interval = 1;          // "interval": between two columns
  int chSpace = 2;           // "ch space": between two chromosomes
  int yDiv = 10000;          // "y_div": kilobases per logical unit down the chart
  int rotation = 2700;       // "sample name text rotation", tenths of a degree
  long zoomX = 100;          // "size_x", per cent
  long zoomY = 100;          // "y", per cent
  long graphX = 50;          // the chart's top-left corner
  long graphY = 100;
  long sampleNameX = 50;     // added to the sample names' x
  long sampleNameY = 0;
  long chromosomeX = 0;      // the chromosome numbers' column
  long chromosomeY = 100;

  [[nodiscard]] int Pitch() const { return width + interval; }
  bool operator==(const GraphLayout&) const = default;
};

class CGraphSetting : public CDialog {
  DECLARE_DYNAMIC(CGraphSetting)
 public:
  explicit CGraphSetting(CWnd* parent = nullptr);

  // Writes the settings file; 0 when it cannot be written.
  [[nodiscard]] int SaveSettings(std::string_view path) const;
  // Reads a settings file; 0 when it cannot be read or is not a graph
  // settings file (`error` says which line and field), and then nothing
  // changes. The version on its first line is not checked.
  [[nodiscard]] int LoadSettings(std::string_view path, std::string& error);

  COLORREF m_Colour[qova::resources::kGraphColours];
  CFont m_SampleNameFont;
  CFont m_ChromosomeFont;
  GraphLayout m_Layout;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnPaint() override;

  DECLARE_MESSAGE_MAP()

 private:
  void ChangeColour(int colour);
  void ChangeFont(CFont& font);
  // The message that refuses `layout`, or empty when the view can draw with it.
  [[nodiscard]] static std::string Refusal(const GraphLayout& layout);
};
