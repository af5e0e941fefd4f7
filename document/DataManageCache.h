#pragma once
// What the Sample Manager keeps from one opening to the next during a run of
// the program (never on disk): the headers of the last listing with the
// current set, the values seen in the array-type and attribute drop-downs,
// which only grow, and the filter choices of the last closing.
//
// Also the filter test that New and Add run over the cached headers.
#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/SampleHeader.h"
#include "platform/Time.h"
#include "platform/ui/WinTypes.h"

namespace qova {

inline constexpr int kSampleAttributeCount = 5;

// Attribute k (0..4) of a header.
[[nodiscard]] std::string& AttributeOf(SampleHeader& header, int k);
[[nodiscard]] const std::string& AttributeOf(const SampleHeader& header, int k);

// The remembered choices of the "Available Self-reference" and "Test or Ref"
// radios (0 until first remembered).
enum SelfReferenceChoice : int { kSelfReferenceYes = 1, kSelfReferenceYesAndNo = 2 };
enum TestOrRefChoice : int { kTestOrRefTest = 3, kTestOrRefRef = 4, kTestOrRefBoth = 5 };

struct SampleManagerCache {
  // The listing of the last opening, and which of its samples the list shows.
  std::vector<SampleHeader> Headers;
  std::vector<bool> InCurrentSet;
  // Distinct values in ascending byte order; never emptied during a run.
  std::set<std::string> ArrayTypes;
  std::array<std::set<std::string>, kSampleAttributeCount> AttributeValues;

  // Remembered filter state.
  SYSTEMTIME FromDate;
  SYSTEMTIME ToDate;
  bool UseFromDate = false;
  bool UseToDate = false;
  bool UseArrayType = false;
  bool UseSelfReference = false;
  bool UseTestOrRef = false;
  std::array<bool, kSampleAttributeCount> UseAttribute{};
  int SelfReferenceChoice = 0;
  int TestOrRefChoice = 0;
  std::string ArrayTypeChoice;
  std::array<std::string, kSampleAttributeCount> AttributeChoice;

  bool FirstOpening = true;

  // Forgets the listing (the value sets and the filter state stay).
  void ClearListing();
  // Appends a listed sample, in the current set, and adds its values to the sets.
  void AddListed(const SampleHeader& header);

  // The one cache of this run of the program.
  static SampleManagerCache& OfRun();
  // Back to the state at program start (tests stand for separate runs).
  static void Reset();
};

// The filters that are switched on; New and Add keep a header when it passes
// all of them.
struct SampleFilter {
  enum class Kind { Any, Test, Reference };

  std::optional<CTime> From;  // CreateTime >= From
  std::optional<CTime> To;    // CreateTime <= To
  std::optional<std::string> ArrayType;
  bool RequireSelfReference = false;
  Kind TestOrRef = Kind::Any;
  std::array<std::optional<std::string>, kSampleAttributeCount> Attributes;

  [[nodiscard]] bool Passes(const SampleHeader& header) const;
};

}  // namespace qova
