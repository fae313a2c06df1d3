// quillmar-cli tree: the tree pane's outline, labels and order.
#include "support/CliRunner.h"
#include "support/TestFiles.h"

#include "document/TreeLabels.h"
#include "xml/XmlDocument.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace {

class TreeCommandTest : public ::testing::Test {
protected:
    CTestFolder m_folder;

    std::string File(const std::string& name, const std::string& text) {
        const std::string path = m_folder.File(name);
        WriteFileText(path, text);
        return path;
    }
};

constexpr const char* kPlans = R"(<?xml version="1.0"?>
<RATEFILE>
  <HEADER><VENDOR>V</VENDOR></HEADER>
  <CUSTOMER>
    <CONTRACTNUM>1</CONTRACTNUM>
    <INSURANCEPLAN>
      <PLANKEY>K</PLANKEY>
      <DPKEY>D</DPKEY>
      <plandesc>  Lower case child  </plandesc>
      <EXPIRATIONDATE></EXPIRATIONDATE>
      <rate><TERM>1</TERM><PREMIUM>2</PREMIUM></rate>
      <Rate><B></B><A></A></Rate>
    </INSURANCEPLAN>
    <INSURANCEPLAN><PLANKEY>K2</PLANKEY></INSURANCEPLAN>
    <InsurancePlan><PLANKEY>K3</PLANKEY><PLANDESC>mixed</PLANDESC><DPKEY></DPKEY></InsurancePlan>
  </CUSTOMER>
</RATEFILE>
)";

} // namespace

TEST_F(TreeCommandTest, LabelsAndSortsAsTheTreePane) {
    const CCliRun run = RunCli({"tree", File("plans.xml", kPlans)});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ("", run.strErr);
    // Only a plan's children are sorted, by label with case ignored (equal
    // labels keep their order); an element named in other letters is no plan.
    EXPECT_EQ("RATEFILE\n"
              "  HEADER\n"
              "    VENDOR\n"
              "  CUSTOMER\n"
              "    CONTRACTNUM\n"
              "    INSURANCEPLAN - Lower case child\n"
              "      DPKEY\n"
              "      EXPIRATIONDATE\n"
              "      plandesc\n"
              "      PLANKEY\n"
              "      rate\n"
              "        TERM\n"
              "        PREMIUM\n"
              "      Rate\n"
              "        B\n"
              "        A\n"
              "    INSURANCEPLAN - \n"
              "      PLANKEY\n"
              "    InsurancePlan\n"
              "      PLANKEY\n"
              "      PLANDESC\n"
              "      DPKEY\n",
              run.strOut);
}

TEST_F(TreeCommandTest, SampleOutline) {
    const CCliRun run = RunCli({"tree", SourceFile("samples/rates.xml")});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ(ReadFileText(SourceFile("tests/cli/data/rates-tree.txt")), run.strOut);
}

TEST_F(TreeCommandTest, AnyWellFormedFileHasAnOutline) {
    const CCliRun run = RunCli({"tree", File("other.xml", "<ROOTNODE>Root Node Text</ROOTNODE>")});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ("ROOTNODE\n", run.strOut);
}

TEST_F(TreeCommandTest, DamagedFilesAndLostOutputFail) {
    const std::string damaged = File("damaged.xml", "<RATEFILE><CUSTOMER><INSURANCEPLAN>");
    CCliRun run = RunCli({"tree", damaged});
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ("", run.strOut);
    EXPECT_NE(std::string::npos,
              run.strErr.find(damaged + ":1:21: error 1: Error reading XML file."));

    CCliOptions full;
    full.strStdoutFile = "/dev/full";
    run = RunCli({"tree", SourceFile("samples/rates.xml")}, full);
    EXPECT_EQ(3, run.nStatus);
    EXPECT_EQ("quillmar-cli: standard output: the output could not be written.\n", run.strErr);
}

TEST(TreeLabelsTest, ImagesLabelsAndOrder) {
    CXmlDocument document;
    ASSERT_TRUE(document.LoadBytes(kPlans, std::char_traits<char>::length(kPlans)));
    const CXmlNode* root = document.GetRoot();
    const CXmlNode* customer = root->FindChild("CUSTOMER", 0);
    const CXmlNode* plan = customer->FindChild("INSURANCEPLAN", 0);
    const CXmlNode* mixed = customer->FindChild("INSURANCEPLAN", 2);
    EXPECT_EQ(TreeImage::kRateFile, TreeItemImage(*root));
    EXPECT_EQ(TreeImage::kHeader, TreeItemImage(*root->GetChild(0)));
    EXPECT_EQ(TreeImage::kCustomer, TreeItemImage(*customer));
    EXPECT_EQ(TreeImage::kPlan, TreeItemImage(*plan));
    EXPECT_EQ(TreeImage::kElement, TreeItemImage(*mixed));
    EXPECT_EQ(TreeImage::kElement, TreeItemImage(*customer->GetChild(0)));
    EXPECT_TRUE(TreeItemLabel(*plan).Equals("INSURANCEPLAN - Lower case child"));
    EXPECT_TRUE(TreeItemLabel(*mixed).Equals("InsurancePlan"));
    EXPECT_TRUE(SortsChildrenByLabel(*plan));
    EXPECT_FALSE(SortsChildrenByLabel(*mixed));

    EXPECT_TRUE(TreeLabelLess("abc", "ABD"));
    EXPECT_FALSE(TreeLabelLess("ABC", "abc"));
    EXPECT_FALSE(TreeLabelLess("abc", "ABC"));
    EXPECT_TRUE(TreeLabelLess("AB", "abc"));
    EXPECT_TRUE(TreeLabelLess("Z", "\xe9")); // bytes above 127 after the letters

    const std::vector<const CXmlNode*> children = TreeItemChildren(*plan);
    ASSERT_EQ(6u, children.size());
    EXPECT_TRUE(children[0]->NameRef().Equals("DPKEY"));
    EXPECT_TRUE(children[4]->NameRef().Equals("rate"));
    EXPECT_TRUE(children[5]->NameRef().Equals("Rate"));
    EXPECT_EQ(customer->GetChild(1), TreeItemChildren(*customer)[1]);
}

// 50,000 levels make a file of 350 KB whose outline, two blanks a level,
// would be 2.5 GB: refused before a byte of it is written.
TEST_F(TreeCommandTest, OutlineLongerThanTheLongestRateFileIsRefused) {
    constexpr uint64_t kLevels = 50000;
    std::string deep;
    for (uint64_t level = 0; level < kLevels; ++level) {
        deep += "<A>";
    }
    for (uint64_t level = 0; level < kLevels; ++level) {
        deep += "</A>";
    }
    const std::string path = File("deep.xml", deep);
    const CCliRun run = RunCli({"tree", path});
    EXPECT_EQ(3, run.nStatus);
    EXPECT_EQ("", run.strOut);
    // Each level's line: two blanks a level, "A" and the line feed.
    const uint64_t outline = kLevels * (kLevels - 1) + 2 * kLevels;
    EXPECT_EQ("quillmar-cli: " + path + ": the outline would be " + std::to_string(outline) +
                  " bytes, more than the " + std::to_string(CXmlDocument::GetFileTextLimit()) +
                  " bytes of the longest rate file; nothing was written.\n",
              run.strErr);
}
