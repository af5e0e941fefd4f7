#include "document/ApplicationData.h"

#include <stdexcept>

namespace qova::document {

namespace {

CGlobalData*& Installed() {
  static CGlobalData* global = nullptr;
  return global;
}

}  // namespace

void SetApplicationData(CGlobalData* global) { Installed() = global; }

CGlobalData& ApplicationData() {
  if (Installed() == nullptr) throw std::logic_error("no application-wide data object is installed");
  return *Installed();
}

bool HasApplicationData() { return Installed() != nullptr; }

ScopedApplicationData::ScopedApplicationData(CGlobalData& global) : previous_(Installed()) { Installed() = &global; }

ScopedApplicationData::~ScopedApplicationData() { Installed() = previous_; }

}  // namespace qova::document
