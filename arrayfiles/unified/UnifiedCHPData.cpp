#include "arrayfiles/unified/UnifiedCHPData.h"

#include <fstream>

#include "arrayfiles/chp/CHPData.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/GenericFileReader.h"
#include "arrayfiles/unified/GenericCHPDataAdapter.h"
#include "arrayfiles/unified/LegacyCHPDataAdapter.h"
#include "arrayfiles/generic/FileHeader.h"
#include "platform/Paths.h"

namespace unified_io {

UnifiedCHPDataReg* UnifiedCHPDataReg::head = nullptr;

// The program's one registration. It lives in this file so that every
// program that reads through the registry links it.
static const UnifiedCHPLegacyData::Reg legacyDataRegistration;

UnifiedCHPDataReg::UnifiedCHPDataReg() : next(head) { head = this; }

UnifiedCHPDataReg::~UnifiedCHPDataReg() {
  for (UnifiedCHPDataReg** link = &head; *link != nullptr; link = &(*link)->next) {
    if (*link == this) {
      *link = next;
      break;
    }
  }
}

std::unique_ptr<UnifiedCHPData> UnifiedCHPDataReg::Read(const std::string& fileName) {
  std::string reason;
  return Read(fileName, reason);
}

std::unique_ptr<UnifiedCHPData> UnifiedCHPDataReg::Read(const std::string& fileName, std::string& reason) {
  return Read(fileName, reason, {});
}

std::unique_ptr<UnifiedCHPData> UnifiedCHPDataReg::Read(const std::string& fileName, std::string& reason,
                                                        const std::function<void(UnifiedCHPData&)>& beforeRead) {
  reason.clear();
  std::string id;
  if (!ReadFileTypeId(fileName, id)) {
    reason = "the file does not exist";
    return nullptr;
  }
  std::unique_ptr<UnifiedCHPData> data = CreateObjectForId(id);
  if (!data) {
    reason = "no CHP reader takes files of the type \"" + id + "\"";
    return nullptr;
  }
  data->fileName = fileName;
  if (beforeRead) beforeRead(*data);
  try {
    if (data->Read()) return data;
  } catch (const generic_exceptions::GenericException&) {
    // A file no adapter reads is no file of ours; the caller goes on with the next.
  }
  reason = data->GetError();
  return nullptr;
}

bool UnifiedCHPDataReg::ReadFileTypeId(const std::string& fileName, std::string& id) {
  platform::FileStatus status;
  if (!platform::GetFileStatus(fileName, status)) return false;
  try {
    generic_io::GenericData data;
    generic_io::GenericFileReader reader;
    reader.SetFilename(fileName);
    reader.ReadHeader(data, generic_io::AllHeaders);
    id = data.Header().genericHeader.fileTypeId;
  } catch (...) {
    id.clear();
  }
  return true;
}

std::unique_ptr<UnifiedCHPData> UnifiedCHPDataReg::CreateObjectForId(const std::string& id) {
  for (const UnifiedCHPDataReg* reg = head; reg != nullptr; reg = reg->next) {
    for (const std::string& listed : reg->fileTypeIdentifiers) {
      if (listed != id) continue;
      std::unique_ptr<UnifiedCHPData> data = reg->MakeObject();
      data->fileTypeIdentifiers = reg->fileTypeIdentifiers;
      data->fileTypeIdentifier = id;
      return data;
    }
  }
  for (const UnifiedCHPDataReg* reg = head; reg != nullptr; reg = reg->next) {
    if (!reg->fileTypeIdentifiers.empty()) continue;
    std::unique_ptr<UnifiedCHPData> data = reg->MakeObject();
    data->fileTypeIdentifier = id;
    return data;
  }
  return nullptr;
}

std::u16string UnifiedCHPHeader::GetChipType() {
  if (adapter == nullptr) throw generic_exceptions::FileNotOpenException();
  return adapter->GetHeader()->GetChipType();
}

std::u16string UnifiedCHPHeader::GetSummaryParameter(const std::u16string& tag) {
  if (adapter == nullptr) throw generic_exceptions::FileNotOpenException();
  return adapter->GetHeader()->GetSummaryParameter(tag);
}

UnifiedCHPLegacyData::~UnifiedCHPLegacyData() = default;

UnifiedCHPLegacyData* UnifiedCHPLegacyData::FromBase(UnifiedCHPData* data) {
  if (data == nullptr || data->GetObjectName() != kObjectName) return nullptr;
  return static_cast<UnifiedCHPLegacyData*>(data);
}

namespace {

// Whether the file begins as a generic one does: its reader then knows best
// what is wrong with it.
bool OpensAsGeneric(const std::string& fileName) {
  std::ifstream in(platform::NativePath(fileName), std::ios::binary);
  char first = 0;
  return in.get(first) && static_cast<std::uint8_t>(first) == generic_io::kGenericFileMagic;
}

}  // namespace

void UnifiedCHPLegacyData::CreateAdapter() {
  if (adapter) return;
  refusal.clear();
  std::unique_ptr<IUnifiedCHPDataAdapter> candidate = std::make_unique<GenericCHPDataAdapter>();
  candidate->SetFileName(fileName);
  if (!candidate->CanReadFile()) {
    const std::string genericReason = candidate->GetError();
    candidate = std::make_unique<LegacyCHPDataAdapter>();
    candidate->SetFileName(fileName);
    if (!candidate->CanReadFile()) {
      refusal = OpensAsGeneric(fileName) ? genericReason : candidate->GetError();
      throw generic_exceptions::UnableToOpenFileException();
    }
  }
  adapter = std::move(candidate);
}

std::string UnifiedCHPLegacyData::GetError() const {
  if (!refusal.empty() || !adapter) return refusal;
  return adapter->GetError();
}

bool UnifiedCHPLegacyData::Read() {
  CreateAdapter();
  adapter->SetGenotypeCallsOnly(callsOnly);
  adapter->SetFileName(fileName);
  return adapter->Read();
}

bool UnifiedCHPLegacyData::ReadHeader() {
  CreateAdapter();
  adapter->SetFileName(fileName);
  return adapter->ReadHeader();
}

void UnifiedCHPLegacyData::CheckAdapter() const {
  if (!adapter) throw generic_exceptions::FileNotOpenException();
}

IUnifiedCHPDataAdapter& UnifiedCHPLegacyData::Adapter() {
  CheckAdapter();
  return *adapter;
}

std::string UnifiedCHPLegacyData::GetFileId() { return Adapter().GetFileId(); }

generic_io::GenericData* UnifiedCHPLegacyData::GetGenericData() { return Adapter().GetGenericData(); }

bool UnifiedCHPLegacyData::GetGenotypingResults(int index, UnifiedGenotypeProbeSetResults& result) {
  return Adapter().GetGenotypingResults(index, result);
}

UnifiedCHPLegacyData::Reg::Reg() {
  SetFileTypeIds({std::string(generic_io::kExpressionChpType), std::string(generic_io::kResequencingChpType),
                  std::string(generic_io::kGenotypingChpType), std::string(generic_io::kUniversalChpType),
                  std::string()});
}

std::unique_ptr<UnifiedCHPData> UnifiedCHPLegacyData::Reg::MakeObject() const {
  return std::make_unique<UnifiedCHPLegacyData>();
}

}  // namespace unified_io
