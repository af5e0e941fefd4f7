#pragma once
// The application-wide data object as the documents and dialogs of this layer
// reach it. The framework creates documents and dialogs without arguments, so
// the application object installs its one data object here at start-up (and
// removes it before destroying it); tests install their own.
class CGlobalData;

namespace qova::document {

void SetApplicationData(CGlobalData* global);
// The installed object; throws std::logic_error when none is installed.
[[nodiscard]] CGlobalData& ApplicationData();
[[nodiscard]] bool HasApplicationData();

// Installs `global` for the lifetime of the object and restores the previous one.
class ScopedApplicationData {
 public:
  explicit ScopedApplicationData(CGlobalData& global);
  ~ScopedApplicationData();
  ScopedApplicationData(const ScopedApplicationData&) = delete;
  ScopedApplicationData& operator=(const ScopedApplicationData&) = delete;

 private:
  CGlobalData* previous_;
};

}  // namespace qova::document
