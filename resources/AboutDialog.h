#pragma once
// The template of the About box.
namespace qova::resources {

inline constexpr unsigned kAboutDialog = 100;
inline constexpr unsigned kAboutBuildDate = 1086;  // shows the build date

// Adds the template to the resources unless it is there already.
void RegisterAboutDialog();

}  // namespace qova::resources
