#include "platform/Strings.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/arraywriters/GenericChpWriter.h"
#include "tools/arraywriters/LegacyChpWriters.h"

namespace arraygen {

namespace {

constexpr const char* kAlgorithmName = "BRLMM";
constexpr const char* kAlgorithmVersion = "1.0";
constexpr const char* kProgramId = "arraygen";

std::string CalledGender(const CArrayData& sample, const SampleFileOptions& options) {
  return options.CalledGender.value_or(sample.Header.Sex);
}

std::string XdaChpBytes(const ArrayDesign& design, const CArrayData& sample, const std::string& celFile,
                        const SampleFileOptions& options) {
  arraywriters::XdaChpFile chp;
  chp.cols = design.Layout().cols;
  chp.rows = design.Layout().rows;
  chp.assayType = arraywriters::kChpGenotyping;
  chp.progId = kProgramId;
  chp.parentCelFile = celFile;
  chp.chipType = design.ArrayType();
  chp.algorithmName = kAlgorithmName;
  chp.algorithmVersion = kAlgorithmVersion;
  chp.algorithmParameters = {{"Prior", "default"}};
  chp.summaryParameters = {{options.GenderParameter, CalledGender(sample, options)}};
  if (options.Gender) chp.summaryParameters.push_back({"Gender", *options.Gender});
  for (std::uint8_t call : design.ChpCalls(sample)) {
    arraywriters::XdaGenotypeRecord record;
    record.call = call;
    record.value1 = call == kChpNoCall ? 0.5f : 0.01f;
    chp.genotyping.push_back(record);
  }
  return chp.Bytes();
}

std::string OlderChpBytes(const ArrayDesign& design, const CArrayData& sample, const std::string& celFile,
                          const SampleFileOptions& options) {
  arraywriters::OlderChpFile chp;
  chp.algorithmName = kAlgorithmName;
  chp.algorithmVersion = kAlgorithmVersion;
  chp.algorithmParameterText = "Prior=default";
  chp.summaryParameterText = options.GenderParameter + "=" + CalledGender(sample, options);
  if (options.Gender) chp.summaryParameterText += " Gender=" + *options.Gender;
  chp.rows = design.Layout().rows;
  chp.cols = design.Layout().cols;
  chp.chipType = design.ArrayType();
  chp.parentCelFile = celFile;
  chp.progId = kProgramId;
  const std::vector<std::uint8_t> calls = design.ChpCalls(sample);
  chp.probeSetTypes.assign(calls.size(), arraywriters::kOlderGenotypingType);
  for (std::uint8_t call : calls) {
    arraywriters::OlderGenotypeRecord record;
    record.call = call;
    record.value1 = call == kChpNoCall ? 0.5f : 0.01f;
    chp.genotyping.push_back(record);
  }
  return chp.Bytes();
}

std::string GenericChpBytes(const ArrayDesign& design, const CArrayData& sample, const std::string& celFile,
                            const SampleFileOptions& options) {
  arraywriters::GenericChpFile chp;
  chp.fileId = "arraygen-" + sample.Header.SampleName;
  chp.arrayType = platform::Widen(design.ArrayType());
  chp.algorithmName = platform::Widen(kAlgorithmName);
  chp.algorithmVersion = platform::Widen(kAlgorithmVersion);
  chp.parentCelFile = platform::Widen(celFile);
  chp.progId = platform::Widen(kProgramId);
  chp.celRows = design.Layout().rows;
  chp.celCols = design.Layout().cols;
  chp.algorithmParameters = {arraywriters::TextParameter(u"Prior", u"default")};
  chp.summaryParameters = {arraywriters::TextParameter(platform::Widen(options.GenderParameter),
                                                       platform::Widen(CalledGender(sample, options)))};
  if (options.Gender) {
    chp.summaryParameters.push_back(arraywriters::TextParameter(u"Gender", platform::Widen(*options.Gender)));
  }
  const std::vector<std::uint8_t> calls = design.ChpCalls(sample);
  chp.genotyping.resize(calls.size());
  for (std::size_t i = 0; i < calls.size(); ++i) {
    arraywriters::GenericGenotypeRow& row = chp.genotyping[i];
    row.probeSetName = design.Layout().probeSets[i].name;
    row.call = calls[i];
    row.values[0] = calls[i] == kChpNoCall ? 0.5f : 0.01f;
  }
  return arraywriters::GenericChpBytes(chp);
}

}  // namespace

std::string ChpFileBytes(const ArrayDesign& design, const CArrayData& sample, const std::string& celFile,
                         const SampleFileOptions& options) {
  switch (options.Chp) {
    case ChpForm::kXda: return XdaChpBytes(design, sample, celFile, options);
    case ChpForm::kOlder: return OlderChpBytes(design, sample, celFile, options);
    case ChpForm::kGeneric: return GenericChpBytes(design, sample, celFile, options);
  }
  return {};
}

}  // namespace arraygen
