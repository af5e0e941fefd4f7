// Two maintenance commands of the main document: the called gender of the
// CHP files taken into their samples, and the cell layout of a library file
// written as text.
#include <fstream>
#include <sstream>

#include "document/DocumentCommands.h"
#include "platform/ui/CommonDialogs.h"
#include "tests/arraygen/ArrayGenTestSupport.h"
#include "tests/document/DocumentTestSupport.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/arraywriters/CdfWriters.h"
#include "tools/arraywriters/GenericWriter.h"

namespace qova::test {
namespace {

using Items = std::vector<std::string>;

class CalledGenderTest : public DocumentTest {
 protected:
  CalledGenderTest() : design_(kSmallType, 3, SmallLayout(30)) {}

  // A sample's .CFH with `sex`, and its CHP file stating the genders given.
  void Write(const std::string& name, const std::string& sex, arraygen::SampleFileOptions files, bool withSample = true) {
    samplegen::SampleSpec spec;
    spec.Name = name;
    spec.Sex = sex;
    const CArrayData sample = WriteSample(spec);
    arraygen::WriteSampleFiles(design_, Doc().DataFolder, sample, files);
    if (!withSample) platform::RemoveFile(SamplePath(name));
  }

  static arraygen::SampleFileOptions Chp(arraygen::ChpForm form, std::string called, std::optional<std::string> gender = {},
                                        std::string suffix = ".CHP") {
    arraygen::SampleFileOptions files;
    files.Chp = form;
    files.CalledGender = std::move(called);
    files.Gender = std::move(gender);
    files.ChpSuffix = std::move(suffix);
    return files;
  }

  arraygen::ArrayDesign design_;
};

TEST_F(CalledGenderTest, TheCalledGenderOfEveryChpFormBecomesTheSexOfItsSampleAndNothingElseChanges) {
  using arraygen::ChpForm;
  Write("A", "M", Chp(ChpForm::kXda, "F", "M"));       // CalledGender wins over Gender
  Write("B", "F", Chp(ChpForm::kOlder, "", "M"));      // an empty CalledGender defers to Gender
  Write("C", "M", Chp(ChpForm::kGeneric, "female"));   // a word is no gender
  Write("D", "F", Chp(ChpForm::kGeneric, "M", {}, ".brlmm-p.CHP"));
  Write("E", "F", Chp(ChpForm::kXda, "M"), false);     // no sample to update
  Write("G", "F", Chp(ChpForm::kXda, "M"));
  ASSERT_TRUE(arraywriters::WriteBytes(Doc().DataFolder + "G.CHP", "not a CHP file"));
  const std::string untouched = Bytes(SamplePath("G"));
  std::map<std::string, CArrayData> before;
  for (const char* name : {"A", "B", "C", "D"}) before[name] = LoadSample(name);

  Run(command::kUpdateGenderFromChp);

  EXPECT_EQ(Messages(), Items{"The called gender could not be taken over from these files:\nG.CHP"});
  const std::map<std::string, std::string> sex = {{"A", "F"}, {"B", "M"}, {"C", "M"}, {"D", "M"}};
  for (const auto& [name, expected] : sex) {
    const CArrayData after = LoadSample(name);
    EXPECT_EQ(after.Header.Sex, expected) << name;
    EXPECT_EQ(after.SignalA, before[name].SignalA) << name;
    EXPECT_EQ(after.SignalB, before[name].SignalB) << name;
    EXPECT_EQ(after.Call, before[name].Call) << name;
  }
  EXPECT_FALSE(Exists(SamplePath("E")));
  EXPECT_EQ(Bytes(SamplePath("G")), untouched);
}

class CdfDumpTest : public DocumentTest {
 protected:
  // Runs the command with the two file dialogs answered; returns the text.
  std::string Dump(const std::string& cdf, const std::string& out) {
    Ui().OnFileDialog([cdf, out](platform::ui::FileDialogRequest& r) {
      r.chosen = {r.open ? cdf : out};
      return true;
    });
    Run(command::kDumpCdf);
    return Bytes(out);
  }

  // What the dump of `layout` must say: each probe set's name and group
  // count, then the x and y of every cell; no quality-control set.
  static std::string Expected(const arraywriters::CdfLayout& layout) {
    std::ostringstream text;
    for (const arraywriters::CdfProbeSet& set : layout.probeSets) {
      text << set.name << '\t' << set.blocks.size();
      for (const arraywriters::CdfBlock& block : set.blocks) {
        for (const arraywriters::CdfCell& cell : block.cells) text << '\t' << cell.x << '\t' << cell.y;
      }
      text << '\n';
    }
    return text.str();
  }
};

TEST_F(CdfDumpTest, TextAndXdaLibrariesAreDumpedProbeSetByProbeSet) {
  arraywriters::SyntheticCdfOptions options;
  options.snpSets = 12;
  arraywriters::CdfLayout layout = arraywriters::MakeSyntheticCdfLayout(options);
  layout.probeSets.push_back({"EMPTY-1", arraywriters::kCdfExpression, 1, 0, 1, {}});
  ASSERT_FALSE(layout.qcSets.empty());
  for (const bool xda : {false, true}) {
    SCOPED_TRACE(xda ? "xda" : "text");
    const std::string cdf = Root() + (xda ? "x.cdf" : "t.cdf");
    std::ofstream file(platform::NativePath(cdf), std::ios::binary);
    if (xda) {
      arraywriters::WriteXdaCdf(file, layout);
    } else {
      arraywriters::WriteTextCdf(file, layout);
    }
    file.close();
    const std::string text = Dump(cdf, Root() + (xda ? "x.txt" : "t.txt"));
    EXPECT_EQ(text, Expected(layout));
    EXPECT_NE(text.find("\nEMPTY-1\t0\n"), std::string::npos);
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(CdfDumpTest, AGenericLibraryAMissingOneAndAnUnwritableOutputAreToldAndLeaveNoFile) {
  const arraygen::ArrayDesign design(kSmallType, 3, SmallLayout(10));
  design.WriteCdf(Root() + "g.cdf", arraygen::CdfForm::kGeneric);
  Dump(Root() + "g.cdf", Root() + "g.txt");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("The library file g.cdf cannot be read", 0), 0u) << Messages()[0];
  EXPECT_FALSE(Exists(Root() + "g.txt"));

  messages_.Clear();
  Dump(Root() + "none.cdf", Root() + "n.txt");
  EXPECT_EQ(Messages(), Items{"The library file none.cdf does not exist"});
  EXPECT_FALSE(Exists(Root() + "n.txt"));

  // An output that cannot be written is named as it is on disk, with why.
  design.WriteCdf(Root() + "x.cdf", arraygen::CdfForm::kXda);
  ASSERT_TRUE(platform::CreateFolders(Root() + "taken.txt/"));
  const struct {
    std::string out;
    std::string told;
  } unwritable[] = {
      {Root() + "no/such/folder/x.txt", "The file " + Root() + "no/such/folder/x.txt cannot be written: the folder " +
                                            Root() + "no/ does not exist"},
      {"c:\\Taken.TXT", "The file " + Root() + "taken.txt cannot be written: Access to " + Root() +
                             "taken.txt was denied."},
  };
  for (const auto& c : unwritable) {
    SCOPED_TRACE(c.out);
    messages_.Clear();
    Dump(Root() + "x.cdf", c.out);
    EXPECT_EQ(Messages(), Items{c.told});
  }
  EXPECT_FALSE(Exists(Root() + "no"));
}

}  // namespace
}  // namespace qova::test
