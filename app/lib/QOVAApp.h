#pragma once
// The application object: it owns the one application-wide data object,
// registers the three document types, creates the main window and opens a
// new main document; it answers File > New of each document type, File >
// Open, Help > About and Help > Check for new version.
#include "platform/ui/App.h"

class CGlobalData;

class CQOVAApp : public CWinApp {
  DECLARE_DYNAMIC(CQOVAApp)
 public:
  // The settings key of the profile, kept as it always was.
  static constexpr const char* kRegistryKey = "Local AppWizard-Generated Applications";

  CQOVAApp();
  // Closes the windows and documents first, so nothing outlives the data object.
  ~CQOVAApp() override;

  // Loads the settings and tables (a failed load is reported and start-up
  // goes on), registers the templates, creates the main window and processes
  // the command line. FALSE ends the program.
  BOOL InitInstance() override;

  // File > Open and the command line: a graph text or an association study,
  // as the framework opens them. Any other file is refused with one message
  // and makes no window: the main document reads no file, so it would come
  // up empty under the file's name as if the file were open.
  CDocument* OpenDocumentFile(const char* pathName) override;

  // New documents of the first, second and third template.
  void OnFileNew();
  void OnFileNewGraph();
  void OnFileNewAssociation();
  void OnAppAbout();
  void OnCheckNewVersion();

  // The application-wide data object (null before InitInstance).
  CGlobalData* m_pGlobalData = nullptr;

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  void OpenNewDocument(int templateIndex);
};
