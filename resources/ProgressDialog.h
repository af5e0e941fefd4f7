#pragma once
// The template of the modeless progress dialog that long operations show.
namespace qova::resources {

inline constexpr unsigned kProgressDialog = 154;
inline constexpr unsigned kProgressBar = 1071;        // range 0..100
inline constexpr unsigned kProgressStatus = 1072;     // the status line
inline constexpr unsigned kProgressAnimation = 1073;  // optional animation

// Adds the template to the resources unless it is there already.
void RegisterProgressDialog();

}  // namespace qova::resources
