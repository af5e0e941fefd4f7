#pragma once
// Every resource of the program at once: the frame's menus and tool bar and
// every dialog template. The program registers each when it first needs it;
// this is for the checks that walk them all.
namespace qova::resources {

void RegisterAllResources();

}  // namespace qova::resources
