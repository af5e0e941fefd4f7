#include "views/ChromosomeContextMenu.h"

#include "views/ViewNavigation.h"
#include "views/ZoomSetting.h"

namespace qova::views {

std::vector<PopupItem> ChromosomeContextMenu(bool oneChromosome) {
  std::vector<PopupItem> items;
  if (oneChromosome)
    items.push_back({kItemAllGenome, "All Genome View"});
  else
    items.push_back({kItemEachChromosome, "Each Chromosome View"});
  items.insert(items.end(), {{kItemZoomIn, "Zoom In"},
                             {kItemZoomOut, "Zoom Out"},
                             {kItemHorizontalZoomIn, "Horizontal Zoom In"},
                             {kItemHorizontalZoomOut, "Horizontal Zoom Out"},
                             {kItemVerticalZoomIn, "Vertical Zoom In"},
                             {kItemVerticalZoomOut, "Vertical Zoom Out"},
                             {kItemZoomSetting, "Zoom Setting"},
                             {kItemFitToWindow, "Fit to Window"},
                             {kItemInformation, "Information"},
                             {kItemGotoWeb, "Goto Web"}});
  return items;
}

bool IsZoomItem(UINT id) {
  switch (id) {
    case kItemZoomIn:
    case kItemZoomOut:
    case kItemHorizontalZoomIn:
    case kItemHorizontalZoomOut:
    case kItemVerticalZoomIn:
    case kItemVerticalZoomOut:
    case kItemZoomSetting: return true;
    default: return false;
  }
}

bool ApplyZoomItem(UINT id, CWnd& owner, ViewMapping& mapping, CPoint p, CSize client) {
  bool x = true, y = true;
  if (id == kItemZoomSetting) {
    CZoomSetting dialog(&owner);
    dialog.ZoomX = mapping.m_nSizeX;
    dialog.ZoomY = mapping.m_nSizeY;
    if (dialog.DoModal() != IDOK) return false;
    mapping.m_nSizeX = ClampDisplaySize(dialog.ZoomX);
    mapping.m_nSizeY = ClampDisplaySize(dialog.ZoomY);
  } else {
    const bool in = id == kItemZoomIn || id == kItemHorizontalZoomIn || id == kItemVerticalZoomIn;
    x = id != kItemVerticalZoomIn && id != kItemVerticalZoomOut;
    y = id != kItemHorizontalZoomIn && id != kItemHorizontalZoomOut;
    const auto step = in ? ZoomInSize : ZoomOutSize;
    if (x) mapping.m_nSizeX = step(mapping.m_nSizeX);
    if (y) mapping.m_nSizeY = step(mapping.m_nSizeY);
  }
  if (x) CentreX(mapping, p.x, client.cx);
  if (y) CentreY(mapping, p.y, client.cy);
  return true;
}

}  // namespace qova::views
