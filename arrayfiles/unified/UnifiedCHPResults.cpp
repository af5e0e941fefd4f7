#include "arrayfiles/unified/UnifiedCHPResults.h"

namespace unified_io {

std::string UnifiedGenotypeProbeSetResults::GetAssignmentCallString() const {
  switch (alleleCall) {
    case kCallA: return "A";
    case kCallB: return "B";
    case kCallAB: return "AB";
    default: return "No Call";
  }
}

}  // namespace unified_io
