#pragma once
// What the settings pages share. A page describes its controls as rows of a
// few tables: fields bound to edits and check boxes (exchanged and range
// checked in row order), spin buttons that step a field by one within its
// limits, "color" buttons that open the colour dialog on their field, and the
// swatch frames that show a colour. The rows point into the data the page
// was constructed on, so the page reads and writes that data and nothing else.
#include <span>
#include <vector>

#include "core/DisplaySetting.h"
#include "platform/ui/PropertySheet.h"

class CDC;

class CSettingPage : public CPropertyPage {
  DECLARE_DYNAMIC(CSettingPage)
 public:
  explicit CSettingPage(UINT templateId);

 protected:
  // An integer edit; with limits, a value outside them is refused with the
  // framework's range message.
  void BindInt(UINT edit, int& field);
  void BindInt(UINT edit, int& field, int minValue, int maxValue);
  void BindFloat(UINT edit, float& field);
  void BindCheck(UINT box, int& field);
  // A drop-down list of `items` whose selection is the field: the page fills
  // the list when it opens. A value the list does not hold shows no choice
  // and stays as it was unless the user picks one.
  void BindList(UINT combo, int& field, std::span<const char* const> items);
  // On the spin's change request the controls go into the data (errors
  // ignored), the field steps by one toward the pressed arrow's end unless it
  // is there already, the page repaints when asked, and the data goes back
  // into the controls. The spin's own position does not move.
  void AddSpin(UINT spin, int& field, int minValue, int maxValue, bool repaint);
  // An edit with limits and the spin beside it.
  void BindSpinEdit(UINT edit, UINT spin, int& field, int minValue, int maxValue, bool repaint) {
    BindInt(edit, field, minValue, maxValue);
    AddSpin(spin, field, minValue, maxValue, repaint);
  }
  // A "color" button: the colour dialog opens on the field's colour; OK
  // stores the choice and repaints.
  void AddColorButton(UINT button, COLORREF& field);
  // Swatches, drawn into the frame control's rectangle: a filled rectangle,
  // or a line across the frame's middle of `width` / `widthDivisor` pixels
  // (1 without a width) in the pen style (solid without one).
  void AddFilledSwatch(UINT frame, const COLORREF& color);
  void AddLineSwatch(UINT frame, const COLORREF& color, const int* width, int widthDivisor = 1,
                     const int* penStyle = nullptr);

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void OnPaint() override;

  // Check boxes and radio buttons by id.
  [[nodiscard]] bool IsChecked(UINT id) const { return IsDlgButtonChecked(int(id)) == BST_CHECKED; }
  void SetChecked(UINT id, bool checked) { CheckDlgButton(int(id), checked ? BST_CHECKED : BST_UNCHECKED); }
  void Enable(UINT id, bool enabled);

 private:
  enum class FieldKind { Int, CheckedInt, Float, Check, List };
  struct Field {
    FieldKind kind;
    UINT id;
    void* field;
    int minValue, maxValue;
    std::span<const char* const> items;
  };
  struct Spin {
    UINT id;
    int* field;
    int minValue, maxValue;
    bool repaint;
  };
  struct ColorButton {
    UINT id;
    COLORREF* field;
  };
  struct Swatch {
    UINT frame;
    const COLORREF* color;
    bool filled;
    const int* width;
    int widthDivisor;
    const int* penStyle;
  };

  void ExchangeList(CDataExchange* pDX, const Field& list);
  void StepSpin(const Spin& spin, int delta);
  void ChooseColor(COLORREF& field);
  void DrawSwatch(CDC& dc, const Swatch& swatch);

  std::vector<Field> fields_;
  std::vector<Spin> spins_;
  std::vector<ColorButton> colorButtons_;
  std::vector<Swatch> swatches_;
};
