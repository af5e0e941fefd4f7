#pragma once
// A view that can hand its display state (settings block, mode, position,
// chromosome, averaging) to another view of its kind. The document opens a
// result in a new window with the state of the window it came from, without
// knowing the view classes.
class CView;

class IViewStateCopy {
 public:
  virtual ~IViewStateCopy() = default;
  // Copies this view's display state into `target`; false (nothing copied)
  // when `target` is not a view of the same kind.
  virtual bool CopyStateTo(CView& target) const = 0;
};
