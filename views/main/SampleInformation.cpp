#include "views/main/SampleInformation.h"

#include <optional>

#include "core/AnalyzedData.h"
#include "core/BasicData.h"
#include "platform/Strings.h"
#include "platform/ui/Backend.h"
#include "resources/ShownSampleDialogs.h"

namespace res = qova::resources;

namespace qova::views::main {

namespace {

// The label of every reference line after the first.
constexpr const char* kFollowingReferenceLabel = "              ";

struct AnnotatedSlot {
  std::int32_t chromosome = 0;
  std::int32_t position = 0;
};

// Where slot `slot` lies by the annotation; nothing for a slot or a row the
// table does not hold (a header from another type, a table not loaded).
std::optional<AnnotatedSlot> Locate(const CBasicData& basic, std::int32_t slot, bool throughSortMap) {
  const auto inside = [](const std::vector<std::int32_t>& v, std::int32_t i) {
    return i >= 0 && std::size_t(i) < v.size();
  };
  std::int32_t index = slot;
  if (throughSortMap) {
    if (!inside(basic.SortMap, index)) return std::nullopt;
    index = basic.SortMap[std::size_t(index)];
  }
  if (!inside(basic.IndexMap, index)) return std::nullopt;
  const std::int32_t row = basic.IndexMap[std::size_t(index)];
  if (!inside(basic.Chromosome, row) || !inside(basic.Position, row)) return std::nullopt;
  return AnnotatedSlot{basic.Chromosome[std::size_t(row)], basic.Position[std::size_t(row)]};
}

std::string BaseRangeLocation(const CAnalyzedData& analyzed, const CBasicData* basic,
                              const std::array<std::int32_t, 4>& range) {
  const bool throughSortMap = !analyzed.IsSelf && analyzed.Header.Combined;
  const std::optional<AnnotatedSlot> first =
      basic ? Locate(*basic, range[kBaseFirstSnp], throughSortMap) : std::nullopt;
  const std::optional<AnnotatedSlot> last = basic ? Locate(*basic, range[kBaseLastSnp], throughSortMap) : std::nullopt;
  if (!first || !last || first->chromosome != last->chromosome || first->chromosome < 1 || first->chromosome > 23)
    return "\t(not set)\n";
  if (first->chromosome == 23) return platform::Format("\t(ch X: %d-%d)\n", first->position, last->position);
  return platform::Format("\t(ch %d: %d-%d)\n", first->chromosome, first->position, last->position);
}

}  // namespace

std::string SampleInformationReport(const CAnalyzedData& analyzed, const CBasicData* basic) {
  const SampleHeader& h = analyzed.Header;
  std::string text = platform::Format("Sample name\t%s\n", h.SampleName.c_str());
  text += platform::Format("Array type\t%s\n", h.ArrayType.c_str());
  text += platform::Format("Create time\t%s\n", h.CreateTime.Format("%Y/%m/%d").c_str());
  if (analyzed.IsSelf) {
    text += "Analysis type\tAllele specific analysis\n";
    text += platform::Format("reference name\t%s\n", h.SelfReference.c_str());
  } else {
    text += "Analysis type\tNon-self analysis\n";
    // The stored list alternates a score and a name: only the names are shown.
    const std::vector<std::string> names = NonSelfReferenceNames(h);
    for (std::size_t k = 0; k < names.size(); ++k)
      text += platform::Format("%s\t%s\n", k == 0 ? "reference name" : kFollowingReferenceLabel, names[k].c_str());
  }
  const std::string* attributes[] = {&h.Attribute1, &h.Attribute2, &h.Attribute3, &h.Attribute4, &h.Attribute5};
  for (int k = 0; k < 5; ++k) text += platform::Format("Attribute%d\t%s\n", k + 1, attributes[k]->c_str());
  text += platform::Format("Sex\t%s\n", h.Sex.c_str());
  const std::array<std::int32_t, 4>& range = analyzed.IsSelf ? h.SelfBaseRange : h.NonSelfBaseRange;
  text += platform::Format("Base Range\t%d-%d, N=%d\n", range[kBaseFirstSnp], range[kBaseLastSnp],
                           range[kBaseCopyNumber]);
  text += BaseRangeLocation(analyzed, basic, range);
  text += platform::Format("ploidy\t%f\n", double(analyzed.MeanState));
  text += platform::Format("SD\t%f\n", double(analyzed.SampleSD));
  return text;
}

}  // namespace qova::views::main

IMPLEMENT_DYNAMIC(CSampleInformation, CDialog)

BEGIN_MESSAGE_MAP(CSampleInformation, CDialog)
  ON_BN_CLICKED(res::kSampleInformationCopy, &CSampleInformation::OnCopy)
END_MESSAGE_MAP()

CSampleInformation::CSampleInformation(const CAnalyzedData* analyzed, const CBasicData* basic,
                                       const std::int32_t* chromosomeStarts, CWnd* parent)
    : CDialog(res::kSampleInformationDialog, parent),
      m_pAnalyzed(analyzed),
      m_pBasicData(basic),
      m_pChromosomeStarts(chromosomeStarts) {
  res::RegisterShownSampleDialogs();
}

BOOL CSampleInformation::OnInitDialog() {
  CDialog::OnInitDialog();
  if (m_pAnalyzed) SetDlgItemText(res::kSampleInformationText, qova::views::main::SampleInformationReport(*m_pAnalyzed, m_pBasicData));
  return TRUE;
}

void CSampleInformation::OnCopy() { (void)platform::ui::SetClipboardText(GetDlgItemText(res::kSampleInformationText)); }
