#include "tools/demo/Demo.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <stdexcept>
#include <thread>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/QOVADoc.h"
#include "document/DocumentCommands.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "resources/ExtractDialogs.h"
#include "resources/SampleManagerDialog.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/datagen/DataGen.h"

namespace demo {

namespace {

using samplegen::PlantedSegment;

constexpr const char* kPairedTumour = "Tumour01";
constexpr const char* kUnpairedTumour = "Tumour02";
constexpr int kReferenceCount = 6;
// LOH score above which an unpaired sample's SNP counts as in LOH.
constexpr float kLohScore = 10.0f;

// A segment over the share [from, to) of chromosome c's SNPs.
PlantedSegment Stretch(const samplegen::SampleGenerator& g, int c, double from, double to, int major, int minor) {
  const std::int32_t begin = g.ChromosomeBegin(c);
  const std::int32_t count = g.ChromosomeEnd(c) - begin;
  return {c, begin + static_cast<std::int32_t>(from * count), begin + static_cast<std::int32_t>(to * count) - 1,
          major, minor};
}

// A sample to write, and the forms of its files: the demo mixes the legacy
// and the generic forms the way a lab's archive does.
struct DemoSample {
  samplegen::GeneratedSample Sample;
  arraygen::SampleFileOptions Files;
};

std::vector<DemoSample> PlanSamples(const DemoOptions& options, const samplegen::SampleGenerator& generator) {
  using arraywriters::CelForm;
  using arraygen::ChpForm;
  samplegen::StudySpec paired;
  paired.ArrayType = options.ArrayType;
  paired.Seed = options.Seed;
  paired.TestName = kPairedTumour;
  paired.Segments = PairedTumourSegments(generator);
  paired.NonSelfReferences = kReferenceCount;
  samplegen::Study study = samplegen::PlanStudy(paired);

  samplegen::StudySpec unpaired = paired;
  unpaired.TestName = kUnpairedTumour;
  unpaired.Segments = UnpairedTumourSegments(generator);
  unpaired.WithSelfReference = false;
  unpaired.NonSelfReferences = 0;

  std::vector<samplegen::GeneratedSample> all{study.Test};
  all.insert(all.end(), study.References.begin(), study.References.end());
  all.push_back(samplegen::PlanStudy(unpaired).Test);

  static constexpr CelForm kCelForms[] = {CelForm::kGeneric, CelForm::kXda,  CelForm::kBcel,
                                          CelForm::kXda,     CelForm::kCompact, CelForm::kGeneric};
  static constexpr ChpForm kChpForms[] = {ChpForm::kGeneric, ChpForm::kXda, ChpForm::kOlder};
  static constexpr const char* kChpSuffixes[] = {".brlmm-p.CHP", ".CHP", ".brlmm.CHP"};
  std::vector<DemoSample> samples;
  for (std::size_t k = 0; k < all.size(); ++k) {
    DemoSample s{all[k], {}};
    s.Files.Cel = kCelForms[k % std::size(kCelForms)];
    s.Files.Chp = kChpForms[k % std::size(kChpForms)];
    s.Files.ChpSuffix = kChpSuffixes[k % std::size(kChpSuffixes)];
    samples.push_back(std::move(s));
  }
  return samples;
}

// Six perfect-match cells per allele, each with its mismatch partner: the
// fewest quartets from which Extract without CHP can call a genotype (its
// signed-rank table of six), and about the cells a real chip of the
// 250K family carries per SNP.
arraygen::LayoutOptions DemoLayout() {
  arraygen::LayoutOptions layout;
  layout.PerfectMatchCellsPerAllele = 6;
  return layout;
}

// Runs tasks 0..count-1 on up to `threads` threads; the first failure is
// rethrown once all have stopped.
template <typename Task>
void RunTasks(std::size_t count, int threads, const Task& task) {
  std::atomic<std::size_t> next{0};
  std::exception_ptr failure;
  std::mutex failureLock;
  const auto worker = [&] {
    for (std::size_t i = next++; i < count; i = next++) {
      try {
        task(i);
      } catch (...) {
        const std::lock_guard<std::mutex> lock(failureLock);
        if (!failure) failure = std::current_exception();
        next = count;
      }
    }
  };
  std::vector<std::thread> pool;
  for (int t = 1; t < threads && static_cast<std::size_t>(t) < count; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
  if (failure) std::rethrow_exception(failure);
}

std::vector<arraygen::SampleFiles> WriteArrayFiles(const DemoOptions& options, const DemoFolders& folders,
                                                   const samplegen::SampleGenerator& generator,
                                                   const std::vector<DemoSample>& samples) {
  const arraygen::ArrayDesign design(options.ArrayType, options.Seed, DemoLayout());
  std::vector<arraygen::SampleFiles> files(samples.size());
  RunTasks(samples.size() + 1, options.Threads, [&](std::size_t task) {
    if (task == 0) {
      if (!platform::CreateFolders(folders.Library)) throw std::runtime_error("cannot create the folder " + folders.Library);
      design.WriteCdf(folders.Library + arraygen::LibraryFileName(options.ArrayType), arraygen::CdfForm::kXda);
      return;
    }
    const DemoSample& s = samples[task - 1];
    files[task - 1] = arraygen::WriteSampleFiles(design, folders.Cel, generator.Make(s.Sample.Spec), s.Files);
  });
  return files;
}

// The settings a user would have chosen on the Folders page.
void WriteSettings(const DemoFolders& folders) {
  CProgramSetting setting;
  setting.LoadFromProfile();
  setting.DefaultDataFolder = folders.Cel;
  setting.DefaultArrayDataFolder = folders.ArrayData;
  setting.DefaultLibraryFolder = folders.Library;
  setting.DefaultAnalysisResultFolder = folders.Results;
  setting.DefaultOutputFolder = folders.Output;
  if (!setting.SaveToProfile()) throw std::runtime_error("cannot write the settings file");
}

// Data > Extract Data as a user fills its four lists: the pair, the unpaired
// tumour as a test and the references, each chosen among the found files.
void ExtractAll(CQOVADoc& doc, const std::vector<arraygen::SampleFiles>& files) {
  namespace res = qova::resources;
  std::vector<std::pair<UINT, std::vector<std::string>>> moves = {
      {res::kExtractAddPairedTest, {}},
      {res::kExtractAddPairedReference, {}},
      {res::kExtractAddNonPairedTest, {}},
      {res::kExtractAddNonPairedReference, {}},
  };
  for (const arraygen::SampleFiles& f : files) {
    const std::size_t list = f.Name == kPairedTumour                          ? 0
                             : f.Name == std::string(kPairedTumour) + "N" ? 1
                             : f.Name == kUnpairedTumour                      ? 2
                                                                              : 3;
    moves[list].second.push_back(f.ChpFile);
  }
  platform::ui::Headless().OnDialog(res::kDataExtractDialog, [moves](platform::ui::DialogDriver& d) {
    for (const auto& [addButton, names] : moves) {
      const std::vector<std::string> found = d.Items(res::kExtractFoundFiles);
      std::vector<int> chosen;
      for (const std::string& name : names) {
        const auto at = std::find(found.begin(), found.end(), name);
        if (at == found.end()) throw platform::ui::ScriptError(name + " is not among the found files");
        chosen.push_back(static_cast<int>(at - found.begin()));
      }
      d.SelectItems(res::kExtractFoundFiles, chosen).Click(addButton);
    }
    d.Ok();
  });
  platform::ui::DispatchCommand(doc, qova::document::command::kDataExtract);
}

}  // namespace

void RunSampleManager(CQOVADoc& doc, const std::string& sample, std::vector<unsigned> buttons) {
  namespace ids = qova::resources::manager;
  platform::ui::Headless().OnDialog(qova::resources::kSampleManagerDialog,
                                    [sample, buttons](platform::ui::DialogDriver& d) {
                                      d.Select(ids::kSampleList, sample);
                                      for (const unsigned button : buttons) d.Click(button);
                                    });
  platform::ui::DispatchCommand(doc, qova::document::command::kSampleManager);
}

bool IsCalledLoh(const CAnalyzedData& r, std::int32_t i) {
  if (r.CopyNumberState[i] != 2) return false;
  // Paired: an allele lost where the normal is heterozygous. Unpaired: a
  // homozygous stretch longer than the SNPs' heterozygosity allows.
  if (r.IsSelf) return r.CallReference[i] == kCallAB && std::min(r.AlleleStateA[i], r.AlleleStateB[i]) == 0;
  return !r.LohLikelihood.empty() && r.LohLikelihood[i] > kLohScore;
}

bool InformsLoh(const CAnalyzedData& r, std::int32_t i) { return !r.IsSelf || r.CallReference[i] == kCallAB; }

std::vector<PlantedSegment> PairedTumourSegments(const samplegen::SampleGenerator& g) {
  return {Stretch(g, 3, 0.10, 0.45, 1, 0), Stretch(g, 8, 0.40, 0.95, 2, 1), Stretch(g, 17, 0.05, 0.50, 2, 0)};
}

std::vector<PlantedSegment> UnpairedTumourSegments(const samplegen::SampleGenerator& g) {
  return {Stretch(g, 5, 0.20, 0.60, 1, 0), Stretch(g, 11, 0.50, 0.95, 2, 0), Stretch(g, 20, 0.30, 1.00, 2, 2)};
}

std::vector<CalledSegment> CalledSegments(const CAnalyzedData& r, const samplegen::SampleGenerator& g) {
  std::vector<CalledSegment> called;
  const auto scan = [&](int c, bool loh) {
    CalledSegment run{c, -1, -1, 2, loh};
    std::int32_t snps = 0;
    const auto close = [&] {
      if (run.FirstSnp >= 0 && snps >= kMinCalledSnps) called.push_back(run);
      run.FirstSnp = -1;
      snps = 0;
    };
    for (std::int32_t i = g.ChromosomeBegin(c); i < g.ChromosomeEnd(c); ++i) {
      if (r.ValidFlag[i] != 1 || (loh && !InformsLoh(r, i))) continue;
      const bool in = loh ? IsCalledLoh(r, i) : r.CopyNumberState[i] != 2;
      if (!in || (!loh && run.FirstSnp >= 0 && run.Copies != r.CopyNumberState[i])) close();
      if (!in) continue;
      if (run.FirstSnp < 0) {
        run.FirstSnp = i;
        run.Copies = r.CopyNumberState[i];
      }
      run.LastSnp = i;
      ++snps;
    }
    close();
  };
  for (int c = 1; c <= kChromosomeX; ++c) {
    scan(c, false);
    scan(c, true);
  }
  return called;
}

double ShareCalled(const CAnalyzedData& r, const PlantedSegment& s) {
  std::int32_t informative = 0, right = 0;
  for (std::int32_t i = s.FirstSnp; i <= s.LastSnp; ++i) {
    if (r.ValidFlag[i] != 1) continue;
    if (s.IsCopyNeutralLoh()) {
      if (!InformsLoh(r, i)) continue;
      right += IsCalledLoh(r, i) ? 1 : 0;
    } else {
      right += r.CopyNumberState[i] == s.TotalCopies() ? 1 : 0;
    }
    ++informative;
  }
  return informative == 0 ? 0.0 : double(right) / informative;
}

bool Overlaps(const CalledSegment& c, const PlantedSegment& p) {
  return c.Chromosome == p.Chromosome && c.FirstSnp <= p.LastSnp && p.FirstSnp <= c.LastSnp;
}

LoggingSink::LoggingSink(std::ostream& log) : log_(log), previous_(&platform::CurrentMessageSink()) {
  platform::SetMessageSink(this);
}

LoggingSink::~LoggingSink() { platform::SetMessageSink(previous_); }

int LoggingSink::Show(std::string_view text, UINT type) {
  log_ << "  message: " << text << "\n";
  return RecordingMessageSink::Show(text, type);
}

namespace {

SampleOutcome Compare(const std::string& resultFolder, const samplegen::GeneratedSample& sample,
                      const samplegen::SampleGenerator& generator) {
  SampleOutcome outcome;
  outcome.Sample = sample.Name;
  for (const char* extension : {".CFS", ".CFN", ".CFA"}) {
    const std::string file = sample.Name + extension;
    if (!platform::FileExists(resultFolder + file)) continue;
    CAnalyzedData result;
    result.LoadFileAllocating(resultFolder + file);
    outcome.ResultFile = file;
    outcome.Called = CalledSegments(result, generator);
    for (const PlantedSegment& s : sample.Spec.Segments) outcome.Planted.push_back({s, ShareCalled(result, s)});
    return outcome;
  }
  for (const PlantedSegment& s : sample.Spec.Segments) outcome.Planted.push_back({s, 0.0});
  return outcome;
}

std::vector<std::string> FilesBelow(const std::string& root) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files.push_back(std::filesystem::relative(entry.path(), root).string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

std::vector<CalledSegment> SampleOutcome::Unplanted() const {
  std::vector<CalledSegment> extra;
  for (const CalledSegment& c : Called) {
    const bool planted = std::any_of(Planted.begin(), Planted.end(),
                                     [&](const PlantedOutcome& p) { return Overlaps(c, p.Planted); });
    if (!planted) extra.push_back(c);
  }
  return extra;
}

void UseProgramFolder(const DemoFolders& folders) {
  ::setenv("QOVA_HOME", folders.Root.c_str(), 1);
  ::setenv("QOVA_CONFIG_HOME", folders.Root.c_str(), 1);
  platform::AppProfile().UseSettingsFile(folders.Root + "qova/QOVA.ini");
  platform::SetStartFolder(folders.Root);
}

void PrepareProgramFolder(const DemoFolders& folders, const std::vector<int>& families) {
  // The program's drive root and settings file are the folder's own.
  UseProgramFolder(folders);
  for (const std::string& f : {folders.Cel, folders.Library, folders.ArrayData, folders.Results, folders.Output}) {
    if (!platform::CreateFolders(f)) throw std::runtime_error("cannot create the folder " + f);
  }
  datagen::WriteDataFolder(folders.Data, families);
  WriteSettings(folders);
}

DemoOutcome RunDemo(const DemoOptions& options, std::ostream& log) {
  const DemoFolders folders(std::filesystem::absolute(options.Folder).lexically_normal().string());
  const int family = ArrayClassIndex(options.ArrayType);
  log << "Writing the data folder " << folders.Data << "\n";
  PrepareProgramFolder(folders, datagen::AllFamilies());

  DemoOutcome outcome;
  LoggingSink messages(log);
  platform::ui::SetBackend(nullptr);
  platform::ui::Headless().Reset();
  CGlobalData global;
  if (!global.Load()) throw std::runtime_error("the program cannot load its tables from " + folders.Data);
  const qova::document::ScopedApplicationData application(global);

  const samplegen::SampleGenerator generator(options.ArrayType, global.BasicData[family], options.Seed);
  const std::vector<DemoSample> samples = PlanSamples(options, generator);
  log << "Writing the array files of " << samples.size() << " " << options.ArrayType << " samples into "
      << folders.Cel << "\n";
  const std::vector<arraygen::SampleFiles> files = WriteArrayFiles(options, folders, generator, samples);

  // A run again starts from its array files: what an earlier run extracted
  // and analysed must not pass for this run's work.
  for (const DemoSample& s : samples) {
    for (const std::string& old : {folders.ArrayData + s.Sample.Name + ".CFH", folders.Results + s.Sample.Name + ".CFS",
                                   folders.Results + s.Sample.Name + ".CFN", folders.Results + s.Sample.Name + ".CFA"}) {
      if (platform::FileExists(old) && !platform::RemoveFile(old)) throw std::runtime_error("cannot remove " + old);
    }
  }
  {
    CQOVADoc doc;
    log << "Data > Extract Data\n";
    ExtractAll(doc, files);
    log << "Data > Sample Manager: " << kPairedTumour << ", self analysis\n";
    RunSampleManager(doc, kPairedTumour, {qova::resources::manager::kAlleleSpecificAnalysis});
    log << "Data > Sample Manager: " << kUnpairedTumour << ", non-self analysis with automatic references\n";
    RunSampleManager(doc, kUnpairedTumour,
                     {qova::resources::manager::kModeAutomatic, qova::resources::manager::kNonSelfAnalysis});
  }

  outcome.Messages = messages.Texts();
  outcome.Written = FilesBelow(folders.Root);
  for (const DemoSample& s : samples) {
    if (s.Sample.Spec.IsTest) outcome.Samples.push_back(Compare(folders.Results, s.Sample, generator));
  }
  return outcome;
}

namespace {

std::string CopiesText(int copies, bool loh) {
  if (loh) return "2 copies, LOH";
  return copies == 1 ? "1 copy" : std::to_string(copies) + " copies";
}

std::string RangeText(int chromosome, std::int32_t first, std::int32_t last) {
  return platform::Format("chr %2d  %6d-%-6d", chromosome, first, last);
}

}  // namespace

void PrintOutcome(const DemoOutcome& outcome, std::ostream& out) {
  out << "\nPlanted versus called segments (SNP position indexes)\n";
  out << platform::Format("%-9s %-13s %-25s %-15s %7s  %s\n", "sample", "result", "planted", "state", "called",
                          "called segments there");
  for (const SampleOutcome& s : outcome.Samples) {
    for (const PlantedOutcome& p : s.Planted) {
      std::string there;
      for (const CalledSegment& c : s.Called) {
        if (!Overlaps(c, p.Planted)) continue;
        there += (there.empty() ? "" : "; ") + platform::Format("%d-%d ", c.FirstSnp, c.LastSnp) +
                 CopiesText(c.Copies, c.Loh);
      }
      const PlantedSegment& seg = p.Planted;
      out << platform::Format("%-9s %-13s %-25s %-15s %6.1f%%  %s\n", s.Sample.c_str(),
                              s.ResultFile.empty() ? "(none)" : s.ResultFile.c_str(),
                              RangeText(seg.Chromosome, seg.FirstSnp, seg.LastSnp).c_str(),
                              CopiesText(seg.TotalCopies(), seg.IsCopyNeutralLoh()).c_str(), 100.0 * p.ShareCalled,
                              there.empty() ? "-" : there.c_str());
    }
    for (const CalledSegment& c : s.Unplanted()) {
      out << platform::Format("%-9s %-13s %-25s %-15s %7s  %s\n", s.Sample.c_str(), s.ResultFile.c_str(),
                              "(nothing planted)", "", "", (RangeText(c.Chromosome, c.FirstSnp, c.LastSnp) + " " +
                                                            CopiesText(c.Copies, c.Loh)).c_str());
    }
  }
}

}  // namespace demo
