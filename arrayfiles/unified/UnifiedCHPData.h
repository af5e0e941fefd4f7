#pragma once
// The CHP reader registry: callers hand it a file name and get back an object
// that has read the file, whatever its form, or null.
//
// Registrations are tried last constructed first; a file's generic file-type
// id (empty for the legacy forms) picks the first registration that lists it,
// else the first that lists no ids at all. The one registration of the
// program, UnifiedCHPLegacyData's, lists the four generic CHP ids and the
// empty id, and reads every form through the generic adapter first and the
// legacy adapter second.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "arrayfiles/unified/IUnifiedCHPDataAdapter.h"
#include "arrayfiles/unified/UnifiedCHPResults.h"

namespace unified_io {

// Abstract base of every object the registry hands out.
class UnifiedCHPData {
 public:
  UnifiedCHPData() = default;
  virtual ~UnifiedCHPData() = default;
  UnifiedCHPData(const UnifiedCHPData&) = delete;
  UnifiedCHPData& operator=(const UnifiedCHPData&) = delete;

  [[nodiscard]] virtual bool Read() = 0;
  virtual bool ReadHeader() = 0;
  virtual std::string GetFileId() = 0;
  virtual generic_io::GenericData* GetGenericData() = 0;
  // Names the concrete class.
  [[nodiscard]] virtual std::string GetObjectName() const = 0;
  // Why the last read failed, where the readers say; empty otherwise.
  [[nodiscard]] virtual std::string GetError() const { return {}; }

  void SetFileName(const std::string& name) { fileName = name; }
  [[nodiscard]] const std::string& GetFileName() const { return fileName; }
  // The ids of the registration that made this object (empty when it was
  // chosen for listing none), and the id of the file it was made for.
  [[nodiscard]] const std::vector<std::string>& GetFileTypeIdentifiers() const { return fileTypeIdentifiers; }
  [[nodiscard]] const std::string& GetFileTypeIdentifier() const { return fileTypeIdentifier; }

 protected:
  friend class UnifiedCHPDataReg;

  std::string fileName;
  std::vector<std::string> fileTypeIdentifiers;
  std::string fileTypeIdentifier;
};

class UnifiedCHPDataReg {
 public:
  // Prepends this registration to the list, with no ids yet.
  UnifiedCHPDataReg();
  // Takes the registration out of the list, so that a registration that ends
  // before the program does leaves nothing dangling.
  virtual ~UnifiedCHPDataReg();
  UnifiedCHPDataReg(const UnifiedCHPDataReg&) = delete;
  UnifiedCHPDataReg& operator=(const UnifiedCHPDataReg&) = delete;

  // A new, empty object of the registered class.
  [[nodiscard]] virtual std::unique_ptr<UnifiedCHPData> MakeObject() const = 0;

  void SetFileTypeIds(const std::vector<std::string>& ids) { fileTypeIdentifiers = ids; }

  // The object that read `fileName`, or null: for a missing file, a file no
  // registration takes, and a file its object cannot read (the family's
  // exceptions of the read are caught and the half-made object deleted).
  [[nodiscard]] static std::unique_ptr<UnifiedCHPData> Read(const std::string& fileName);
  // The same, and for a null result why: the file is missing, no
  // registration takes it, or its reader's own reason with the place in the
  // file where it knows one.
  [[nodiscard]] static std::unique_ptr<UnifiedCHPData> Read(const std::string& fileName, std::string& reason);
  // The same, with `beforeRead` run on the object made for the file before
  // it reads it (to choose what it reads).
  [[nodiscard]] static std::unique_ptr<UnifiedCHPData> Read(const std::string& fileName, std::string& reason,
                                                            const std::function<void(UnifiedCHPData&)>& beforeRead);
  // False when the file does not exist; otherwise true, with `id` the file's
  // generic file-type id, or empty for a file not in the generic container.
  static bool ReadFileTypeId(const std::string& fileName, std::string& id);
  [[nodiscard]] static std::unique_ptr<UnifiedCHPData> CreateObjectForId(const std::string& id);

 private:
  static UnifiedCHPDataReg* head;
  UnifiedCHPDataReg* next = nullptr;
  std::vector<std::string> fileTypeIdentifiers;
};

// The header questions the rest of the program asks of a CHP object.
class UnifiedCHPHeader {
 public:
  explicit UnifiedCHPHeader(IUnifiedCHPDataAdapter* adapter = nullptr) : adapter(adapter) {}

  // FileNotOpenException without an adapter.
  std::u16string GetChipType();
  // Empty when the file has no such parameter.
  std::u16string GetSummaryParameter(const std::u16string& tag);

 private:
  IUnifiedCHPDataAdapter* adapter;
};

class UnifiedCHPLegacyData final : public UnifiedCHPData {
 public:
  static constexpr std::string_view kObjectName = "UnifiedCHPLegacyData";

  UnifiedCHPLegacyData() = default;
  ~UnifiedCHPLegacyData() override;

  // The object as this class when it is one (by its object name), else null.
  [[nodiscard]] static UnifiedCHPLegacyData* FromBase(UnifiedCHPData* data);

  // Chooses the adapter at the first read (UnableToOpenFileException when
  // none reads the file), then reads through it.
  bool Read() override;
  bool ReadHeader() override;
  std::string GetFileId() override;
  generic_io::GenericData* GetGenericData() override;
  [[nodiscard]] std::string GetObjectName() const override { return std::string(kObjectName); }
  // Why no adapter took the file (the generic adapter's reason for a file
  // that opens as a generic one, else the legacy adapter's), or why the
  // chosen adapter's read failed.
  [[nodiscard]] std::string GetError() const override;

  [[nodiscard]] UnifiedCHPHeader GetHeader() const { return UnifiedCHPHeader(adapter.get()); }
  bool GetGenotypingResults(int index, UnifiedGenotypeProbeSetResults& result);
  // Set before Read: only the genotype calls are wanted (see the adapters).
  void SetGenotypeCallsOnly(bool only) { callsOnly = only; }
  // The call code of every probe set; false for a file that is not genotyping.
  bool GetGenotypeCalls(std::vector<std::uint8_t>& calls) { return Adapter().GetGenotypeCalls(calls); }
  // FileNotOpenException when no adapter has been chosen.
  void CheckAdapter() const;
  // The adapter chosen; FileNotOpenException without one.
  IUnifiedCHPDataAdapter& Adapter();

  class Reg final : public UnifiedCHPDataReg {
   public:
    Reg();
    [[nodiscard]] std::unique_ptr<UnifiedCHPData> MakeObject() const override;
  };

 private:
  void CreateAdapter();

  std::unique_ptr<IUnifiedCHPDataAdapter> adapter;
  std::string refusal;
  bool callsOnly = false;
};

}  // namespace unified_io
