// Steps 4 to 8 of the regression pipeline: the per-sample GC and covariate
// regression (.IM2), the reference averages (NormalAve.txt) and each
// sample's scaling to them (.IM3), the copy-number calibration (CNReg.txt)
// and the result files "VIRIV<name>.CFA".
#include <cmath>
#include <exception>

#include "core/AnalyzedData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "document/QOVADoc.h"
#include "document/regression/RegressionWorkFiles.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

using namespace qova::document::regression;
namespace core = qova::core;

namespace {

constexpr const char* kStep4 = "Work files .IM2";
constexpr const char* kStep5 = "Normal average of the work files";
constexpr const char* kStep6 = "Work files .IM3";
constexpr const char* kStep7 = "Copy-number regression of the work files";
constexpr const char* kStep8 = "Results of the work files";

// Two work files joined line by line, or why they cannot be.
bool ReadPair(const std::string& first, const std::string& second, std::vector<std::string>& a,
              std::vector<std::string>& b, std::string& why) {
  auto x = ReadWorkLines(first, why);
  if (!x) {
    why = platform::NativePath(first) + ": " + why;
    return false;
  }
  auto y = ReadWorkLines(second, why);
  if (!y) {
    why = platform::NativePath(second) + ": " + why;
    return false;
  }
  if (x->size() > y->size()) {
    why = platform::Format("%s has %zu lines, %s only %zu", platform::NativePath(first).c_str(), x->size(),
                           platform::NativePath(second).c_str(), y->size());
    return false;
  }
  a = std::move(*x);
  b = std::move(*y);
  return true;
}

// Solves the 5x5 normal equations by elimination without row exchanges: the
// pivot rows divided by their diagonal, the rows below reduced, then the
// inverse from the identity and c = inverse * r. False when a pivot is 0 or
// anything is not finite.
bool SolveNormalEquations(std::array<std::array<double, 5>, 5> m, const std::array<double, 5>& r,
                          std::array<double, 5>& c) {
  std::array<std::array<double, 5>, 5> inv{};
  for (int i = 0; i < 5; ++i) inv[i][i] = 1.0;
  for (int i = 0; i < 5; ++i) {
    const double pivot = m[i][i];
    if (pivot == 0.0 || !std::isfinite(pivot)) return false;
    for (int j = 0; j < 5; ++j) {
      m[i][j] /= pivot;
      inv[i][j] /= pivot;
    }
    for (int k = 0; k < 5; ++k) {
      if (k == i) continue;
      const double f = m[k][i];
      for (int j = 0; j < 5; ++j) {
        m[k][j] -= f * m[i][j];
        inv[k][j] -= f * inv[i][j];
      }
    }
  }
  for (int i = 0; i < 5; ++i) {
    c[i] = 0.0;
    for (int j = 0; j < 5; ++j) c[i] += inv[i][j] * r[j];
    if (!std::isfinite(c[i])) return false;
  }
  return true;
}

bool Write(CQOVADoc& doc, const std::string& path, const std::string& text) {
  std::string failure;
  if (WriteWorkFile(path, text, failure)) return true;
  doc.Notify("The " + failure);
  return false;
}

// The sums of one SNP over the reference samples' .IM3 lines.
struct CalibrationTally {
  int flag = 0;                               // that of the last sample read
  std::array<int, 3> n{};                     // AA, AB, BB
  std::array<std::array<float, 3>, 2> sum{};  // per allele and genotype
  std::array<float, 2> squares{};
};

// The calibration line of one SNP: per allele the offset whose log copy
// numbers correlate best with the values, and the line through them.
CalibrationLine Calibrate(const CalibrationTally& t) {
  CalibrationLine line;
  line.Flag = t.flag;
  const int total = t.n[0] + t.n[1] + t.n[2];
  // References of one genotype leave the correlation 0/0 at every offset;
  // in floating point it would come out as rounding noise, so the counts decide.
  const int genotypes = (t.n[0] > 0) + (t.n[1] > 0) + (t.n[2] > 0);
  if (genotypes < 2) line = CalibrationLine{};
  for (int a = 0; a < 2 && line.Flag != 0; ++a) {
    const std::array<float, 3>& sums = t.sum[static_cast<std::size_t>(a)];
    const float sz = sums[0] + sums[1] + sums[2];
    const double dz = double(total) * t.squares[static_cast<std::size_t>(a)] - double(sz) * sz;
    // Copies of the allele by genotype AA, AB, BB.
    const std::array<int, 3> copies = a == 0 ? std::array<int, 3>{2, 1, 0} : std::array<int, 3>{0, 1, 2};
    float best = -1.0f;
    int bestK = 0;
    for (int k = 1; k <= 500; ++k) {
      const float offset = static_cast<float>(k) * 0.01f;
      float sx = 0, sxx = 0, sxy = 0;
      for (std::size_t g = 0; g < 3; ++g) {
        const float x = static_cast<float>(std::log(offset + static_cast<float>(copies[g])));
        sx += float(t.n[g]) * x;
        sxx += float(t.n[g]) * x * x;
        sxy += sums[g] * x;
      }
      const float r = static_cast<float>((double(total) * sxy - double(sx) * sz) /
                                         std::sqrt((double(total) * sxx - double(sx) * sx) * dz));
      if (std::isfinite(r) && r > best) {
        best = r;
        bestK = k;
      }
    }
    // No offset gives a defined correlation: the SNP is not calibrated.
    if (bestK == 0) {
      line = CalibrationLine{};
      break;
    }
    const double offset = bestK * 0.01;
    float sx = 0, sxy = 0;
    for (std::size_t g = 0; g < 3; ++g) {
      const double x = std::log(offset + copies[g]);
      sx += static_cast<float>(t.n[g] * x);
      sxy += static_cast<float>(sums[g] * x);
    }
    std::array<float, 4>& out = a == 0 ? line.A : line.B;
    out = {best, static_cast<float>(offset),
           static_cast<float>((double(sx) * t.squares[static_cast<std::size_t>(a)] - double(sz) * sxy) / dz),
           static_cast<float>((double(total) * sxy - double(sx) * sz) / dz)};
  }
  return line;
}

}  // namespace

void CQOVADoc::OnIMFToIM2() {
  ForEachListedSample(*this, {}, [this](const std::string& name) {
    const std::string imfPath = WorkPath(name + ".IMF");
    std::vector<std::string> imf, info;
    std::string why;
    if (!ReadPair(imfPath, WorkPath(kSnpInfoFile), imf, info, why)) {
      LeaveOut(kStep4, name, imfPath, why);
      return false;
    }
    const std::size_t n = imf.size();
    std::vector<float> mean[2] = {std::vector<float>(n), std::vector<float>(n)};
    std::vector<float> gc[2] = {std::vector<float>(n), std::vector<float>(n)};
    std::vector<int> covariate(n), call(n), valid(n);
    for (std::size_t s = 0; s < n; ++s) {
      const ImfLine values = ParseImf(imf[s]);
      const SnpInfoLine selection = ParseSnpInfo(info[s]);
      if (const std::string refusal =
              CovariateRefusal(selection.Covariate, platform::NativePath(WorkPath(kSnpInfoFile)), s + 1, 5);
          !refusal.empty()) {
        LeaveOut(kStep4, name, imfPath, refusal);
        return false;
      }
      call[s] = values.Call;
      covariate[s] = selection.Covariate;
      int counts[2] = {0, 0};
      for (int a = 0; a < 2; ++a) {
        const std::string& flags = a == 0 ? selection.FlagsA : selection.FlagsB;
        float sum = 0.0f;
        for (std::size_t j = 0; j < kProbesPerAllele; ++j) {
          if (j < flags.size() && flags[j] == '1') {
            sum += (a == 0 ? values.A : values.B)[j];
            ++counts[a];
          }
        }
        if (counts[a] > 0) {
          mean[a][s] = sum / static_cast<float>(counts[a]);
          gc[a][s] = static_cast<float>(a == 0 ? selection.GcA : selection.GcB) / static_cast<float>(counts[a]);
        }
      }
      valid[s] = counts[0] > 0 && counts[1] > 0 ? 1 : 0;
    }
    // Per allele: y = c0 g^2 + c1 g + c2 v^2 + c3 v + c4 by least squares over
    // the valid SNPs, with the single-precision sums of the original kept.
    std::array<double, 5> coefficients[2];
    for (int a = 0; a < 2; ++a) {
      double g4 = 0, g3 = 0, g2 = 0, g2v2 = 0, g2v = 0, gv2 = 0, gv = 0, v4 = 0, v3 = 0, v2 = 0, v1 = 0, count = 0;
      double yg2 = 0, yv = 0;
      float gSum = 0, ygSum = 0, yv2Sum = 0, ySumF = 0;
      double ySumD = 0;
      for (std::size_t s = 0; s < n; ++s) {
        if (valid[s] == 0) continue;
        const double g = gc[a][s], y = mean[a][s];
        // Powers of the covariate in 64 bits: the same numbers wherever 32 bits sufficed.
        const std::int64_t v = covariate[s], vv = v * v, vvv = vv * v, vvvv = vv * vv;
        g4 += g * g * g * g;
        g3 += g * g * g;
        g2 += g * g;
        g2v2 += g * g * double(vv);
        g2v += g * g * double(v);
        gv2 += g * double(vv);
        gv += g * double(v);
        v4 += double(vvvv);
        v3 += double(vvv);
        v2 += double(vv);
        v1 += double(v);
        count += 1;
        yg2 += y * g * g;
        yv += y * double(v);
        gSum += static_cast<float>(g);
        ygSum += static_cast<float>(y * g);
        yv2Sum += static_cast<float>(y * double(vv));
        ySumF += static_cast<float>(y);
        ySumD += y;
      }
      const double ySum = a == 0 ? double(ySumF) : ySumD;
      const std::array<std::array<double, 5>, 5> m{{{g4, g3, g2v2, g2v, g2},
                                                     {g3, g2, gv2, gv, double(gSum)},
                                                     {g2v2, gv2, v4, v3, v2},
                                                     {g2v, gv, v3, v2, v1},
                                                     {g2, double(gSum), v2, v1, count}}};
      const std::array<double, 5> r{yg2, double(ygSum), double(yv2Sum), yv, ySum};
      if (!SolveNormalEquations(m, r, coefficients[a])) {
        LeaveOut(kStep4, name, imfPath,
                 platform::Format("the regression of allele %c has no solution", a == 0 ? 'A' : 'B'));
        return false;
      }
    }
    std::string text;
    for (std::size_t s = 0; s < n; ++s) {
      ValueLine line{call[s], valid[s], 0.0f, 0.0f};
      if (valid[s] != 0) {
        const double v = covariate[s];
        for (int a = 0; a < 2; ++a) {
          const std::array<double, 5>& c = coefficients[a];
          const double g = gc[a][s];
          // The constant c4 stays in: the residuals keep it as their mean.
          const float residual = static_cast<float>(mean[a][s] - (c[0] * g * g + c[1] * g + c[2] * v * v + c[3] * v));
          (a == 0 ? line.A : line.B) = residual;
        }
      }
      text += Format(line);
    }
    return Write(*this, WorkPath(name + ".IM2"), text);
  });
}

void CQOVADoc::OnMakeNormalAverage() {
  struct Group {
    int n = 0;
    float a = 0, b = 0;
  };
  std::vector<int> lastFlag;
  std::vector<std::array<Group, 4>> groups;  // AA, AB, BB, all valid
  std::size_t lastLines = 0;
  const auto read = [&](const std::string& name) {
    const std::string path = WorkPath(name + ".IM2");
    std::string why;
    const auto lines = ReadWorkLines(path, why);
    if (!lines) {
      LeaveOut(kStep5, name + ".IM2", path, why);
      return false;
    }
    if (groups.size() < lines->size()) {
      groups.resize(lines->size());
      lastFlag.resize(lines->size());
    }
    for (std::size_t s = 0; s < lines->size(); ++s) {
      const ValueLine v = ParseValues((*lines)[s]);
      lastFlag[s] = v.Valid;
      if (v.Valid == 0) continue;
      const auto add = [&](Group& g) {
        ++g.n;
        g.a += v.A;
        g.b += v.B;
      };
      add(groups[s][3]);
      if (v.Call >= 1 && v.Call <= 3) add(groups[s][static_cast<std::size_t>(v.Call - 1)]);
    }
    lastLines = lines->size();
    return true;
  };
  const auto write = [&]() -> std::string {
    std::string text;
    bool anyValid = false;
    for (std::size_t s = 0; s < lastLines; ++s) {
      NormalAverageLine line;
      line.Flag = lastFlag[s];
      for (std::size_t g = 0; g < 4; ++g) {
        const Group& group = groups[s][g];
        if (group.n >= 1) line.Means[g] = std::array<float, 2>{group.a / float(group.n), group.b / float(group.n)};
      }
      anyValid = anyValid || line.Means[3].has_value();
      text += Format(line);
    }
    if (!anyValid) return "No SNP of the samples read is valid.";
    Write(*this, WorkPath(kNormalAverageFile), text);
    return {};
  };
  ForEachListedSample(*this, WorkPath(kNormalAverageFile), read, write);
}

void CQOVADoc::OnIM2ToIM3() {
  ForEachListedSample(*this, {}, [this](const std::string& name) {
    const std::string im2Path = WorkPath(name + ".IM2");
    std::vector<std::string> im2, normal;
    std::string why;
    if (!ReadPair(im2Path, WorkPath(kNormalAverageFile), im2, normal, why)) {
      LeaveOut(kStep6, name, im2Path, why);
      return false;
    }
    std::vector<ValueLine> values(im2.size());
    float n[2] = {0, 0}, sx[2] = {0, 0}, sxx[2] = {0, 0}, sy[2] = {0, 0}, sxy[2] = {0, 0};
    for (std::size_t s = 0; s < im2.size(); ++s) {
      values[s] = ParseValues(im2[s]);
      if (values[s].Valid == 0) continue;
      const std::array<float, 2> reference = ReferenceOf(normal[s], values[s].Call);
      for (int a = 0; a < 2; ++a) {
        const float x = a == 0 ? values[s].A : values[s].B, y = reference[static_cast<std::size_t>(a)];
        n[a] += 1;
        sxx[a] += x * x;
        sxy[a] += x * y;
        sx[a] += x;
        sy[a] += y;
      }
    }
    float slope[2], intercept[2];
    for (int a = 0; a < 2; ++a) {
      const float d = n[a] * sxx[a] - sx[a] * sx[a];
      slope[a] = (n[a] * sxy[a] - sx[a] * sy[a]) / d;
      intercept[a] = (sy[a] * sxx[a] - sxy[a] * sx[a]) / d;
      if (d == 0.0f || slope[a] == 0.0f || !std::isfinite(slope[a]) || !std::isfinite(intercept[a])) {
        LeaveOut(kStep6, name, im2Path,
                 platform::Format("allele %c cannot be scaled to the references", a == 0 ? 'A' : 'B'));
        return false;
      }
    }
    std::string text;
    for (const ValueLine& v : values) {
      ValueLine scaled{v.Call, v.Valid, 0.0f, 0.0f};
      if (v.Valid != 0) {
        scaled.A = (v.A - intercept[0]) / slope[0];
        scaled.B = (v.B - intercept[1]) / slope[1];
      }
      text += Format(scaled);
    }
    return Write(*this, WorkPath(name + ".IM3"), text);
  });
}

void CQOVADoc::OnMakeCNRegression() {
  std::vector<CalibrationTally> tallies;
  std::size_t lastLines = 0;
  const auto read = [&](const std::string& name) {
    const std::string path = WorkPath(name + ".IM3");
    std::string why;
    const auto lines = ReadWorkLines(path, why);
    if (!lines) {
      LeaveOut(kStep7, name + ".IM3", path, why);
      return false;
    }
    if (tallies.size() < lines->size()) tallies.resize(lines->size());
    for (std::size_t s = 0; s < lines->size(); ++s) {
      const ValueLine v = ParseValues((*lines)[s]);
      CalibrationTally& t = tallies[s];
      t.flag = v.Valid;
      if (v.Valid == 0 || v.Call < 1) continue;
      if (v.Call <= 3) {
        const std::size_t g = static_cast<std::size_t>(v.Call - 1);
        ++t.n[g];
        t.sum[0][g] += v.A;
        t.sum[1][g] += v.B;
      }
      t.squares[0] += v.A * v.A;
      t.squares[1] += v.B * v.B;
    }
    lastLines = lines->size();
    return true;
  };
  const auto write = [&]() -> std::string {
    std::string text;
    bool calibrated = false;
    for (std::size_t s = 0; s < lastLines; ++s) {
      const CalibrationLine line = Calibrate(tallies[s]);
      calibrated = calibrated || line.Flag != 0;
      text += Format(line);
    }
    if (!calibrated) return "No SNP of the samples read can be calibrated.";
    Write(*this, WorkPath(kCalibrationFile), text);
    return {};
  };
  ForEachListedSample(*this, WorkPath(kCalibrationFile), read, write);
}

void CQOVADoc::OnIM3ToResult() {
  const core::ArrayTypeInfo& type = *core::FindArrayType(kPipelineType);
  CArrayData typed;
  typed.Header.ArrayType = kPipelineType;
  const CBasicData* basic = AnnotationFor(typed);
  if (basic == nullptr) return;
  ForEachListedSample(*this, {}, [&](const std::string& name) {
    const std::string im3Path = WorkPath(name + ".IM3");
    std::vector<std::string> im3, calibration;
    std::string why;
    if (!ReadPair(im3Path, WorkPath(kCalibrationFile), im3, calibration, why)) {
      LeaveOut(kStep8, name, im3Path, why);
      return false;
    }
    const auto& starts = core::kArrayChromosomeStarts[type.type];
    const std::int32_t lastX = starts[kChromosomeX + 1] - 1, lastAutosome = starts[kChromosomeX] - 1;
    CAnalyzedData result;
    SampleHeader& h = result.Header;
    h.SampleName = kResultPrefix + name;
    h.ArrayType = kPipelineType;
    h.IsTest = 1;
    h.CreateTime = h.SaveTime = CTime::GetCurrentTime();
    h.NonSelfBaseRange = h.SelfBaseRange = {type.firstSnp, lastAutosome, 1, 2};
    h.SnpCount = type.snpCount;
    h.FirstSnpIndex = type.firstSnp;
    h.LastSnpIndex = type.lastSnp;
    h.LastAutosomeSnpIndex = lastAutosome;
    h.HmmMeans = {-1.24f, -0.49f, 0.0f, 0.30f, 0.657f, 0.899f, 2.5f};
    h.HmmSdFactors = {2.361f, 1.405f, 1.0f, 0.776f, 0.634f, 0.536f, 0.465f};
    h.AlleleHmmMeans = {-0.7f, 0.0f, 0.5f, 0.7f, 2.0f};
    h.AlleleHmmSdFactors = {1.6f, 1.0f, 0.7f, 0.634f, 0.4f};
    result.AnalysisArrayType = kPipelineType;
    result.IsSelf = false;
    result.Allocate(type.snpCount, AnalysisKind::NonSelfAllele);
    for (std::int32_t i = type.firstSnp; i <= lastX; ++i) {
      const auto k = static_cast<std::size_t>(i);
      result.ValidFlag[k] = 0;
      if (k >= basic->IndexMap.size()) continue;
      const std::int64_t s = std::int64_t(basic->IndexMap[k]) - type.firstSnp;
      // A row beyond the .IM3 file's lines stays invalid.
      if (s < 0 || s >= static_cast<std::int64_t>(im3.size())) continue;
      const ValueLine v = ParseValues(im3[static_cast<std::size_t>(s)]);
      const CalibrationLine c = ParseCalibration(calibration[static_cast<std::size_t>(s)]);
      result.CallTest[k] = result.CallReference[k] = v.Call;
      result.ValidFlag[k] = v.Valid;
      if (v.Valid == 0) continue;
      const float cA = std::max(0.001f, std::exp(c.A[2] + c.A[3] * v.A) - c.A[1]);
      const float cB = std::max(0.001f, std::exp(c.B[2] + c.B[3] * v.B) - c.B[1]);
      result.LogRatio[k] = std::log((cA + cB) * 0.5f) / std::log(2.0f);
      result.LogRatioA[k] = std::log(std::max(cA, cB)) / std::log(2.0f);
      result.LogRatioB[k] = std::log(std::min(cA, cB)) / std::log(2.0f);
    }
    // On disk from the start, so that the store's own words name the same file.
    const std::string path =
        platform::NativePath(platform::JoinPath(AnalysisResultFolder, kResultPrefix + name + ".CFA"));
    try {
      result.StoreFile(path);
      return true;
    } catch (const std::exception& error) {
      Notify(platform::Format("The result file %s cannot be written: %s", path.c_str(), error.what()));
      return false;
    }
  });
}
