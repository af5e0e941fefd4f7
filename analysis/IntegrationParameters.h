#pragma once
// The dialog that chooses what an integration sums over the samples: the
// mode, the fewest consecutive SNPs of a segment, the sample order and the
// figure's title; or, when an integration exists, "Add current set", which
// adds the current samples to it under its own mode.
#include <cstdint>
#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

class CIntegrationParameters : public CDialog {
  DECLARE_DYNAMIC(CIntegrationParameters)

 public:
  // Range of "Number of continuous SNPs" and its value on opening.
  static constexpr int kFewestRunSnps = 2;
  static constexpr int kMostRunSnps = 15;
  static constexpr int kDefaultRunSnps = 5;

  explicit CIntegrationParameters(CWnd* parent = nullptr);

  // Set by the caller before DoModal.
  // Offers "LOH" and "Allelic Imbalance(LOH+CN)", which read the results'
  // LOH likelihood.
  bool HasLohLikelihood = true;
  bool IntegrationExists = false;  // "Add current set" can be chosen
  // Shown on opening and handed back on OK.
  std::string Order = "ID";  // "ID" or "Amount"
  std::string Title;
  // Handed back on OK.
  bool AddCurrentSet = false;  // then only Order and Title are new
  std::string Mode;            // "AddDel" ... "UserMarker<n>"
  std::int32_t MinRun = kDefaultRunSnps;

  CComboBox m_markerNumber;
  CSpinButtonCtrl m_runUpDown;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnAddCurrentSet();

  DECLARE_MESSAGE_MAP()

 private:
  // Enables what "Add current set" leaves to choose.
  void EnableChoices();
  // The run length the edit shows, held in range; the up-down's when the
  // edit holds no number.
  [[nodiscard]] std::int32_t RunLength() const;
};
