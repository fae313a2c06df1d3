// quillmar-cli format: the saved forms, to standard output or to a file, and
// destinations that cannot be written.
#include "support/CliRunner.h"
#include "support/EngineText.h"
#include "support/TestFiles.h"

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class FormatCommandTest : public ::testing::Test {
protected:
    CTestFolder m_folder;
    const std::string m_sample = SourceFile("samples/rates.xml");

    std::string File(const std::string& name, const std::string& text) {
        const std::string path = m_folder.File(name);
        WriteFileText(path, text);
        return path;
    }
};

} // namespace

TEST_F(FormatCommandTest, WritesTheSavedFormsToStandardOutput) {
    CCliRun run = RunCli({"format", m_sample});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ("", run.strErr);
    EXPECT_EQ(SavedText(m_sample, false), run.strOut);
    EXPECT_EQ(0u, run.strOut.find("<?xml version=\"1.0\"?><RATEFILE>"));
    EXPECT_NE(std::string::npos, run.strOut.find("Marsh &amp; Tolliver Motors"));

    run = RunCli({"format", "--compressed", m_sample});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ(SavedText(m_sample, true), run.strOut);
    EXPECT_EQ(std::string::npos, run.strOut.find('\n'));
}

TEST_F(FormatCommandTest, WritesToAFileAndReplacesIt) {
    const std::string out = File("out.xml", "old content");
    CCliRun run = RunCli({"format", m_sample, "-o", out});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ("", run.strOut);
    EXPECT_EQ("", run.strErr);
    EXPECT_EQ(SavedText(m_sample, false), ReadFileText(out));

    run = RunCli({"format", out, "--compressed", "-o", out});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ(SavedText(m_sample, true), ReadFileText(out));
    // No backup copy, no temporary file left.
    EXPECT_EQ((std::vector<std::string>{"out.xml"}), m_folder.List());
}

TEST_F(FormatCommandTest, AnyWellFormedFileIsFormatted) {
    const std::string other = File("other.xml", "<A><B>x &amp; y</B></A>");
    const CCliRun run = RunCli({"format", "--compressed", other});
    EXPECT_EQ(0, run.nStatus);
    EXPECT_EQ("<?xml version=\"1.0\"?><A><B>x &amp; y</B></A>", run.strOut);
}

TEST_F(FormatCommandTest, DamagedInputWritesNothing) {
    const std::string damaged = File("damaged.xml", "<RATEFILE><HEADER>");
    const std::string out = m_folder.File("out.xml");
    CCliRun run = RunCli({"format", damaged, "-o", out});
    EXPECT_EQ(1, run.nStatus);
    EXPECT_FALSE(fs::exists(out));
    run = RunCli({"format", damaged});
    EXPECT_EQ(1, run.nStatus);
    EXPECT_EQ("", run.strOut);
}

TEST_F(FormatCommandTest, UnwritableDestinationsAreLeftAsTheyWere) {
    const std::string failed = ": Failed to save document.\n";

    // A file without write permission.
    const std::string locked = File("locked.xml", "locked content");
    fs::permissions(locked, fs::perms::owner_read);
    CCliRun run = RunCli({"format", m_sample, "-o", locked});
    EXPECT_EQ(3, run.nStatus);
    EXPECT_EQ("quillmar-cli: " + locked + failed, run.strErr);
    EXPECT_EQ("locked content", ReadFileText(locked));

    // A folder, and a file in a folder that does not exist.
    fs::create_directory(m_folder.File("folder"));
    run = RunCli({"format", m_sample, "-o", m_folder.File("folder")});
    EXPECT_EQ(3, run.nStatus);
    EXPECT_TRUE(fs::is_directory(m_folder.File("folder")));
    const std::string nowhere = m_folder.File("no/such/folder.xml");
    run = RunCli({"format", m_sample, "-o", nowhere});
    EXPECT_EQ(3, run.nStatus);
    EXPECT_EQ("quillmar-cli: " + nowhere + failed, run.strErr);

    // Standard output that takes nothing.
    CCliOptions full;
    full.strStdoutFile = "/dev/full";
    run = RunCli({"format", m_sample}, full);
    EXPECT_EQ(3, run.nStatus);
    EXPECT_EQ("quillmar-cli: standard output" + failed, run.strErr);

    EXPECT_EQ((std::vector<std::string>{"folder", "locked.xml"}), m_folder.List());
}

namespace {

// Whether strace is installed and may trace a program here.
bool CanTrace() {
    try {
        return RunProgram("strace", {"-o", "/dev/null", "true"}).nStatus == 0;
    } catch (const std::exception&) {
        return false;
    }
}

// The first line at or after from that holds every one of parts; npos when
// there is none.
size_t FindLine(const std::vector<std::string>& lines, size_t from,
                const std::vector<std::string>& parts) {
    for (size_t index = from; index < lines.size(); ++index) {
        bool all = true;
        for (const std::string& part : parts) {
            all = all && lines[index].find(part) != std::string::npos;
        }
        if (all) {
            return index;
        }
    }
    return std::string::npos;
}

} // namespace

// A power cut after the save leaves the old or the new file: the new one is
// on the disk before it takes the old one's place, and its folder entry
// after.
TEST_F(FormatCommandTest, SavedFileReachesTheDiskBeforeAndAfterTheRename) {
    if (!CanTrace()) {
        GTEST_SKIP() << "strace is not installed or may not trace here (scripts/deps.sh "
                        "installs it); the order of the system calls cannot be seen";
    }
    const std::string out = File("out.xml", "old content");
    const std::string folder = fs::canonical(m_folder.Path()).string();
    const CTestFolder traceFolder;
    const std::string trace = traceFolder.File("trace.txt");
    // -y: file descriptors with their paths. The leak checker of a sanitizer
    // build cannot work under a tracer: it is left out.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    const std::string options =
        std::string("ASAN_OPTIONS=") + (sanitizer ? sanitizer : "") + ":detect_leaks=0";
    const CCliRun run = RunProgram("strace", {"-f", "-y", "-o", trace, "-E", options, "-e",
                                              "trace=fsync,fdatasync,rename,renameat,renameat2",
                                              CliPath(), "format", m_sample, "-o", out});
    ASSERT_EQ(0, run.nStatus) << run.strErr;
    EXPECT_EQ(SavedText(m_sample, false), ReadFileText(out));
    const std::string traced = ReadFileText(trace);
    std::vector<std::string> lines;
    {
        std::string line;
        for (char byte : traced) {
            if (byte == '\n') {
                lines.push_back(line);
                line.clear();
            } else {
                line += byte;
            }
        }
    }
    const std::string temp = folder + "/out.xml.~";
    const size_t synced = FindLine(lines, 0, {"sync(", "<" + temp, ".tmp>) = 0"});
    ASSERT_NE(std::string::npos, synced) << traced;
    const size_t renamed = FindLine(lines, synced, {"rename", ".tmp\", \"" + out + "\") = 0"});
    ASSERT_NE(std::string::npos, renamed) << "the rename comes after the file's sync";
    EXPECT_NE(std::string::npos, FindLine(lines, renamed, {"fsync(", "<" + folder + ">) = 0"}))
        << "the folder's sync comes after the rename";
}
