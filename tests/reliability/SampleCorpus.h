#pragma once
// The sample files of the malformed-file tests: one good extracted and one
// good analysed sample of a second-array type (its SNPs start far into the
// family table), written by the program's own stores, with field images that
// say where each field of the written bytes starts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "core/SampleFileList.h"
#include "platform/File.h"
#include "tests/reliability/HostileFiles.h"

namespace qova::reliability {

// "Mapping50K_Xba240": rows 57244..116203 of a family table of 116204.
inline constexpr int kCorpusType = 3;

inline CArrayData CorpusExtractedSample(const std::string& name) {
  CGlobalData tables;
  CArrayData sample(name, "Mapping50K_Xba240", tables.TypeInfo(kCorpusType), CTime(1190000000));
  sample.Header.IsTest = 1;
  sample.Header.Attribute1 = "liver";
  sample.Header.Sex = "F";
  sample.Header.SelfReference = name + "N";
  sample.Header.NonSelfReferenceCount = 2;
  sample.Header.NonSelfReferences = "R1$R2";
  for (std::int32_t i = sample.Header.FirstSnpIndex; i <= sample.Header.LastSnpIndex; ++i) {
    sample.SignalA[i] = 500.0f + static_cast<float>(i % 97);
    sample.SignalB[i] = 800.0f - static_cast<float>(i % 89);
    sample.Call[i] = i % 4;
    sample.SpareFlag[i] = static_cast<std::uint8_t>(i % 2);
  }
  // A state marker and a user marker, as the views would leave them.
  sample.Markers = {{5, 70000, 70500, 3}, {7, 80000, 80010, MarkerRegion::kUserMarkerBase + 2}};
  return sample;
}

inline CAnalyzedData CorpusAnalysedSample(const CArrayData& source, AnalysisKind kind) {
  CAnalyzedData sample(source, kind);
  for (std::int32_t i = source.Header.FirstSnpIndex; i <= source.Header.LastSnpIndex; ++i) {
    sample.LogRatio[i] = static_cast<float>(i % 13) * 0.01f;
    sample.CopyNumberState[i] = i % 7;
    sample.CallTest[i] = i % 4;
    if (kind != AnalysisKind::NonSelf) {
      sample.LogRatioA[i] = 0.25f;
      sample.LogRatioB[i] = -0.25f;
      sample.AlleleStateA[i] = i % 5;
      sample.AlleleStateB[i] = (i + 1) % 5;
      sample.CallReference[i] = (i + 2) % 4;
    }
    if (kind != AnalysisKind::Self) sample.LohLikelihood[i] = 0.5f;
  }
  sample.SampleSD = 0.21f;
  sample.MeanState = 2.01f;
  return sample;
}

inline std::size_t RecordCount(const SampleHeader& h) {
  return static_cast<std::size_t>(h.LastSnpIndex - h.FirstSnpIndex) + 1;
}

// The image of a stored .CFH; fails the test when it is not the file's bytes.
inline FieldImage ExtractedImage(const CArrayData& stored, const std::string& written) {
  FieldImage image;
  AppendSampleHeader(image, stored.Header);
  AppendMarkers(image, stored.Markers);
  AppendRecords(image, written, RecordCount(stored.Header), CArrayData::kSnpRecordSize);
  EXPECT_EQ(image.Bytes(), written) << "the .CFH image does not match the written file";
  return image;
}

inline std::size_t AnalysedRecordSize(AnalysisKind kind) {
  switch (kind) {
    case AnalysisKind::Self: return CAnalyzedData::kSelfRecordSize;
    case AnalysisKind::NonSelf: return CAnalyzedData::kNonSelfRecordSize;
    case AnalysisKind::NonSelfAllele: return CAnalyzedData::kNonSelfAlleleRecordSize;
  }
  return 0;
}

// The image of a stored .CFS/.CFN/.CFA of `kind`.
inline FieldImage AnalysedImage(const CAnalyzedData& stored, AnalysisKind kind, const std::string& written) {
  FieldImage image;
  AppendSampleHeader(image, stored.Header);
  AppendMarkers(image, stored.Markers);
  image.Field("IsSelf").U8(stored.IsSelf ? 1 : 0);
  image.Field("AnalysisArrayType").Str(stored.AnalysisArrayType);
  AppendRecords(image, written, RecordCount(stored.Header), AnalysedRecordSize(kind));
  image.Field("SampleSD").F32(stored.SampleSD);
  image.Field("MeanState").F32(stored.MeanState);
  EXPECT_EQ(image.Bytes(), written) << "the analysed image does not match the written file";
  return image;
}

// The file names the sample list of `kind` gives, in order (none when the
// list cannot be opened).
inline std::vector<std::string> ListedNames(const CProgramSetting& setting, int kind) {
  CSampleFileList list(setting);
  std::vector<std::string> names;
  if (!list.Open(kind)) return names;
  SampleHeader header;
  std::string name;
  while (list.ReadNext(header, name)) names.push_back(name);
  EXPECT_FALSE(list.IsOpen()) << "the list closes itself at its end";
  return names;
}

}  // namespace qova::reliability
