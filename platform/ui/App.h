#pragma once
// The application object: document templates in registration order, the
// main window, the profile functions over the settings file, the command
// line, and the message loop with its idle processing.
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/CmdTarget.h"
#include "platform/ui/DocView.h"
#include "platform/ui/DrawSurface.h"

class CWnd;

class CCommandLineInfo {
 public:
  enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };
  virtual ~CCommandLineInfo() = default;
  virtual void ParseParam(std::string_view param, BOOL flag, BOOL last);

  int m_nShellCommand = FileNew;
  std::string m_strFileName;
  BOOL m_bShowSplash = TRUE;
};

class CWinApp : public CCmdTarget {
  DECLARE_DYNAMIC(CWinApp)
 public:
  // Becomes the application of AfxGetApp for its lifetime.
  explicit CWinApp(const char* appName = nullptr);
  ~CWinApp() override;

  virtual BOOL InitInstance();
  virtual int ExitInstance();
  // The message loop until the quit message; then ExitInstance.
  virtual int Run();
  // Idle work: count 0 refreshes the tool bar; TRUE asks for another call.
  virtual BOOL OnIdle(LONG count);
  // Takes one message and dispatches it; FALSE for the quit message.
  virtual BOOL PumpMessage();

  void AddDocTemplate(CDocTemplate* docTemplate);
  [[nodiscard]] POSITION GetFirstDocTemplatePosition() const;
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
  virtual CDocument* OpenDocumentFile(const char* pathName);
  void CloseAllDocuments(BOOL endSession);
  BOOL SaveAllModified();

  void SetRegistryKey(std::string_view key);
  void LoadStdProfileSettings(UINT maxMRU = 4);
  UINT GetProfileInt(std::string_view section, std::string_view entry, int defaultValue);
  std::string GetProfileString(std::string_view section, std::string_view entry, std::string_view defaultValue = {});
  BOOL WriteProfileInt(std::string_view section, std::string_view entry, int value);
  BOOL WriteProfileString(std::string_view section, std::string_view entry, std::string_view value);

  // The program's arguments (without the program name), for ParseCommandLine.
  void SetCommandLine(std::vector<std::string> arguments) { m_arguments = std::move(arguments); }
  // Hands each argument to `info` as a flag or a file: "-" begins a flag, "/"
  // only one of the framework's flags (/p, /pt, /dde, /nologo); an argument
  // that names an existing file is always a file.
  void ParseCommandLine(CCommandLineInfo& info);
  BOOL ProcessShellCommand(CCommandLineInfo& info);

  [[nodiscard]] HCURSOR LoadStandardCursor(int idc) const;
  [[nodiscard]] HCURSOR LoadCursor(int idc) const { return LoadStandardCursor(idc); }

  CWnd* m_pMainWnd = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  std::string m_pszAppName;
  std::string m_strAppTitle;
  std::string m_pszRegistryKey;
  // The printer chosen in Print Setup.
  platform::ui::PrinterSettings m_printer;

  // The framework's File commands, for the application's message map.
  void OnFileNew();
  void OnFileOpen();
  void OnFilePrintSetup();
  void OnAppExit();

 protected:
  std::vector<CDocTemplate*> m_templates;
  std::vector<std::string> m_arguments;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

namespace platform::ui {

// Sends command `id` down the route from `target` as the current command; a
// file or archive failure is reported in the framework's message box.
BOOL DispatchCommand(CCmdTarget& target, UINT id);

}  // namespace platform::ui
