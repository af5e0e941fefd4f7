#include "document/exports/OutputRawData.h"

#include "platform/ui/DataExchange.h"
#include "resources/ExportDialogs.h"

namespace res = qova::resources;
namespace exports = qova::document::exports;

IMPLEMENT_DYNAMIC(COutputRawData, CDialog)

namespace {

struct ColumnBox {
  int COutputRawData::*chosen;
  unsigned id;
};

// In the order of exports::RawColumn.
constexpr ColumnBox kBoxes[exports::kRawColumnCount] = {
    {&COutputRawData::Id, res::kRawId},
    {&COutputRawData::VendorSnpId, res::kRawVendorSnpId},
    {&COutputRawData::RsId, res::kRawRsId},
    {&COutputRawData::Chromosome, res::kRawChromosome},
    {&COutputRawData::Position, res::kRawPosition},
    {&COutputRawData::LogRatio, res::kRawLogRatio},
    {&COutputRawData::LogRatioA, res::kRawLogRatioA},
    {&COutputRawData::LogRatioB, res::kRawLogRatioB},
    {&COutputRawData::StateAB, res::kRawState},
    {&COutputRawData::StateA, res::kRawStateA},
    {&COutputRawData::StateB, res::kRawStateB},
    {&COutputRawData::CallTest, res::kRawCallTest},
    {&COutputRawData::CallReference, res::kRawCallReference},
    {&COutputRawData::LohLikelihood, res::kRawLohLikelihood},
};

// The boxes enabled by the allele flag, then the LOH likelihood's, which stays enabled.
constexpr unsigned kAlleleBoxIds[6] = {res::kRawLogRatioA, res::kRawLogRatioB,       res::kRawStateA,
                                       res::kRawStateB,    res::kRawCallReference, res::kRawLohLikelihood};

}  // namespace

COutputRawData::COutputRawData(BOOL allele, CWnd* parent)
    : CDialog(res::kOutputRawDataDialog, parent),
      m_bAllele(allele),
      LogRatioA(allele),
      LogRatioB(allele),
      StateA(allele),
      StateB(allele),
      CallReference(allele),
      LohLikelihood(!allele) {
  res::RegisterExportDialogs();
}

exports::RawColumnSet COutputRawData::Columns() const {
  exports::RawColumnSet columns{};
  for (std::size_t c = 0; c < columns.size(); ++c) columns[c] = this->*kBoxes[c].chosen != 0;
  return columns;
}

void COutputRawData::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  for (std::size_t k = 0; k < m_alleleBoxes.size(); ++k) DDX_Control(pDX, static_cast<int>(kAlleleBoxIds[k]), m_alleleBoxes[k]);
  for (const ColumnBox& box : kBoxes) DDX_Check(pDX, static_cast<int>(box.id), this->*box.chosen);
  DDX_Check(pDX, static_cast<int>(res::kRawCombined), Combined);
}

BOOL COutputRawData::OnInitDialog() {
  CDialog::OnInitDialog();
  for (std::size_t k = 0; k + 1 < m_alleleBoxes.size(); ++k) m_alleleBoxes[k].EnableWindow(m_bAllele);
  return TRUE;
}
