// A new extracted sample whose allele intensities average several samples of
// one array type, each scaled to the total intensity of the first.
#include <cmath>
#include <exception>

#include "analysis/AverageArray.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "document/QOVADoc.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace core = qova::core;

namespace {

// Why the sample cannot take part, or empty.
std::string TypeProblem(const CArrayData& sample, const std::string& type, const std::string& role) {
  if (sample.Header.ArrayType == type) return {};
  return platform::Format("Average arrays: the %s %s is of the array type %s, not %s", role.c_str(),
                          sample.Header.SampleName.c_str(), sample.Header.ArrayType.c_str(), type.c_str());
}

}  // namespace

void CQOVADoc::OnAverageArrays() {
  CAverageArray dialog(ArrayDataFolder);
  if (dialog.DoModal() != IDOK || dialog.SelectedSamples.empty()) return;
  const core::ArrayTypeInfo* type = core::FindArrayType(dialog.ArrayType);
  if (type == nullptr) return;

  // Everything is read and checked before anything is written.
  CArrayData averaged;
  const auto load = [&](CArrayData& sample, const std::string& name, bool withData) {
    const std::string path = platform::JoinPath(ArrayDataFolder, name + ".CFH");
    try {
      sample.LoadFile(path, withData);
      return true;
    } catch (const std::exception& error) {
      Notify(platform::Format("Average arrays: %s cannot be read: %s", platform::FileNameOf(path).c_str(), error.what()));
      return false;
    }
  };
  if (!load(averaged, dialog.HeaderSample, false)) return;
  if (const std::string problem = TypeProblem(averaged, dialog.ArrayType, "header array"); !problem.empty()) {
    Notify(problem);
    return;
  }
  const CBasicData* basic = AnnotationFor(averaged);
  if (basic == nullptr) return;

  const std::int32_t first = type->firstSnp, last = type->lastSnp;
  const std::int32_t lastX = core::kArrayChromosomeStarts[type->type][kChromosomeX + 1] - 1;
  const std::int32_t capacity = type->snpCount;
  averaged.Allocate(capacity);
  const double n = static_cast<double>(dialog.SelectedSamples.size());
  double firstTotal = 0.0;
  CArrayData sample;
  for (std::size_t i = 0; i < dialog.SelectedSamples.size(); ++i) {
    const std::string& name = dialog.SelectedSamples[i];
    if (!load(sample, name, true)) return;
    if (const std::string problem = TypeProblem(sample, dialog.ArrayType, "array"); !problem.empty()) {
      Notify(problem);
      return;
    }
    double total = 0.0;
    for (std::int32_t j = first; j <= lastX; ++j) {
      if (static_cast<std::size_t>(j) >= basic->IndexMap.size()) break;
      const std::int32_t snp = basic->IndexMap[static_cast<std::size_t>(j)];
      if (snp < 0 || snp >= sample.Capacity()) continue;
      total += double(sample.SignalA[static_cast<std::size_t>(snp)]) + sample.SignalB[static_cast<std::size_t>(snp)];
    }
    if (!std::isfinite(total) || total == 0.0) {
      Notify(platform::Format("Average arrays: the array %s has no total intensity to scale by", name.c_str()));
      return;
    }
    if (i == 0) firstTotal = total;
    const double weight = firstTotal / total / n;
    for (std::int32_t j = first; j <= last; ++j) {
      const auto k = static_cast<std::size_t>(j);
      if (i == 0) {
        averaged.SignalA[k] = static_cast<float>(sample.SignalA[k] / n);
        averaged.SignalB[k] = static_cast<float>(sample.SignalB[k] / n);
        averaged.Call[k] = sample.Call[k];
        averaged.SpareFlag[k] = sample.SpareFlag[k];
      } else {
        averaged.SignalA[k] += static_cast<float>(sample.SignalA[k] * weight);
        averaged.SignalB[k] += static_cast<float>(sample.SignalB[k] * weight);
        if (averaged.Call[k] != sample.Call[k]) averaged.Call[k] = kCallNone;
      }
    }
  }
  averaged.Header.SampleName = dialog.NewName;
  const std::string out = platform::JoinPath(ArrayDataFolder, dialog.NewName + ".CFH");
  try {
    averaged.StoreFile(out);
  } catch (const std::exception& error) {
    Notify(platform::Format("Average arrays: %s cannot be written: %s", platform::FileNameOf(out).c_str(), error.what()));
  }
}
