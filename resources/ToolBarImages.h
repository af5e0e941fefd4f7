#pragma once
// The pictures of the main tool bar's buttons, one per command.
#include <vector>

#include "platform/ui/Resources.h"

namespace qova::resources {

[[nodiscard]] std::vector<platform::ui::ButtonImage> MainToolBarImages();

}  // namespace qova::resources
