#include "tools/recall/Recall.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <ostream>
#include <stdexcept>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/QOVADoc.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "resources/SampleManagerDialog.h"
#include "tools/datagen/DataGen.h"
#include "tools/demo/Demo.h"

namespace recall {

namespace {

using samplegen::PlantedSegment;

constexpr const char* kPairedTumour = "Tumour01";
constexpr const char* kUnpairedTumour = "Tumour02";
constexpr const char* kNormal = "Normal01";
constexpr int kReferenceCount = 10;

// Lays events out along chromosomes `first`..`last`: each event goes to the
// next chromosome in turn that still has room for it with a gap of the larger
// of its own and its neighbour's size on both sides.
void Place(std::vector<Event>& events, const samplegen::SampleGenerator& g, int first, int last) {
  // Per chromosome: where the last event placed there ends, and its gap.
  std::vector<std::int32_t> end(last + 1), endGap(last + 1, 0);
  for (int c = first; c <= last; ++c) end[c] = g.ChromosomeBegin(c);
  int next = first;
  for (Event& e : events) {
    const std::int32_t gap = std::max<std::int32_t>(e.Size, 100);
    for (int tries = 0; tries <= last - first && !e.Placed; ++tries) {
      const int c = next;
      next = next == last ? first : next + 1;
      const std::int32_t start = end[c] + std::max(gap, endGap[c]);
      if (start + e.Size + gap > g.ChromosomeEnd(c)) continue;
      const EventKind& kind = kEventKinds[e.Kind];
      e.Segment = {c, start, start + e.Size - 1, kind.Major, kind.Minor};
      e.Placed = true;
      end[c] = start + e.Size;
      endGap[c] = gap;
    }
  }
}

bool InPlanted(const std::vector<PlantedSegment>& planted, int chromosome, std::int32_t i) {
  const PlantedSegment* s = samplegen::PlantedSegmentAt(planted, i);
  return s != nullptr && s->Chromosome == chromosome;
}

AnalysisRecall Measure(const std::string& analysis, const std::string& resultFolder, const std::string& sample,
                       const std::vector<Event>& events, const samplegen::SampleGenerator& g) {
  AnalysisRecall out;
  out.Analysis = analysis;
  std::vector<PlantedSegment> planted;
  for (const Event& e : events) {
    if (e.Placed) planted.push_back(e.Segment);
  }
  for (const char* extension : {".CFS", ".CFN", ".CFA"}) {
    const std::string file = sample + extension;
    if (!platform::FileExists(resultFolder + file)) continue;
    CAnalyzedData result;
    result.LoadFileAllocating(resultFolder + file);
    out.ResultFile = file;
    for (const Event& e : events) {
      out.Events.push_back({e, e.Placed ? demo::ShareCalled(result, e.Segment) : 0.0});
    }
    std::int64_t unplanted = 0, called = 0;
    for (int c = 1; c <= kChromosomeX; ++c) {
      for (std::int32_t i = g.ChromosomeBegin(c); i < g.ChromosomeEnd(c); ++i) {
        if (result.ValidFlag[i] != 1 || InPlanted(planted, c, i)) continue;
        ++unplanted;
        const bool loh = demo::InformsLoh(result, i) && demo::IsCalledLoh(result, i);
        called += result.CopyNumberState[i] != 2 || loh ? 1 : 0;
      }
    }
    out.FalseCallShare = unplanted == 0 ? 0.0 : double(called) / double(unplanted);
    for (const demo::CalledSegment& s : demo::CalledSegments(result, g)) {
      const bool hit = std::any_of(planted.begin(), planted.end(),
                                   [&](const PlantedSegment& p) { return demo::Overlaps(s, p); });
      out.FalseSegments += hit ? 0 : 1;
    }
    return out;
  }
  for (const Event& e : events) out.Events.push_back({e, 0.0});
  return out;
}

// Removes what an earlier level left, so a level never reads another's files.
void ClearSamples(const demo::DemoFolders& folders) {
  for (const std::string& folder : {folders.ArrayData, folders.Results}) {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    if (!platform::CreateFolders(folder)) throw std::runtime_error("cannot make " + folder);
  }
}

void WriteStudy(const demo::DemoFolders& folders, const CBasicData& annotation, const RecallOptions& options,
                const std::vector<PlantedSegment>& planted, float noise) {
  samplegen::StudySpec paired;
  paired.ArrayType = options.ArrayType;
  paired.Seed = options.Seed;
  paired.TestName = kPairedTumour;
  paired.Segments = planted;
  paired.NonSelfReferences = kReferenceCount;
  paired.Noise = noise;
  samplegen::WriteStudy(folders.ArrayData, annotation, paired);
  // The unpaired tumour and the normal test sample lean on the references
  // written above, chosen automatically.
  samplegen::StudySpec unpaired = paired;
  unpaired.TestName = kUnpairedTumour;
  unpaired.WithSelfReference = false;
  unpaired.NonSelfReferences = 0;
  samplegen::WriteStudy(folders.ArrayData, annotation, unpaired);
  unpaired.TestName = kNormal;
  unpaired.Segments.clear();
  samplegen::WriteStudy(folders.ArrayData, annotation, unpaired);
  if (!options.HmmMeans) return;
  for (const char* test : {kPairedTumour, kUnpairedTumour, kNormal}) {
    CArrayData sample;
    const std::string file = folders.ArrayData + test + ".CFH";
    sample.LoadFile(file);
    std::copy(options.HmmMeans->begin(), options.HmmMeans->end(), sample.Header.HmmMeans.begin());
    sample.StoreFile(file);
  }
}

// The averaging window and the emission are values of the run, not of the
// settings file: they go into the loaded record.
void ApplySettings(const RecallOptions& options, CProgramSetting& setting) {
  if (options.MovingAverageWindow) setting.MovingAverageWindow = *options.MovingAverageWindow;
  if (options.NormalEmission) setting.UseNormalDistribution = *options.NormalEmission ? 1 : 0;
}

}  // namespace

double NoiseForSd(double sd) {
  const double above = std::max(sd * sd - kSdFloor * kSdFloor, 0.0001);
  return std::sqrt(above) / kSdPerNoise;
}

double SdForNoise(double noise) { return std::hypot(kSdFloor, kSdPerNoise * noise); }

std::vector<Event> LayOutEvents(const samplegen::SampleGenerator& g) {
  std::vector<Event> autosomal, onX;
  // Largest first, so the big events find room before the small ones fill it.
  for (auto size = std::rbegin(kEventSizes); size != std::rend(kEventSizes); ++size) {
    for (int k = 0; k < static_cast<int>(std::size(kEventKinds)); ++k) {
      autosomal.push_back({{}, k, *size, false, false});
      if (*size <= kLargestXEvent) onX.push_back({{}, k, *size, true, false});
    }
  }
  Place(autosomal, g, 1, kChromosomeX - 1);
  Place(onX, g, kChromosomeX, kChromosomeX);
  autosomal.insert(autosomal.end(), onX.begin(), onX.end());
  return autosomal;
}

std::vector<LevelRecall> RunRecall(const RecallOptions& options, std::ostream& log) {
  if (qova::core::FindArrayType(options.ArrayType) == nullptr) {
    throw std::runtime_error("unknown array type " + options.ArrayType);
  }
  const demo::DemoFolders folders(std::filesystem::absolute(options.Folder).lexically_normal().string());
  const int family = ArrayClassIndex(options.ArrayType);
  log << "Writing the data folder " << folders.Data << "\n";
  demo::PrepareProgramFolder(folders, datagen::AllFamilies());

  platform::ui::SetBackend(nullptr);
  platform::ui::Headless().Reset();
  CGlobalData global;
  if (!global.Load()) throw std::runtime_error("the program cannot load its tables from " + folders.Data);
  ApplySettings(options, *global.ProgramSetting);
  const qova::document::ScopedApplicationData application(global);
  const samplegen::SampleGenerator generator(options.ArrayType, global.BasicData[family], options.Seed);
  const std::vector<Event> events = LayOutEvents(generator);
  std::vector<PlantedSegment> planted;
  for (const Event& e : events) {
    if (e.Placed) planted.push_back(e.Segment);
  }

  std::vector<LevelRecall> levels;
  for (const double sd : options.TargetSd) {
    LevelRecall level;
    level.TargetSd = sd;
    level.Noise = NoiseForSd(sd);
    log << platform::Format("Noise for a log2-ratio SD of %.2f: writing the study\n", sd);
    ClearSamples(folders);
    WriteStudy(folders, global.BasicData[family], options, planted, static_cast<float>(level.Noise));
    demo::LoggingSink messages(log);
    {
      namespace ids = qova::resources::manager;
      CQOVADoc doc;
      log << "  self analysis of " << kPairedTumour << "\n";
      demo::RunSampleManager(doc, kPairedTumour, {ids::kAlleleSpecificAnalysis});
      for (const char* sample : {kUnpairedTumour, kNormal}) {
        log << "  non-self analysis of " << sample << " with automatic references\n";
        demo::RunSampleManager(doc, sample, {ids::kModeAutomatic, ids::kNonSelfAnalysis});
      }
    }
    level.Messages = messages.Texts();
    level.Analyses.push_back(Measure("self", folders.Results, kPairedTumour, events, generator));
    level.Analyses.push_back(Measure("non-self", folders.Results, kUnpairedTumour, events, generator));
    const std::string normalResult = folders.Results + kNormal + ".CFN";
    if (platform::FileExists(normalResult)) {
      CAnalyzedData normal;
      normal.LoadFileAllocating(normalResult);
      level.MeasuredSd = normal.SampleSD;
    }
    levels.push_back(std::move(level));
  }
  return levels;
}

void PrintRecall(const std::vector<LevelRecall>& levels, std::ostream& out) {
  for (const LevelRecall& level : levels) {
    for (const AnalysisRecall& a : level.Analyses) {
      out << platform::Format("\n%s analysis (%s), log2-ratio SD target %.2f, measured %.3f (generator noise %.3f)\n",
                              a.Analysis.c_str(), a.ResultFile.empty() ? "no result" : a.ResultFile.c_str(),
                              level.TargetSd, level.MeasuredSd, level.Noise);
      out << platform::Format("  %-16s", "recall");
      for (const std::int32_t size : kEventSizes) out << platform::Format(" %8d", size);
      out << "   (SNPs)\n";
      for (const bool onX : {false, true}) {
        for (int k = 0; k < static_cast<int>(std::size(kEventKinds)); ++k) {
          out << platform::Format("  %-16s", (std::string(onX ? "X " : "") + kEventKinds[k].Name).c_str());
          for (const std::int32_t size : kEventSizes) {
            const auto it = std::find_if(a.Events.begin(), a.Events.end(), [&](const EventRecall& e) {
              return e.Planted.Kind == k && e.Planted.Size == size && e.Planted.OnX == onX;
            });
            const bool shown = it != a.Events.end() && it->Planted.Placed;
            out << (shown ? platform::Format(" %8.3f", it->Recall) : platform::Format(" %8s", "-"));
          }
          out << "\n";
        }
      }
      out << platform::Format("  false calls: %.4f of unplanted SNPs; false segments of %d SNPs or more: %d\n",
                              a.FalseCallShare, demo::kMinCalledSnps, a.FalseSegments);
    }
    for (const std::string& m : level.Messages) out << "  message: " << m << "\n";
  }
}

}  // namespace recall
