#pragma once
// What the Sample Manager keeps from one opening to the next during a run of
// the program (never on disk): the headers of the last listing with the
// current set, the values seen in the array-type and attribute drop-downs,
// which only grow, and the filter choices of the last closing.
#include <array>
#include <set>
#include <string>
#include <vector>

#include "core/SampleHeader.h"
#include "document/SampleListing.h"
#include "platform/ui/WinTypes.h"

namespace qova::document::samplemanager {

// The remembered choices of the "Available Self-reference" and "Test or Ref"
// radios (0 until first remembered).
enum SelfReferenceChoice : int { kSelfReferenceYes = 1, kSelfReferenceYesAndNo = 2 };
enum TestOrRefChoice : int { kTestOrRefTest = 3, kTestOrRefRef = 4, kTestOrRefBoth = 5 };

// The listing of the last opening, with the current set.
struct SampleManagerCache : SampleListing {
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

  // The one cache of this run of the program.
  static SampleManagerCache& OfRun();
  // Back to the state at program start (tests stand for separate runs).
  static void Reset();
};

}  // namespace qova::document::samplemanager
