#pragma once
// Writes a recorded picture as an enhanced metafile (.emf), the vector
// picture format that office programs on Windows paste and that vector
// editors elsewhere import. The records are those of the picture in device
// pixels (MM_TEXT): pens, brushes and fonts (with their escapement) made as
// each record needs them, lines, rectangles, pixels and text; the header's
// bounds are those of what was drawn (DrawnBounds), its frame and reference
// device those of the picture's device.
#include <string>

#include "platform/ui/RecordingCanvas.h"

namespace platform::ui {

[[nodiscard]] std::string EnhancedMetafileOf(const Picture& picture);

}  // namespace platform::ui
