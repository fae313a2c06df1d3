// The document's merge against the plain reference merge on many random
// small rate files: byte-identical saved files and the same counts.
#include "document/QuillmarDoc.h"
#include "support/FakePlatform.h"
#include "support/ReferenceMerge.h"
#include "support/TestFiles.h"

#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

class CRandomRateFile {
public:
    explicit CRandomRateFile(std::mt19937& rng) : m_rng(rng) {}

    std::string Make() {
        std::string out = "<?xml version=\"1.0\"?>\n<RATEFILE>";
        if (Chance(80)) {
            out += "<HEADER>";
            for (int i = Pick(4); i > 0; --i) {
                out += Element(OneOf({"VENDOR", "Vendor", "ISSUEDATE", "NOTE"}), Word());
            }
            out += "</HEADER>";
        }
        for (int c = Pick(6); c > 0; --c) {
            out += Chance(10) ? Element("NOTE", "root item") : Customer();
        }
        return out + "</RATEFILE>";
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n)(m_rng); }
    bool Chance(int percent) { return Pick(99) < percent; }
    std::string OneOf(std::initializer_list<const char*> options) {
        const int index = Pick(static_cast<int>(options.size()) - 1);
        return *(options.begin() + index);
    }
    std::string Word() { return OneOf({"", "A", "b", "Gold Plan", "x&amp;y", "12"}); }
    static std::string Element(const std::string& name, const std::string& text) {
        return "<" + name + ">" + text + "</" + name + ">";
    }

    std::string Date() {
        if (Chance(15)) {
            return OneOf({"", "garbage", "12/2025", "2025-12-31", "3-14-2025"});
        }
        const int year = 2024 + Pick(2);
        const int month = 1 + Pick(11);
        const int day = 1 + Pick(27);
        return std::to_string(month) + "/" + std::to_string(day) + "/" + std::to_string(year);
    }

    std::string Plan() {
        std::string out = "<" + OneOf({"INSURANCEPLAN", "INSURANCEPLAN", "InsurancePlan"}) + ">";
        if (!Chance(10)) {
            out += Element(OneOf({"PLANKEY", "PLANKEY", "PlanKey"}),
                           OneOf({"K1", "K2", "K3", "", "k1"}));
        }
        if (!Chance(10)) {
            out += Element("DPKEY", OneOf({"", "D1", "D2"}));
        }
        if (!Chance(10)) {
            out += Element("PLANDESC", OneOf({"", "Old desc", "New desc", "Tire &amp; Wheel"}));
        }
        if (!Chance(20)) {
            out += Element("EXPIRATIONDATE", Date());
        }
        for (int r = Pick(2); r > 0; --r) {
            out += "<RATE>" + Element("TERM", std::to_string(12 * (1 + Pick(4)))) +
                   Element("PREMIUM", "0." + std::to_string(10 + Pick(80))) + "</RATE>";
        }
        const std::string name = out.substr(1, out.find('>') - 1);
        return out + "</" + name + ">";
    }

    // Mostly a few names, and now and then one of many, more than the
    // merge keeps prepared keys for.
    std::string ItemName() {
        if (Chance(30)) {
            return OneOf({"NOTE", "Note"}) + std::to_string(Pick(23));
        }
        return OneOf({"STATE", "NAME", "InsurancePlan"});
    }

    std::string Customer() {
        const std::string name = OneOf({"CUSTOMER", "CUSTOMER", "CUSTOMER", "Customer"});
        std::string out = "<" + name + ">";
        if (!Chance(10)) {
            out += Element(OneOf({"CONTRACTNUM", "CONTRACTNUM", "ContractNum"}),
                           OneOf({"100", "200", "300", ""}));
        }
        if (Chance(5)) {
            out += Element("CONTRACTNUM", OneOf({"100", "400"}));
        }
        for (int i = Pick(5); i > 0; --i) {
            out += Chance(25) ? Element(ItemName(), Word()) : Plan();
        }
        return out + "</" + name + ">";
    }

    std::mt19937& m_rng;
};

constexpr int kRounds = 1000;

TEST(MergeAgainstReference, RandomRateFilesGiveTheSameFilesAndCounts) {
    std::mt19937 rng(20031209);
    CRandomRateFile generator(rng);
    CTestFolder folder;
    const std::string basePath = folder.File("base.xml");
    const std::string incomingPath = folder.File("incoming.xml");
    for (int round = 0; round < kRounds; ++round) {
        const std::string base = generator.Make();
        const std::string incoming = round % 10 == 0 ? base : generator.Make();
        WriteFileText(basePath, base);
        WriteFileText(incomingPath, incoming);

        CFakePlatform platform; // today is fixed
        platform.SetNow(6, 15, 2025);
        CQuillmarDoc doc(platform);
        ASSERT_TRUE(doc.DoOpen(basePath));
        doc.MergeRateFile(incomingPath);
        CXmlString merged;
        ASSERT_TRUE(doc.SerializeStore(merged));

        CXmlDocument loaded;
        CXmlDocument delivered;
        ASSERT_TRUE(loaded.Load(basePath.c_str())) << base;
        ASSERT_TRUE(delivered.Load(incomingPath.c_str())) << incoming;
        CDate today;
        today.ParseText("6/15/2025");
        const ReferenceMergeResult expected =
            ReferenceMerge(loaded.GetRoot(), delivered.GetRoot(), today);
        CXmlString reference = loaded.GetHeader();
        int32_t depth = -1;
        loaded.GetRoot()->Write(reference, depth, false);

        ASSERT_EQ(std::string(merged.GetBuffer()), std::string(reference.GetBuffer()))
            << "base:\n"
            << base << "\nincoming:\n"
            << incoming;
        ASSERT_EQ(doc.GetPlansImported(), expected.nImported) << base << "\n" << incoming;
        ASSERT_EQ(doc.GetPlansMatched(), expected.nMatched) << base << "\n" << incoming;
    }
}

} // namespace
