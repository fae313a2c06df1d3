#include "ui/CommandLineInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineTest, NothingMeansANewDocument) {
    EXPECT_EQ(CCommandLineInfo::FileNew, ParseCommandLine({}).m_nShellCommand);
}

TEST(CommandLineTest, APathMeansOpen) {
    const CCommandLineInfo info = ParseCommandLine({"samples/rates.xml"});
    EXPECT_EQ(CCommandLineInfo::FileOpen, info.m_nShellCommand);
    EXPECT_EQ("samples/rates.xml", info.m_strFileName);
}

TEST(CommandLineTest, AbsolutePathsAreNotSwitches) {
    const CCommandLineInfo info = ParseCommandLine({"/home/user/rates.xml"});
    EXPECT_EQ(CCommandLineInfo::FileOpen, info.m_nShellCommand);
    EXPECT_EQ("/home/user/rates.xml", info.m_strFileName);
}

TEST(CommandLineTest, PrintSwitchesWithSlashOrDash) {
    for (const char* flag : {"/p", "-p"}) {
        const CCommandLineInfo info = ParseCommandLine({flag, "a.xml"});
        EXPECT_EQ(CCommandLineInfo::FilePrint, info.m_nShellCommand) << flag;
        EXPECT_EQ("a.xml", info.m_strFileName);
    }
    const CCommandLineInfo to = ParseCommandLine({"/pt", "a.xml", "Printer", "Driver", "Port"});
    EXPECT_EQ(CCommandLineInfo::FilePrintTo, to.m_nShellCommand);
    EXPECT_EQ("Printer", to.m_strPrinterName);
    EXPECT_EQ("Driver", to.m_strDriverName);
    EXPECT_EQ("Port", to.m_strPortName);
}

TEST(CommandLineTest, PrintSwitchesOnlyInLowerCase) {
    EXPECT_EQ(CCommandLineInfo::FileOpen, ParseCommandLine({"-P", "a.xml"}).m_nShellCommand);
    EXPECT_EQ(CCommandLineInfo::FileOpen, ParseCommandLine({"-PT", "a.xml"}).m_nShellCommand);
}

TEST(CommandLineTest, UnregisterInAnyCase) {
    for (const char* flag : {"/Unregister", "-UNREGISTER", "/unregserver", "-UnRegServer"}) {
        EXPECT_EQ(CCommandLineInfo::AppUnregister, ParseCommandLine({flag}).m_nShellCommand)
            << flag;
    }
    const CCommandLineInfo embedded = ParseCommandLine({"/Unregister", "-embedding"});
    EXPECT_TRUE(embedded.m_bRunEmbedded);
}

TEST(CommandLineTest, UnknownSwitchesAreIgnored) {
    const CCommandLineInfo info = ParseCommandLine({"-verbose", "a.xml"});
    EXPECT_EQ(CCommandLineInfo::FileOpen, info.m_nShellCommand);
    EXPECT_EQ("a.xml", info.m_strFileName);
}

TEST(CommandLineTest, DdeAndEmbeddingAlone) {
    EXPECT_EQ(CCommandLineInfo::FileDDE, ParseCommandLine({"/dde"}).m_nShellCommand);
    EXPECT_EQ(CCommandLineInfo::FileNothing, ParseCommandLine({"-Embedding"}).m_nShellCommand);
}

} // namespace
