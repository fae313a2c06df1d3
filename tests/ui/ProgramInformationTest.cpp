#include "ui/ProgramInformation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct InformationCase {
    std::vector<std::string> args;
    const char* beginning; // nullptr: the command line is carried out
};

TEST(ProgramInformationTest, OnlyAFirstHelpOrVersionIsAnswered) {
    const std::vector<InformationCase> cases{
        {{}, nullptr},
        {{"samples/rates.xml"}, nullptr},
        {{"--help"}, "usage: quillmar [FILE]\n"},
        {{"--version"}, "quillmar 3.01.12092003\n"},
        {{"--help", "rates.xml"}, "usage: quillmar [FILE]\n"},
        // A file that follows a switch is the switch's, and "-help" is a
        // switch the program ignores.
        {{"-p", "--help"}, nullptr},
        {{"-help"}, nullptr},
        {{"/help"}, nullptr},
        {{"--HELP"}, nullptr},
    };
    for (const InformationCase& c : cases) {
        const std::optional<std::string> text = ProgramInformation(c.args);
        const std::string label = c.args.empty() ? "(nothing)" : c.args[0];
        if (c.beginning == nullptr) {
            EXPECT_FALSE(text.has_value()) << label;
        } else {
            ASSERT_TRUE(text.has_value()) << label;
            EXPECT_EQ(0u, text->rfind(c.beginning, 0)) << label << ": " << *text;
        }
    }
}

TEST(ProgramInformationTest, HelpNamesEverySwitchTheProgramKnows) {
    const std::string help = ProgramInformation({"--help"}).value();
    for (const char* word : {"-p FILE", "-pt FILE PRINTER DRIVER PORT", "-Unregister",
                             "-Unregserver", "-Embedding", "--version"}) {
        EXPECT_NE(std::string::npos, help.find(word)) << word;
    }
}

} // namespace
