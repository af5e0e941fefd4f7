#include "tests/platform_qt/DialogLayout.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QWidget>

#include "platform/Strings.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtPeers.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Resources.h"

namespace qova::test {
namespace {

using platform::ui::ControlKind;
using platform::ui::WindowState;

struct Placed {
  const WindowState* state;
  QWidget* widget;
  QRect rect;
};

std::string RectText(const QRect& r) {
  return platform::Format("(%d,%d %dx%d)", r.x(), r.y(), r.width(), r.height());
}

std::string Describe(const Placed& c) {
  std::string name = c.state->id == IDC_STATIC ? std::string("static") : std::to_string(c.state->id);
  if (!c.state->text.empty()) name += " \"" + c.state->text + "\"";
  return "control " + name + " " + RectText(c.rect);
}

bool HoldsInside(const Placed& box, const Placed& inner) {
  return box.state->control == ControlKind::GroupBox && box.rect.adjusted(-1, -1, 1, 1).contains(inner.rect);
}

// The room a caption needs in its widget: the text at the widget's font and
// the widget's own furniture (a button's margins, a check box's indicator).
QSize RoomFor(const Placed& c) {
  QFontMetrics metrics = c.widget->fontMetrics();
  QStyle* style = c.widget->style();
  if (auto* label = qobject_cast<QLabel*>(c.widget)) {
    QRect wrapped = metrics.boundingRect(QRect(0, 0, c.rect.width(), 100000), Qt::TextWordWrap, label->text());
    return wrapped.size();
  }
  auto* button = qobject_cast<QAbstractButton*>(c.widget);
  if (!button) return {};
  QSize text(metrics.horizontalAdvance(button->text()), metrics.height());
  if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button)) {
    bool check = qobject_cast<QCheckBox*>(button) != nullptr;
    int indicator = style->pixelMetric(check ? QStyle::PM_IndicatorWidth : QStyle::PM_ExclusiveIndicatorWidth, nullptr, button);
    int spacing = style->pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing : QStyle::PM_RadioButtonLabelSpacing, nullptr,
                                     button);
    return {indicator + spacing + text.width(), text.height()};
  }
  // A push button: the text and a little air on either side.
  return {text.width() + 4, text.height()};
}

// The control whose widget is `w` or holds it.
const Placed* OwnerOf(const std::vector<Placed>& controls, const QWidget* w) {
  for (; w; w = w->parentWidget())
    for (const Placed& c : controls)
      if (c.widget == w) return &c;
  return nullptr;
}

std::string IdList(const std::vector<UINT>& ids) {
  std::string text;
  for (UINT id : ids) text += (text.empty() ? "" : ", ") + std::to_string(id);
  return text.empty() ? "nothing" : text;
}

// Kinds of control that never take the keyboard, whatever their style.
bool TakesFocus(ControlKind kind) {
  switch (kind) {
    case ControlKind::Static:
    case ControlKind::GroupBox:
    case ControlKind::Frame:
    case ControlKind::Animation:
    case ControlKind::Progress:
    case ControlKind::UpDown: return false;
    default: return true;
  }
}

void KeyboardFaults(const CDialog& dialog, QWidget* host, const std::vector<Placed>& controls, const std::string& name,
                    std::vector<std::string>& faults) {
  std::vector<UINT> stops;
  for (const Placed& c : controls)
    if ((c.state->style & WS_TABSTOP) && c.state->enabled && TakesFocus(c.state->control)) stops.push_back(c.state->id);
  const UINT given = dialog.m_hWnd->focusId;
  const Placed* focused = OwnerOf(controls, host->focusWidget());
  if (!stops.empty() && (!focused || focused->state->id != given || given == 0))
    faults.push_back(name + "the focus is on " + (focused ? std::to_string(focused->state->id) : std::string("nothing")) +
                     ", not on " + (given ? std::to_string(given) : std::string("a control")));
  std::vector<UINT> walked;
  int steps = 0;
  for (QWidget* w = host->nextInFocusChain(); w && w != host && steps < 10000; w = w->nextInFocusChain(), ++steps) {
    if (!host->isAncestorOf(w) || !w->isVisibleTo(host) || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus))
      continue;
    const Placed* owner = OwnerOf(controls, w);
    if (owner && (walked.empty() || walked.back() != owner->state->id)) walked.push_back(owner->state->id);
  }
  if (walked != stops) faults.push_back(name + "Tab goes to " + IdList(walked) + ", not " + IdList(stops));
}

bool HasCaption(const Placed& c) {
  switch (c.state->control) {
    case ControlKind::Static:
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: return !c.state->text.empty();
    default: return false;
  }
}

}  // namespace

std::vector<std::string> DialogLayoutFaults(UINT templateId, const std::string& picturePath) {
  CDialog dialog;
  if (!dialog.Create(templateId)) return {"template " + std::to_string(templateId) + ": cannot be created"};
  std::vector<std::string> faults = DialogLayoutFaults(dialog, picturePath);
  const std::string caption = platform::ui::RequireDialogTemplate(templateId).caption;
  if (QWidget* host = platform::qt::WidgetOf(dialog); host && host->windowTitle().toStdString() != caption)
    faults.push_back("template " + std::to_string(templateId) + ": shows the caption \"" +
                     host->windowTitle().toStdString() + "\", not the template's \"" + caption + "\"");
  dialog.DestroyWindow();
  return faults;
}

std::vector<std::string> DialogLayoutFaults(CDialog& dialog, const std::string& picturePath) {
  const std::string dialogName = "template " + std::to_string(dialog.TemplateId()) + ": ";
  QWidget* host = platform::qt::WidgetOf(dialog);
  if (!host) return {dialogName + "has no widget"};
  host->show();
  std::vector<Placed> controls;
  for (const WindowState* child : dialog.m_hWnd->children) {
    platform::qt::WidgetPeer* peer = platform::qt::PeerOf(const_cast<WindowState*>(child));
    if (child->kind != platform::ui::WindowKind::Control || !child->visible || !peer || !peer->Widget()) continue;
    controls.push_back({child, peer->Widget(), peer->Widget()->geometry()});
  }
  std::vector<std::string> faults;
  const QRect client = host->rect();
  for (size_t i = 0; i < controls.size(); ++i) {
    const Placed& a = controls[i];
    if (!client.contains(a.rect))
      faults.push_back(dialogName + Describe(a) + " reaches outside the client area " + RectText(client));
    for (size_t j = i + 1; j < controls.size(); ++j) {
      const Placed& b = controls[j];
      QRect common = a.rect.intersected(b.rect);
      if (common.width() <= 1 || common.height() <= 1 || HoldsInside(a, b) || HoldsInside(b, a)) continue;
      faults.push_back(dialogName + Describe(a) + " and " + Describe(b) + " overlap by " +
                       platform::Format("%dx%d", common.width(), common.height()));
    }
    if (HasCaption(a)) {
      QSize room = RoomFor(a);
      if (room.width() > a.rect.width() || room.height() > a.rect.height())
        faults.push_back(dialogName + Describe(a) + " is too small for its text, which needs " +
                         platform::Format("%dx%d", room.width(), room.height()));
    }
  }
  KeyboardFaults(dialog, host, controls, dialogName, faults);
  if (!picturePath.empty()) host->grab().save(QString::fromStdString(picturePath), "PNG");
  return faults;
}

}  // namespace qova::test
