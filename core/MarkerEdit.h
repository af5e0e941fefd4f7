#pragma once
// "Edit Marker": a sample's marker regions, one line each, to edit (through
// "Mark set") or delete. The dialog works on its own copy; the caller takes
// Markers back after IDOK.
#include <string>

#include "core/MarkSet.h"
#include "core/MarkerRegion.h"
#include "platform/ui/Dialog.h"

class CMarkerEdit : public CDialog {
  DECLARE_DYNAMIC(CMarkerEdit)

 public:
  // With `readOnly` the list is shown but OK, Edit and Delete are disabled.
  // `annotation` and `chromosomeStarts` must outlive the dialog.
  CMarkerEdit(const CBasicData* annotation, ChromosomeStartRow chromosomeStarts, BOOL readOnly, CWnd* parent,
              const MarkerRegionList& regions);

  MarkerRegionList Markers;

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override;
  void OnEdit();
  void OnDelete();

  DECLARE_MESSAGE_MAP()

 private:
  // The selected line when it names a region, else -1.
  [[nodiscard]] int SelectedRegion() const;

  const CBasicData* annotation_;
  ChromosomeStartRow chromosomeStarts_;
  BOOL readOnly_;
};

// The list line of a region: "Ch:1\t 400 - 500\tUser: 3" for a user marker,
// "Ch:1\t 400 - 500\tHMM : 3" for an HMM state.
[[nodiscard]] std::string MarkerLine(const MarkerRegion& region);
