#pragma once
// A headless stand-in for the main document's analysis commands: the self and
// the non-self analysis drive the engine in the document's order, on a sample
// read from the array-data folder, and store the results where the document
// does. The tests and the benchmarks use it to run whole analyses without a
// document or a window.
#include <string>

#include "analysis/Analysis.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"

namespace qova::test {

class AnalysisDriver {
 public:
  // Folders as the document keeps them, each with its trailing separator.
  AnalysisDriver(const CGlobalData& global, std::string arrayDataFolder, std::string resultFolder)
      : global_(global), arrayDataFolder_(std::move(arrayDataFolder)), resultFolder_(std::move(resultFolder)) {}

  // The self analysis of `sample`: the ratios against its paired normal
  // sample, both copy-number models, the allele-state segments, SD and mean
  // state; stores <result folder><name>.CFS, then the sample (with its new
  // regions) as <array-data folder><name>.CFH. 1 when the normalisation
  // failed (nothing is stored).
  int SelfAnalysis(CArrayData& sample, const CBasicData& basic, CAnalyzedData& analyzed) const {
    analyzed = CAnalyzedData(sample, AnalysisKind::Self);
    analyzed.Header.SelfAnalyzed = true;
    analyzed.Header.Combined = false;
    CAnalysis engine(global_);
    Configure(engine);
    if (engine.NormalizeBySelfReference(sample, basic, analyzed) != 0) return 1;
    engine.RunTotalCopyNumberHMM(analyzed, basic);
    engine.RunAlleleSpecificHMM(analyzed, basic, 1);
    engine.RunAlleleSpecificHMM(analyzed, basic, 2);
    engine.ExtractAlleleStateSegments(sample, analyzed);
    Finish(engine, sample, analyzed, AnalysisKind::Self);
    return 0;
  }

  // The non-self analysis of `sample` against the references its header
  // lists, by the allele-specific switch: the total model, then either both
  // allele models (and the AI/LOH/UPD cascade when AUTOAI is on) or the LOH
  // likelihood; SD and mean state; stores .CFA or .CFN, then the .CFH. 1 when
  // the normalisation failed (nothing is stored).
  int NonSelfAnalysis(CArrayData& sample, const CBasicData& basic, CAnalyzedData& analyzed) const {
    const CProgramSetting& setting = *global_.ProgramSetting;
    const AnalysisKind kind = NonSelfAnalysisKind(setting.NONSELFALLELE != 0);
    analyzed = CAnalyzedData(sample, kind);
    analyzed.Header.SelfAnalyzed = false;
    analyzed.Header.Combined = false;
    CAnalysis engine(global_);
    Configure(engine);
    engine.SetUniformHeterozygosity(kNonSelfHeterozygosity);
    if (engine.NormalizeByReferences(sample, basic, analyzed) != 0) return 1;
    engine.RunTotalCopyNumberHMM(analyzed, basic);
    if (kind == AnalysisKind::NonSelfAllele) {
      engine.RunAlleleSpecificHMM(analyzed, basic, 1);
      engine.RunAlleleSpecificHMM(analyzed, basic, 2);
      if (setting.AUTOAI != 0) engine.RunTwoStateSegmentHMM(sample, analyzed, basic);
    } else {
      engine.AnalyzeLOHWithLD(analyzed, basic);
    }
    Finish(engine, sample, analyzed, kind);
    return 0;
  }

  [[nodiscard]] std::string ResultPath(const std::string& name, AnalysisKind kind) const {
    return resultFolder_ + name + AnalysisFileExtension(kind);
  }
  [[nodiscard]] std::string SamplePath(const std::string& name) const { return arrayDataFolder_ + name + ".CFH"; }

 private:
  void Configure(CAnalysis& engine) const {
    engine.ArrayDataFolder = arrayDataFolder_;
    engine.ResultFolder = resultFolder_;
  }

  void Finish(CAnalysis& engine, CArrayData& sample, CAnalyzedData& analyzed, AnalysisKind kind) const {
    analyzed.SampleSD = engine.CalcSD(analyzed);
    analyzed.MeanState = engine.CalcMeanState(analyzed);
    analyzed.StoreFile(ResultPath(sample.Header.SampleName, kind));
    sample.StoreFile(SamplePath(sample.Header.SampleName));
  }

  const CGlobalData& global_;
  std::string arrayDataFolder_;
  std::string resultFolder_;
};

}  // namespace qova::test
