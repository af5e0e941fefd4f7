#include "document/samplemanager/DataManageCache.h"

namespace qova::document::samplemanager {

SampleManagerCache& SampleManagerCache::OfRun() {
  static SampleManagerCache cache;
  return cache;
}

void SampleManagerCache::Reset() { OfRun() = SampleManagerCache{}; }

}  // namespace qova::document::samplemanager
