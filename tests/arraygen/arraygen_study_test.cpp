#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Paths.h"
#include "tests/arraygen/ArrayGenTestSupport.h"
#include "tools/arraywriters/GenericWriter.h"
#include "tests/support/TempHome.h"

namespace {

using qova::test::FileBytes;

class ArrayStudyTest : public qova::test::TempHomeTest {
 protected:
  static arraygen::ArrayStudySpec Spec() {
    arraygen::ArrayStudySpec spec;
    spec.Study.ArrayType = "Mapping10K_Xba131";
    spec.Study.Seed = 9;
    spec.Study.NonSelfReferences = 2;
    spec.Study.Segments = {samplegen::CopyNumberSegment(1, 10, 60, 1)};
    spec.Layout = qova::test::SmallLayout(200);
    spec.Files.ChpSuffix = ".brlmm.CHP";
    return spec;
  }

  arraygen::ArrayStudy Write(const std::string& folder, const arraygen::ArrayStudySpec& spec) {
    return arraygen::WriteArrayStudy(Path(folder + "/data"), Path(folder + "/library"),
                                     qova::test::AnnotationOf(spec.Study.ArrayType), spec);
  }

  // Every file the study wrote, by name, with its bytes.
  std::map<std::string, std::string> Files(const std::string& folder, const arraygen::ArrayStudy& study) {
    std::map<std::string, std::string> files;
    files[study.LibraryFile] = FileBytes(Path(folder + "/library/" + study.LibraryFile));
    files[study.ListFile] = FileBytes(Path(folder + "/data/" + study.ListFile));
    for (const arraygen::SampleFiles& sample : study.Samples) {
      for (const std::string& name : {sample.CelFile, sample.ChpFile}) files[name] = FileBytes(Path(folder + "/data/" + name));
    }
    return files;
  }
};

TEST_F(ArrayStudyTest, WritesTheLibraryEverySamplesFilesAndTheSampleList) {
  const arraygen::ArrayStudy study = Write("a", Spec());
  EXPECT_EQ(study.LibraryFile, "Mapping10K_Xba131.CDF");
  ASSERT_EQ(study.Samples.size(), 4u);
  const char* names[] = {"Test01", "Test01N", "Ref01", "Ref02"};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(study.Samples[i].Name, names[i]);
    EXPECT_EQ(study.Samples[i].CelFile, std::string(names[i]) + ".CEL");
    EXPECT_EQ(study.Samples[i].ChpFile, std::string(names[i]) + ".brlmm.CHP");
    EXPECT_GT(FileBytes(Path("a/data/" + study.Samples[i].CelFile)).size(), 1000u);
    EXPECT_GT(FileBytes(Path("a/data/" + study.Samples[i].ChpFile)).size(), 200u);
  }
  EXPECT_EQ(FileBytes(Path("a/data/SampleList.txt")),
            "Test01.brlmm\tTest01N.brlmm\nRef01.brlmm\t#REF\nRef02.brlmm\t#REF\n");
  EXPECT_EQ(study.Study.Test.Spec.Segments, Spec().Study.Segments);
}

TEST_F(ArrayStudyTest, WithoutSelfReferenceTheTestIsListedAlone) {
  arraygen::ArrayStudySpec spec = Spec();
  spec.Study.WithSelfReference = false;
  spec.Study.NonSelfReferences = 1;
  Write("a", spec);
  EXPECT_EQ(FileBytes(Path("a/data/SampleList.txt")), "Test01.brlmm\t#TEST\nRef01.brlmm\t#REF\n");
}

TEST_F(ArrayStudyTest, SameSpecGivesTheSameBytesWhateverTheThreads) {
  arraygen::ArrayStudySpec spec = Spec();
  spec.Threads = 1;
  const auto one = Files("one", Write("one", spec));
  spec.Threads = 4;
  const auto four = Files("four", Write("four", spec));
  EXPECT_EQ(one, four);
  spec.Study.Seed = 10;
  const auto other = Files("other", Write("other", spec));
  EXPECT_NE(one.at("Test01.CEL"), other.at("Test01.CEL"));
}

TEST_F(ArrayStudyTest, AFileThatCannotBeWrittenStopsTheStudyWithItsName) {
  ASSERT_TRUE(arraywriters::WriteBytes(Path("blocked"), "a file where the data folder should be"));
  try {
    arraygen::WriteArrayStudy(Path("blocked"), Path("library"), qova::test::AnnotationOf("Mapping10K_Xba131"), Spec());
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("blocked"), std::string::npos) << e.what();
  }
}

// The command-line tool writes a study and says what it planted.
TEST_F(ArrayStudyTest, CommandLineWritesAStudyAndPrintsWhatWasPlanted) {
  const std::string output = Path("out.txt");
  const std::string command = std::string(QOVA_ARRAYGEN) + " --data " + Path("cli/data") + " --library " +
                              Path("cli/library") + " --type Mapping10K_Xba142 --references 1 --sex M" +
                              " --segment 1:5:40:1:0 --cel generic --chp older --cdf text > " + output;
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string printed = FileBytes(output);
  EXPECT_NE(printed.find("library\tMapping10K_Xba142.CDF\n"), std::string::npos) << printed;
  EXPECT_NE(printed.find("sample\tTest01\ttest\tTest01.CEL\tTest01.CHP\n"), std::string::npos) << printed;
  EXPECT_NE(printed.find("segment\tTest01\t1\t5\t40\t1\t0\n"), std::string::npos) << printed;
  EXPECT_NE(printed.find("sample\tRef01\treference\tRef01.CEL\tRef01.CHP\n"), std::string::npos) << printed;
  EXPECT_TRUE(platform::FileExists(Path("cli/library/Mapping10K_Xba142.CDF")));
  EXPECT_TRUE(platform::FileExists(Path("cli/data/Test01N.CEL")));

  const std::string bad = std::string(QOVA_ARRAYGEN) + " --data x --library y --cel nosuchform 2> " + Path("err.txt");
  EXPECT_NE(std::system(bad.c_str()), 0);
  EXPECT_NE(FileBytes(Path("err.txt")).find("usage: arraygen"), std::string::npos);
}

}  // namespace
