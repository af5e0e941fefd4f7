#include "views/association/QOVAAssDoc.h"

#include <exception>

#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "document/ApplicationData.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "resources/CommandIds.h"
#include "views/association/DialogSelectArraytype.h"
#include "views/association/DialogSelectCHPs.h"

namespace {

namespace res = qova::resources;

// The archive buffer of .AAD files.
constexpr int kArchiveBuffer = 4096;

}  // namespace

IMPLEMENT_DYNCREATE(CQOVAAssDoc, CDocument)

BEGIN_MESSAGE_MAP(CQOVAAssDoc, CDocument)
  ON_COMMAND(res::kCmdCalcChi2, &CQOVAAssDoc::OnCalcChi2)
END_MESSAGE_MAP()

CQOVAAssDoc::CQOVAAssDoc() : CQOVAAssDoc(qova::document::ApplicationData()) {}

CQOVAAssDoc::CQOVAAssDoc(const CGlobalData& global) : m_Data(global), m_pGlobal(&global) {
  if (global.Cytoband) m_Cytoband.Copy(*global.Cytoband);
}

CQOVAAssDoc::~CQOVAAssDoc() = default;

BOOL CQOVAAssDoc::OnNewDocument() {
  if (!CDocument::OnNewDocument()) return FALSE;
  CDialogSelectArraytype types;
  if (types.DoModal() != IDOK) return FALSE;
  const std::string& dataFolder = m_pGlobal->ProgramSetting->DefaultDataFolder;
  CDialogSelectCHPs samples;
  samples.m_strArrayType = types.m_strArrayType;
  samples.m_bSkipTypeCheck = types.m_bSkipTypeCheck;
  samples.m_strDataFolder = dataFolder;
  if (samples.DoModal() != IDOK) return FALSE;

  // Without its library file the calls cannot be placed; a choice of files
  // that ends in nothing would leave the user guessing why.
  const std::string library =
      platform::JoinPath(m_pGlobal->ProgramSetting->DefaultLibraryFolder, qova::core::LibraryFileName(types.m_strArrayType));
  if (!platform::FileExists(library)) {
    AfxMessageBox(platform::Format("The library file %s is missing", library.c_str()), MB_ICONEXCLAMATION);
    return FALSE;
  }
  m_Data.FreeArrays();
  m_Data.arrayType = types.m_strArrayType;
  m_Data.caseNames = samples.m_CaseNames;
  m_Data.controlNames = samples.m_ControlNames;
  if (!m_Data.ReadGenotypeCalls()) return FALSE;
  SetModifiedFlag(TRUE);
  m_strStatus = kStatusAnalysis;
  return TRUE;
}

BOOL CQOVAAssDoc::OnOpenDocument(const char* pathName) {
  const std::string path = pathName ? pathName : "";
  CFile file;
  CFileException error;
  if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &error)) {
    AfxMessageBox(error.what(), MB_ICONEXCLAMATION);
    return FALSE;
  }
  try {
    // The data replaces itself only once the whole file has been read.
    CArchive ar(&file, CArchive::load, kArchiveBuffer);
    m_Data.Serialize(ar);
    ar.Close();
    file.Close();
  } catch (const std::exception& e) {
    AfxMessageBox(e.what(), MB_ICONEXCLAMATION);
    return FALSE;
  }
  m_strStatus = kStatusAnalysis;
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CQOVAAssDoc::OnSaveDocument(const char* pathName) {
  const std::string path = pathName ? pathName : "";
  platform::CAtomicFile file;
  CFileException error;
  if (!file.Open(path, CFile::modeCreate | CFile::modeWrite, &error)) {
    AfxMessageBox(error.what(), MB_ICONEXCLAMATION);
    return FALSE;
  }
  try {
    CArchive ar(&file, CArchive::store, kArchiveBuffer);
    m_Data.Serialize(ar);
    ar.Close();
    file.Commit();
  } catch (const std::exception& e) {
    AfxMessageBox(e.what(), MB_ICONEXCLAMATION);
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CQOVAAssDoc::OnCalcChi2() {
  m_Data.PermutationTest();
  SetModifiedFlag(TRUE);
  UpdateAllViews(nullptr);
}
