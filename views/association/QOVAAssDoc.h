#pragma once
// The association document: one case/control study, the genotype calls of
// its samples and the per-SNP association statistics computed over them,
// stored as an .AAD file through the data's own archive routine. It keeps
// its own copy of the band table, which its view maps to the SNPs of the
// study's array type.
#include <string>

#include "analysis/AssociationData.h"
#include "core/Cytoband.h"
#include "platform/ui/DocView.h"

class CGlobalData;

class CQOVAAssDoc : public CDocument {
  DECLARE_DYNCREATE(CQOVAAssDoc)
 public:
  static constexpr const char* kStatusClean = "Clean";
  static constexpr const char* kStatusAnalysis = "Analysis";

  // With the application's data object (the framework's way).
  CQOVAAssDoc();
  explicit CQOVAAssDoc(const CGlobalData& global);
  ~CQOVAAssDoc() override;

  // New Association: the array type, then the cases and controls among the
  // data folder's CHP files, then their calls. FALSE (no document) when
  // either dialog is cancelled, the reading is cancelled, or the type's
  // library file is missing, which is named in a message.
  BOOL OnNewDocument() override;
  // Loads an .AAD file. A file that cannot be opened or read is named in a
  // message and leaves the document as it was.
  BOOL OnOpenDocument(const char* pathName) override;
  // Stores the study into an .AAD file, replacing the old one only once the
  // new one is complete. A failure is named in a message; the document then
  // stays modified.
  BOOL OnSaveDocument(const char* pathName) override;

  // Analysis > CalcChi2: the chi-square statistics and permutation P values,
  // under the progress dialog; a Cancel keeps the permutations completed.
  void OnCalcChi2();

  AssociationData m_Data;
  // kStatusAnalysis exactly when m_Data holds genotype calls.
  std::string m_strStatus = kStatusClean;
  CCytoband m_Cytoband;

  // The settings and tables the study was made with.
  [[nodiscard]] const CGlobalData& Global() const { return *m_pGlobal; }

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  const CGlobalData* m_pGlobal;
};
