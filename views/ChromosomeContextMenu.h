#pragma once
// The context menu the chromosome views share: its items, and the zoom items,
// which act on the view's mapping alone. The views act on the other items
// (the mode switches, Fit to Window, Information, Goto Web) themselves.
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/WinTypes.h"
#include "views/PopupChoice.h"
#include "views/ViewLayout.h"

class CWnd;

namespace qova::views {

inline constexpr UINT kItemInformation = 101;
inline constexpr UINT kItemGotoWeb = 102;
inline constexpr UINT kItemZoomIn = 104;
inline constexpr UINT kItemZoomOut = 105;
inline constexpr UINT kItemZoomSetting = 106;
inline constexpr UINT kItemFitToWindow = 107;
inline constexpr UINT kItemEachChromosome = 108;
inline constexpr UINT kItemAllGenome = 109;
inline constexpr UINT kItemHorizontalZoomIn = 110;
inline constexpr UINT kItemHorizontalZoomOut = 111;
inline constexpr UINT kItemVerticalZoomIn = 112;
inline constexpr UINT kItemVerticalZoomOut = 113;

// The browser shows this many bases either side of a clicked position.
inline constexpr int kBrowserMargin = 100;

// The menu of the genome (Each Chromosome View first) or of one chromosome
// (All Genome View first).
[[nodiscard]] std::vector<PopupItem> ChromosomeContextMenu(bool oneChromosome);

// Zoom In and Out (both axes, horizontal, vertical) and Zoom Setting.
[[nodiscard]] bool IsZoomItem(UINT id);
// Zooms `mapping` by item `id` and centres the zoomed axes on logical point
// `p` of a client area `client` pixels large; Zoom Setting asks `owner`'s
// zoom dialog for the sizes. False when nothing changed (the dialog was
// cancelled).
bool ApplyZoomItem(UINT id, CWnd& owner, ViewMapping& mapping, CPoint p, CSize client);

}  // namespace qova::views
