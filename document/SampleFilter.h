#pragma once
// The filters of the sample lists (Sample Manager, batch analysis, Display
// Samples): which extracted samples a list keeps by their header fields and,
// for the batch, by whether their results are already written.
#include <array>
#include <optional>
#include <string>

#include "core/SampleHeader.h"
#include "platform/Time.h"

class CComboBox;

namespace qova::document {

inline constexpr int kSampleAttributeCount = 5;

// Attribute k (0..4) of a header.
[[nodiscard]] std::string& AttributeOf(SampleHeader& header, int k);
[[nodiscard]] const std::string& AttributeOf(const SampleHeader& header, int k);

// The value a drop-down filter compares with: its selected entry (text typed
// into an editable box is not used), or nothing without a selection.
[[nodiscard]] std::optional<std::string> SelectedFilterValue(const CComboBox& combo);
// Selects a drop-down's remembered value again: the entry equal to it (case
// counts), else the first that begins with it ignoring case, else none.
int SelectRememberedValue(CComboBox& combo, const std::string& remembered);

// "Not analyzed": a sample is done when its non-self result is done and, if it
// has a self reference, its self result is done too. A result is done when its
// file exists and, with an After date, was last written later than that date.
struct NotAnalyzedFilter {
  std::string ResultFolder;                 // with its trailing separator
  std::string NonSelfExtension = ".CFN";    // ".CFA" with the allele-specific switch
  std::optional<CTime> After;

  [[nodiscard]] bool IsDone(const std::string& resultPath) const;
  [[nodiscard]] bool Keeps(const SampleHeader& header) const;
};

// The filters that are switched on; a list keeps a header when it passes all
// of them. A drop-down filter whose value is unset filters nothing.
struct SampleFilter {
  enum class Kind { Any, Test, Reference };

  std::optional<CTime> From;  // CreateTime >= From
  std::optional<CTime> To;    // CreateTime <= To
  std::optional<std::string> ArrayType;
  bool RequireSelfReference = false;
  Kind TestOrRef = Kind::Any;
  std::array<std::optional<std::string>, kSampleAttributeCount> Attributes;
  std::optional<NotAnalyzedFilter> NotAnalyzed;

  [[nodiscard]] bool Passes(const SampleHeader& header) const;
};

}  // namespace qova::document
