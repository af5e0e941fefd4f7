#include "platform/qt/QtTabStops.h"

#include <QApplication>
#include <QListWidget>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

#include "platform/qt/QtPeers.h"

namespace platform::qt {

namespace {

// Without stops of its own a list stops every 32 dialog units.
constexpr int kDefaultTabStop = 32;

class TabStopDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // Stops in pixels from the left of the text, ascending.
  std::vector<int> stops;
  int defaultStop = 1;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();
    const QWidget* widget = item.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    painter->save();
    painter->setFont(item.font);
    const bool selected = (item.state & QStyle::State_Selected) != 0;
    painter->setPen(item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    int x = 0;
    const QStringList parts = text.split('\t');
    for (qsizetype i = 0; i < parts.size(); ++i) {
      if (i > 0) x = NextStop(x);
      const QRect cell(area.left() + x, area.top(), std::max(0, area.width() - x), area.height());
      painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, parts[i]);
      x += item.fontMetrics.horizontalAdvance(parts[i]);
    }
    painter->restore();
  }

 private:
  // The first stop right of `x`; past the last one, the next multiple of the default.
  [[nodiscard]] int NextStop(int x) const {
    for (int stop : stops)
      if (stop > x) return stop;
    return (x / defaultStop + 1) * defaultStop;
  }
};

}  // namespace

void SetListTabStops(QListWidget* list, const std::vector<int>& dialogUnits) {
  auto* delegate = dynamic_cast<TabStopDelegate*>(list->itemDelegate());
  if (delegate == nullptr) {
    delegate = new TabStopDelegate(list);
    list->setItemDelegate(delegate);
  }
  const int baseX = BaseUnitsOf({}, list->font().pointSize()).cx;
  delegate->stops.clear();
  for (int units : dialogUnits) delegate->stops.push_back(units * baseX / 4);
  delegate->defaultStop = std::max(1, kDefaultTabStop * baseX / 4);
  list->viewport()->update();
}

}  // namespace platform::qt
