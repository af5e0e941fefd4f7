#include "document/SampleFilter.h"

#include "platform/Paths.h"
#include "platform/ui/Controls.h"

namespace qova::document {

namespace {

constexpr std::string SampleHeader::* kAttributeFields[kSampleAttributeCount] = {
    &SampleHeader::Attribute1, &SampleHeader::Attribute2, &SampleHeader::Attribute3, &SampleHeader::Attribute4,
    &SampleHeader::Attribute5};

std::size_t Index(int k) { return static_cast<std::size_t>(k); }

}  // namespace

std::string& AttributeOf(SampleHeader& header, int k) { return header.*kAttributeFields[Index(k)]; }
const std::string& AttributeOf(const SampleHeader& header, int k) { return header.*kAttributeFields[Index(k)]; }

std::optional<std::string> SelectedFilterValue(const CComboBox& combo) {
  const int selected = combo.GetCurSel();
  if (selected == CB_ERR) return std::nullopt;
  return combo.GetLBText(selected);
}

int SelectRememberedValue(CComboBox& combo, const std::string& remembered) {
  for (int i = 0; i < combo.GetCount(); ++i) {
    if (combo.GetLBText(i) == remembered) return combo.SetCurSel(i);
  }
  return combo.SelectString(-1, remembered);
}

bool NotAnalyzedFilter::IsDone(const std::string& resultPath) const {
  platform::FileStatus status;
  if (!platform::GetFileStatus(resultPath, status) || status.isFolder) return false;
  return !After || status.modificationTime > After->GetTime();
}

bool NotAnalyzedFilter::Keeps(const SampleHeader& header) const {
  const std::string stem = platform::JoinPath(ResultFolder, header.SampleName);
  if (!IsDone(stem + NonSelfExtension)) return true;
  return IsSelfAnalysable(header) && !IsDone(stem + ".CFS");
}

bool SampleFilter::Passes(const SampleHeader& header) const {
  if (From && header.CreateTime < *From) return false;
  if (To && header.CreateTime > *To) return false;
  if (ArrayType && header.ArrayType != *ArrayType) return false;
  if (RequireSelfReference && header.IsPaired == 0) return false;
  // A flag other than 0 and 1 is neither plain test nor plain reference: both
  // "Test" and "Ref" keep it.
  if (TestOrRef == Kind::Test && header.IsTest == 0) return false;
  if (TestOrRef == Kind::Reference && header.IsTest == 1) return false;
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    const auto& wanted = Attributes[Index(k)];
    if (wanted && AttributeOf(header, k) != *wanted) return false;
  }
  return !NotAnalyzed || NotAnalyzed->Keeps(header);
}

}  // namespace qova::document
