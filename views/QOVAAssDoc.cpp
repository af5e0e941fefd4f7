#include "views/QOVAAssDoc.h"

#include <exception>

#include "core/GlobalData.h"
#include "document/ApplicationData.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "resources/CommandIds.h"

namespace {

namespace res = qova::resources;

// The archive buffer of .AAD files.
constexpr int kArchiveBuffer = 4096;

}  // namespace

IMPLEMENT_DYNCREATE(CQOVAAssDoc, CDocument)

BEGIN_MESSAGE_MAP(CQOVAAssDoc, CDocument)
  ON_COMMAND(res::kCmdCalcChi2, &CQOVAAssDoc::OnCalcChi2)
END_MESSAGE_MAP()

CQOVAAssDoc::CQOVAAssDoc() : CQOVAAssDoc(qova::ApplicationData()) {}

CQOVAAssDoc::CQOVAAssDoc(const CGlobalData& global) : m_Data(global) {
  if (global.Cytoband) m_Cytoband.Copy(*global.Cytoband);
}

CQOVAAssDoc::~CQOVAAssDoc() = default;

BOOL CQOVAAssDoc::OnNewDocument() { return CDocument::OnNewDocument(); }

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
