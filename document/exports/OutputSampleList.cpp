#include "document/exports/OutputSampleList.h"

#include <iterator>
#include <string>

#include "core/AnalyzedData.h"
#include "document/exports/TextExport.h"
#include "platform/ui/DataExchange.h"
#include "resources/ExportDialogs.h"

namespace res = qova::resources;

IMPLEMENT_DYNAMIC(COutputSampleList, CDialog)

namespace {

using Row = qova::document::exports::SampleListRow;
using qova::document::exports::TextExport;

const SampleHeader& SharedHeader(const Row& row) {
  static const SampleHeader empty;
  if (row.Self) return row.Self->Header;
  if (row.NonSelf) return row.NonSelf->Header;
  return empty;
}

void BaseRange(const CAnalyzedData* sample, const std::array<std::int32_t, 4> SampleHeader::*range, TextExport& out) {
  if (!sample) {
    out.Text("NotAnalyzed");
    return;
  }
  const auto& r = sample->Header.*range;
  // The baseline mode (r[2]) is not listed.
  out.Int(r[0]).Text("-").Int(r[1]).Text(", N=").Int(r[3]);
}

void Value(const CAnalyzedData* sample, float CAnalyzedData::*value, TextExport& out) {
  if (sample) out.Fixed(sample->*value);
}

void YesNo(bool yes, TextExport& out) { out.Text(yes ? "Y" : "N"); }

struct Column {
  int COutputSampleList::*chosen;
  unsigned id;
  const char* header;  // without the tab that comes before every cell but the first
  void (*cell)(const Row& row, TextExport& out);
};

const Column kColumns[] = {
    {&COutputSampleList::SampleName, res::kListSampleName, "Sample_name", [](const Row& r, TextExport& o) { o.Text(r.Name); }},
    {&COutputSampleList::ArrayType, res::kListArrayType, "Array_type",
     [](const Row& r, TextExport& o) { o.Text(SharedHeader(r).ArrayType); }},
    {&COutputSampleList::CreateTime, res::kListCreateTime, "Create_time",
     [](const Row& r, TextExport& o) { o.Text(SharedHeader(r).CreateTime.Format("%Y%m%d")); }},
    {&COutputSampleList::Self, res::kListSelf, "self(Y/N)", [](const Row& r, TextExport& o) { YesNo(r.Self, o); }},
    {&COutputSampleList::SelfReferenceName, res::kListSelfReferenceName, "Self-reference name",
     [](const Row& r, TextExport& o) {
       if (r.Self) o.Text(r.Self->Header.SelfReference);
     }},
    {&COutputSampleList::NonSelf, res::kListNonSelf, "non-self(Y/N)", [](const Row& r, TextExport& o) { YesNo(r.NonSelf, o); }},
    {&COutputSampleList::Attribute1, res::kListAttribute1, "Attribute1",
     [](const Row& r, TextExport& o) { o.Text(SharedHeader(r).Attribute1); }},
    {&COutputSampleList::Attribute2, res::kListAttribute1 + 1, "Attribute2",
     [](const Row& r, TextExport& o) { o.Text(SharedHeader(r).Attribute2); }},
    {&COutputSampleList::Attribute3, res::kListAttribute1 + 2, "Attribute3",
     [](const Row& r, TextExport& o) { o.Text(SharedHeader(r).Attribute3); }},
    {&COutputSampleList::Attribute4, res::kListAttribute1 + 3, "Attribute4",
     [](const Row& r, TextExport& o) { o.Text(SharedHeader(r).Attribute4); }},
    {&COutputSampleList::Attribute5, res::kListAttribute1 + 4, "Attribute5",
     [](const Row& r, TextExport& o) { o.Text(SharedHeader(r).Attribute5); }},
    {&COutputSampleList::Sex, res::kListSex, "Sex", [](const Row& r, TextExport& o) { o.Text(SharedHeader(r).Sex); }},
    {&COutputSampleList::SelfDiploid, res::kListSelfDiploid, "self_diploid",
     [](const Row& r, TextExport& o) { BaseRange(r.Self, &SampleHeader::SelfBaseRange, o); }},
    {&COutputSampleList::NonSelfDiploid, res::kListNonSelfDiploid, "non-self_diploid",
     [](const Row& r, TextExport& o) { BaseRange(r.NonSelf, &SampleHeader::NonSelfBaseRange, o); }},
    {&COutputSampleList::SelfPloidy, res::kListSelfPloidy, "self_ploidy",
     [](const Row& r, TextExport& o) { Value(r.Self, &CAnalyzedData::MeanState, o); }},
    {&COutputSampleList::SelfSd, res::kListSelfSd, "self_SD",
     [](const Row& r, TextExport& o) { Value(r.Self, &CAnalyzedData::SampleSD, o); }},
    {&COutputSampleList::NonSelfPloidy, res::kListNonSelfPloidy, "non-self_ploidy",
     [](const Row& r, TextExport& o) { Value(r.NonSelf, &CAnalyzedData::MeanState, o); }},
    {&COutputSampleList::NonSelfSd, res::kListNonSelfSd, "non-self_SD",
     [](const Row& r, TextExport& o) { Value(r.NonSelf, &CAnalyzedData::SampleSD, o); }},
    {&COutputSampleList::ArrayData, res::kListArrayData, "ArrayData(Y/N)",
     [](const Row& r, TextExport& o) { YesNo(r.HasArrayData, o); }},
};

}  // namespace

COutputSampleList::COutputSampleList(CWnd* parent) : CDialog(res::kOutputSampleListDialog, parent) {
  res::RegisterExportDialogs();
}

bool COutputSampleList::NeedsWholeSamples() const {
  return SelfPloidy != 0 || SelfSd != 0 || NonSelfPloidy != 0 || NonSelfSd != 0;
}

void COutputSampleList::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  for (const Column& column : kColumns) DDX_Check(pDX, static_cast<int>(column.id), this->*column.chosen);
}

namespace qova::document::exports {

void WriteSampleListHeader(const COutputSampleList& columns, TextExport& out) {
  bool first = true;
  for (const Column& column : kColumns) {
    if (!(columns.*column.chosen)) continue;
    if (!first) out.Tab();
    out.Text(column.header);
    first = false;
  }
  out.EndLine();
}

void WriteSampleListRow(const COutputSampleList& columns, const SampleListRow& row, TextExport& out) {
  bool first = true;
  for (const Column& column : kColumns) {
    if (!(columns.*column.chosen)) continue;
    if (!first) out.Tab();
    column.cell(row, out);
    first = false;
  }
  out.EndLine();
}

}  // namespace qova::document::exports
