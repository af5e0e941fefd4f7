#pragma once
// Where the Save As of every export opens.
class CFileDialog;

namespace qova::document {

// Starts `dialog` in the Output folder the settings hold as it opens, which
// Default Setting may have changed since the document was made; a bare file
// name typed into it lands there too. Without application data it starts
// where the system's dialog would.
void StartInOutputFolder(CFileDialog& dialog);

}  // namespace qova::document
