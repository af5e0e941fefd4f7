#include "arrayfiles/unified/UnifiedCELData.h"

#include <new>

#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/unified/GenericCELDataAdapter.h"
#include "arrayfiles/unified/LegacyCELDataAdapter.h"

namespace unified_io {

UnifiedCELData::~UnifiedCELData() {
  if (adapter_) adapter_->Clear();
}

void UnifiedCELData::ThrowFileNotOpenException() { throw generic_exceptions::FileNotOpenException(); }

IUnifiedCELDataAdapter& UnifiedCELData::Adapter() {
  if (!adapter_) ThrowFileNotOpenException();
  return *adapter_;
}

void UnifiedCELData::CreateAdapter() {
  adapter_.reset();
  refusal_.clear();
  try {
    std::unique_ptr<IUnifiedCELDataAdapter> candidate = std::make_unique<GenericCELDataAdapter>();
    candidate->SetFileName(fileName_);
    if (!candidate->CanReadFile()) {
      candidate = std::make_unique<LegacyCELDataAdapter>();
      candidate->SetFileName(fileName_);
      if (!candidate->CanReadFile()) {
        refusal_ = candidate->GetError();
        candidate.reset();
      }
    }
    adapter_ = std::move(candidate);
  } catch (const std::bad_alloc&) {
    adapter_.reset();
  }
  if (!adapter_) throw generic_exceptions::UnableToOpenFileException();
}

bool UnifiedCELData::Read(bool includeMaskAndOutliers) {
  CreateAdapter();
  return adapter_->Read(includeMaskAndOutliers);
}

bool UnifiedCELData::ReadHeader() {
  CreateAdapter();
  return adapter_->ReadHeader();
}

}  // namespace unified_io
