#pragma once
// The parameter dialogs read their choices from rows of radio buttons whose
// ids do not follow each other.
#include <initializer_list>
#include <span>

#include "platform/ui/Wnd.h"

namespace qova::analysis {

// The index of the first checked button among `ids`, or -1 when none is.
[[nodiscard]] inline int CheckedRadio(const CWnd& dialog, std::span<const unsigned> ids) {
  for (std::size_t i = 0; i < ids.size(); ++i)
    if (dialog.IsDlgButtonChecked(static_cast<int>(ids[i])) != 0) return static_cast<int>(i);
  return -1;
}

[[nodiscard]] inline int CheckedRadio(const CWnd& dialog, std::initializer_list<unsigned> ids) {
  return CheckedRadio(dialog, std::span<const unsigned>(ids.begin(), ids.size()));
}

}  // namespace qova::analysis
