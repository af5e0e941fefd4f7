#include "document/DataManageCache.h"

namespace qova {

namespace {

constexpr std::string SampleHeader::* kAttributeFields[kSampleAttributeCount] = {
    &SampleHeader::Attribute1, &SampleHeader::Attribute2, &SampleHeader::Attribute3, &SampleHeader::Attribute4,
    &SampleHeader::Attribute5};

std::size_t Index(int k) { return static_cast<std::size_t>(k); }

}  // namespace

std::string& AttributeOf(SampleHeader& header, int k) { return header.*kAttributeFields[Index(k)]; }
const std::string& AttributeOf(const SampleHeader& header, int k) { return header.*kAttributeFields[Index(k)]; }

void SampleManagerCache::ClearListing() {
  Headers.clear();
  InCurrentSet.clear();
}

void SampleManagerCache::AddListed(const SampleHeader& header) {
  Headers.push_back(header);
  InCurrentSet.push_back(true);
  ArrayTypes.insert(header.ArrayType);
  for (int k = 0; k < kSampleAttributeCount; ++k) AttributeValues[Index(k)].insert(AttributeOf(header, k));
}

SampleManagerCache& SampleManagerCache::OfRun() {
  static SampleManagerCache cache;
  return cache;
}

void SampleManagerCache::Reset() { OfRun() = SampleManagerCache{}; }

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
  return true;
}

}  // namespace qova
