#pragma once
// The state means of the hidden Markov models, edited as up-down positions of
// mean x 100: "HMM parameter" for the seven total copy-number states and
// "HMM parameters for Self Analysis" for the five allele states. The caller
// fills Means, runs the dialog and reads Means back after IDOK; nothing else
// is written. A mean whose position the user did not move comes back as it
// was; a moved one becomes its position / 100.
#include <array>
#include <span>

#include "platform/ui/Dialog.h"
#include "resources/ParameterDialogs.h"

// What one state's up-down offers: its range and its "Default" position.
struct HmmMeanLimits {
  int lowest;
  int highest;
  int defaultPosition;
};

// The part both means dialogs share.
class CHmmMeansDialog : public CDialog {
  DECLARE_DYNAMIC(CHmmMeansDialog)

 protected:
  CHmmMeansDialog(UINT templateId, std::span<const qova::resources::HmmMeanRow> rows,
                  std::span<const HmmMeanLimits> limits, std::span<float> means, CWnd* parent);

  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnDefault();
  void OnCurrentValue();

  DECLARE_MESSAGE_MAP()

 private:
  // Ranges, the positions of the caller's means and their values in the edits.
  void ShowMeans();

  std::span<const qova::resources::HmmMeanRow> rows_;
  std::span<const HmmMeanLimits> limits_;
  std::span<float> means_;
};

// The up-down position of a mean: mean x 100 rounded to the nearest step (so
// 0.29, which is 28.99... in binary, is 29), as a 16-bit number.
[[nodiscard]] int HmmMeanPosition(float mean);

class CHMMParameter : public CHmmMeansDialog {
  DECLARE_DYNAMIC(CHMMParameter)

 public:
  explicit CHMMParameter(CWnd* parent = nullptr);

  // The means of N=6 first down to N=0 last (log2-ratio units).
  std::array<float, 7> Means{};
};

class CHMMParametersSM : public CHmmMeansDialog {
  DECLARE_DYNAMIC(CHMMParametersSM)

 public:
  explicit CHMMParametersSM(CWnd* parent = nullptr);

  // The means of N=4 first down to N=0 last.
  std::array<float, 5> Means{};
};
