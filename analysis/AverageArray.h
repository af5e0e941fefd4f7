#pragma once
// "Average Arrays": the stored samples of one array type to average into a
// new sample, the sample whose header the new one takes, and its name. The
// dialog lists the extracted samples (.CFH) of the array-data folder by their
// headers; the caller builds the new sample from the members after IDOK.
#include <functional>
#include <string>
#include <vector>

#include "core/SampleHeader.h"
#include "platform/ui/Dialog.h"

class CAverageArray : public CDialog {
  DECLARE_DYNAMIC(CAverageArray)

 public:
  // `arrayDataFolder` holds the extracted samples.
  explicit CAverageArray(std::string arrayDataFolder, CWnd* parent = nullptr);

  std::string ArrayType;                     // the type whose samples are listed
  // After IDOK:
  std::vector<std::string> SelectedSamples;  // in list order
  std::string HeaderSample;
  std::string NewName;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnArrayTypeChange();

  DECLARE_MESSAGE_MAP()

 private:
  // Calls `take` with the header of every sample of the folder in file-search
  // order; a file that cannot be read is left out with a line in the error
  // log. Shows "error" and returns false when the folder holds no sample file.
  bool ForEachSampleHeader(const std::function<void(const SampleHeader&)>& take) const;

  std::string arrayDataFolder_;
  std::string listedType_;  // the type whose samples the lists hold
};
