#pragma once
// The resources of the main frame and the document windows: the four menus,
// the tool bar, the accelerators, the document-template strings, the
// status-bar texts and the command prompts.
namespace qova::resources {

// The main frame (menu with no document open, tool bar, accelerators).
inline constexpr unsigned kMainFrame = 128;
// The document templates, in the order they are registered.
inline constexpr unsigned kQovaDocumentType = 129;
inline constexpr unsigned kGraphDocumentType = 130;
inline constexpr unsigned kAssociationDocumentType = 131;

// Adds every frame resource unless they are there already.
void RegisterFrameResources();

}  // namespace qova::resources
