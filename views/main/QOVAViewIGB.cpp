// Data > Output IGB Files: the shown sample as score-graph (.sgr) text files
// that a genome browser loads as tracks, one "sequence<TAB>position<TAB>score"
// line per SNP, chromosome by chromosome in slot order. A score that is not a
// finite number (2 raised to a large LOH likelihood overflows a float, and an
// excluded SNP may hold anything) is left out of its file rather than written
// as text no browser reads, and the count left out is reported once.
#include <cmath>
#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "core/BasicData.h"
#include "document/QOVADoc.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "views/main/OutputIGBFiles.h"
#include "views/main/QOVAView.h"

namespace {

// The last chromosome the HMM file takes: its X states are not written.
constexpr int kLastHmmChromosome = 22;

struct ScoreFile {
  bool chosen = false;
  std::string name;
  std::string text;
  int leftOut = 0;
};

std::string SequenceName(int chromosome) {
  return chromosome == 23 ? std::string("chrX") : "chr" + std::to_string(chromosome);
}

// The score of a slot as the file takes it; NaN where the array has no entry.
float Score(std::span<const float> values, int slot, bool log2) {
  if (slot < 0 || std::size_t(slot) >= values.size()) return NAN;
  const float value = values[std::size_t(slot)];
  return log2 ? value : std::pow(2.0f, value);
}

void AddScoreLine(ScoreFile& file, const std::string& sequence, int position, float score) {
  if (!std::isfinite(score)) {
    ++file.leftOut;
    return;
  }
  file.text += platform::Format("%s\t%d\t%f\n", sequence.c_str(), position, double(score));
}

}  // namespace

void CQOVAView::OnDataOutputIgbFiles() {
  const CQOVADoc* doc = GetDocument();
  if (!doc || !m_bDataShown || !m_pBasicData || (m_nViewFlags & (VIEW_MULTIPLE | VIEW_INTEGRATE))) return;
  COutputIGBFiles dialog(m_pAnalyzed->Header.SampleName, (m_nViewFlags & VIEW_SELF_REFERENCE) ? TRUE : FALSE,
                         doc->OutputFolder);
  if (dialog.DoModal() != IDOK) return;

  ScoreFile copyNumber{dialog.m_bCopyNumber != 0, dialog.m_strCopyNumberFile, {}, 0};
  ScoreFile loh{dialog.m_bLoh != 0, dialog.m_strLohFile, {}, 0};
  ScoreFile hmm{dialog.m_bHmm != 0, dialog.m_strHmmFile, {}, 0};
  const std::span<const float> logRatio(m_pAnalyzed->LogRatio.data(), m_pAnalyzed->LogRatio.size());
  const std::vector<std::int32_t>& positions = m_pBasicData->Position;
  for (int c = 1; c <= 23; ++c) {
    const std::string sequence = SequenceName(c);
    for (int s = m_pChromosomeStarts[c]; s < m_pChromosomeStarts[c + 1]; ++s) {
      const bool valid = std::size_t(s) < m_pValidFlag.size() && m_pValidFlag[std::size_t(s)] != 0;
      if (dialog.m_bSkipExcluded && !valid) continue;
      const std::int32_t row = RowOf(s);
      const int position = row >= 0 && std::size_t(row) < positions.size() ? positions[std::size_t(row)] : 0;
      if (copyNumber.chosen) AddScoreLine(copyNumber, sequence, position, Score(logRatio, s, dialog.m_bCopyNumberLog2));
      if (loh.chosen) AddScoreLine(loh, sequence, position, Score(m_pLohLikelihood, s, dialog.m_bLohLog2));
      if (hmm.chosen && c <= kLastHmmChromosome && std::size_t(s) < m_pCopyNumberState.size())
        hmm.text += platform::Format("%s\t%d\t%d\n", sequence.c_str(), position, m_pCopyNumberState[std::size_t(s)]);
    }
  }

  std::string leftOut;
  for (const ScoreFile* file : {&copyNumber, &loh, &hmm}) {
    if (!file->chosen) continue;
    const std::string path = dialog.FilePath(file->name);
    std::string why;
    // An empty name, which the dialog refuses, has no reason to give.
    if (file->name.empty() || !platform::WriteWholeFile(path, file->text, why)) {
      AfxMessageBox("The IGB file " + platform::NativePath(path) + " cannot be written" + (why.empty() ? "" : ": " + why),
                    MB_ICONEXCLAMATION);
      continue;
    }
    if (file->leftOut > 0)
      leftOut += platform::Format("\n%s: %d lines", platform::NativePath(path).c_str(), file->leftOut);
  }
  if (!leftOut.empty())
    AfxMessageBox("Scores that are not finite numbers were left out of the IGB files:" + leftOut, MB_ICONINFORMATION);
}
