// The known-genes table: its file rules, its queries and the shipped table.
#include "analysis/KnownGenes.h"

#include <regex>

#include "platform/File.h"
#include "platform/MessageBox.h"
#include "tests/support/TempHome.h"
#include "tools/datagen/DataGen.h"

namespace qova::test {
namespace {

class KnownGenesTest : public TempHomeTest {
 protected:
  KnownGenes LoadText(const std::string& text) {
    EXPECT_TRUE(platform::WriteWholeFile(Path("knowngenes.txt"), text));
    KnownGenes genes;
    EXPECT_TRUE(genes.Load(Path("knowngenes.txt")));
    return genes;
  }
  static std::string ShippedText() {
    std::string text;
    EXPECT_TRUE(platform::ReadWholeFile(datagen::ShippedKnownGenesPath(), text));
    return text;
  }

  platform::ScopedRecordingSink messages_;
};

TEST_F(KnownGenesTest, QueriesFollowTheFileRules) {
  const KnownGenes genes = LoadText(
      "chromosome\tstart\tend\tname\n"
      "1\t100\t200\tALPHA\n"
      "1\t\t\t150\t\t400\tBETA\n"             // runs of tabs separate once
      "1\t1000\t2000\tABCDEFGHIJKLMNOPQRST\n"  // 20 characters
      "Y\t100\t200\tONY\n"
      "chr2\t100\t200\tPREFIXED\n"
      "M\t1\t16000\tMITO\n"
      "3\t12x\tbad\tODD\n"                     // numbers up to the first non-digit
      "3\t50\t60\n"                            // no name
      "x\t500\t600\tLOWX\n"
      "23\t700\t800\tNUMX\n"
      "5\t10\t20\tEARLY\n"
      "4\t10\t20\tFOUR\n"
      "5\t30\t40\tLATE\n");                    // 5 again: only this group stays
  struct Case {
    int chromosome;
    std::int32_t from, to;
    const char* names;
  } cases[] = {
      {1, 200, 300, "ALPHA BETA "},    // ALPHA ends at 200
      {1, 401, 999, ""},
      {1, 50, 100, "ALPHA "},          // ALPHA starts at 100
      {1, 0, 5000, "ALPHA BETA ABCDEFGHIJKLMNO "},
      {2, 0, 1000000, ""},             // only "chr2", which is skipped
      {24, 0, 1000, ""},
      {0, 0, 1000, ""},
      {3, 0, 12, "ODD "},              // 12x reads as 12, "bad" as 0
      {3, 1, 100, ""},
      {23, 0, 1000, "LOWX NUMX "},
      {4, 0, 100, "FOUR "},
      {5, 0, 100, "LATE "},
      {22, 0, 2000000000, ""},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(genes.GenesInRange(test.chromosome, test.from, test.to), test.names)
        << test.chromosome << ":" << test.from << "-" << test.to;
  }
  EXPECT_EQ(genes.Genes().size(), 9u);  // EARLY is held but no query reaches it
  EXPECT_TRUE(messages_.Empty());
}

TEST_F(KnownGenesTest, HeaderOnlyAndMissingFilesHaveNoGenes) {
  KnownGenes genes = LoadText("chromosome\tstart\tend\tname\n");
  EXPECT_TRUE(genes.Genes().empty());
  for (int c = 1; c <= 23; ++c) EXPECT_EQ(genes.GenesInRange(c, 0, 300000000), "");

  genes = LoadText("c\ts\te\tn\n1\t1\t2\tONE\n");
  EXPECT_FALSE(genes.Load(Path("missing.txt")));
  EXPECT_TRUE(genes.Genes().empty());
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"knowngenes data cannot be loaded"});
}

TEST_F(KnownGenesTest, ShippedTableAnswersAlikeWithCrLfLinesAndNamesAWellKnownGene) {
  const std::string text = ShippedText();
  const KnownGenes shipped = LoadText(text);
  const KnownGenes crlf = LoadText(std::regex_replace(text, std::regex("\n"), "\r\n"));
  ASSERT_GT(shipped.Genes().size(), 800u);
  for (const KnownGene& gene : crlf.Genes()) EXPECT_EQ(gene.Name.find('\r'), std::string::npos) << gene.Name;
  for (int c = 1; c <= 23; ++c) {
    for (std::int32_t from = 0; from < 250000000; from += 5000000) {
      EXPECT_EQ(crlf.GenesInRange(c, from, from + 7000000), shipped.GenesInRange(c, from, from + 7000000));
    }
  }
  // NF1 on chromosome 17 (hg18 interval of the table).
  const std::smatch found = [&] {
    std::smatch match;
    EXPECT_TRUE(std::regex_search(text, match, std::regex("\n17\t([0-9]+)\t([0-9]+)\tNF1\n")));
    return match;
  }();
  ASSERT_EQ(found.size(), 3u);
  const std::string names = shipped.GenesInRange(17, std::stoi(found[1]), std::stoi(found[2]));
  EXPECT_NE((" " + names).find(" NF1 "), std::string::npos) << names;
}

}  // namespace
}  // namespace qova::test
