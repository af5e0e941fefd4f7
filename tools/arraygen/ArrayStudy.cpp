#include <atomic>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "platform/Paths.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/arraywriters/GenericWriter.h"

namespace arraygen {

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
  if (!arraywriters::WriteBytes(path, bytes)) throw std::runtime_error("cannot write " + path);
}

// What the list file names: the CHP file without the ".CHP" the import adds.
std::string ListedName(const SampleFiles& files) {
  const std::string& name = files.ChpFile;
  return name.size() >= 4 ? name.substr(0, name.size() - 4) : name;
}

std::string StudyListText(const ArrayStudy& study) {
  std::string text;
  const samplegen::Study& s = study.Study;
  const bool paired = !s.References.empty() && s.References.front().Spec.Individual == s.Test.Spec.Individual;
  text += ListedName(study.Samples[0]) + "\t" + (paired ? ListedName(study.Samples[1]) : "#TEST") + "\n";
  for (std::size_t i = paired ? 2 : 1; i < study.Samples.size(); ++i) {
    text += ListedName(study.Samples[i]) + "\t#REF\n";
  }
  return text;
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
        std::lock_guard<std::mutex> lock(failureLock);
        if (!failure) failure = std::current_exception();
        next = count;
      }
    }
  };
  std::vector<std::thread> pool;
  const std::size_t extra = std::min<std::size_t>(count, static_cast<std::size_t>(std::max(threads, 1))) - 1;
  for (std::size_t t = 0; t < extra; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace

SampleFiles WriteSampleFiles(const ArrayDesign& design, const std::string& dataFolder, const CArrayData& sample,
                             const SampleFileOptions& options) {
  SampleFiles files;
  files.Name = sample.Header.SampleName;
  files.CelFile = files.Name + ".CEL";
  files.ChpFile = files.Name + options.ChpSuffix;
  if (!platform::CreateFolders(dataFolder)) throw std::runtime_error("cannot create the folder " + dataFolder);
  const std::string celPath = platform::JoinPath(dataFolder, files.CelFile);
  if (!arraywriters::SaveCelFile(celPath, options.Cel, design.MakeCel(sample))) {
    throw std::runtime_error("cannot write " + celPath);
  }
  WriteFile(platform::JoinPath(dataFolder, files.ChpFile), ChpFileBytes(design, sample, files.CelFile, options));
  return files;
}

ArrayStudy WriteArrayStudy(const std::string& dataFolder, const std::string& libraryFolder,
                           const CBasicData& annotation, const ArrayStudySpec& spec) {
  ArrayStudy study;
  study.Study = samplegen::PlanStudy(spec.Study);
  const std::string& type = spec.Study.ArrayType;
  const ArrayDesign design(type, spec.Study.Seed, spec.RealisticLayout ? RealisticLayout(type) : spec.Layout);
  const samplegen::SampleGenerator generator(type, annotation, spec.Study.Seed);
  study.LibraryFile = LibraryFileName(type);

  std::vector<const samplegen::GeneratedSample*> samples{&study.Study.Test};
  for (const samplegen::GeneratedSample& reference : study.Study.References) samples.push_back(&reference);
  study.Samples.resize(samples.size());
  // Task 0 writes the library file while the others make samples.
  RunTasks(samples.size() + 1, spec.Threads, [&](std::size_t task) {
    if (task == 0) {
      if (!platform::CreateFolders(libraryFolder)) throw std::runtime_error("cannot create the folder " + libraryFolder);
      design.WriteCdf(platform::JoinPath(libraryFolder, study.LibraryFile), spec.Cdf);
      return;
    }
    const CArrayData sample = generator.Make(samples[task - 1]->Spec);
    study.Samples[task - 1] = WriteSampleFiles(design, dataFolder, sample, spec.Files);
  });

  study.ListFile = kStudyListFile;
  WriteFile(platform::JoinPath(dataFolder, study.ListFile), StudyListText(study));
  return study;
}

}  // namespace arraygen
