// A merge killed at random moments while it writes its result over an
// existing file: the file is always the old or the new content, complete, and
// what the killed writes leave behind is harmless.
#include "support/CliRunner.h"
#include "support/TestFiles.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <regex>
#include <thread>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// Large enough that writing the result takes a while; smaller where the
// sanitizers slow every run down.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kCustomers = 600;
#else
constexpr int kCustomers = 2000;
#endif

// A rate file of customers plans each; the delivery differs in every plan.
std::string LargeRateFile(int customers, bool delivery) {
    std::string text = "<?xml version=\"1.0\"?>\r\n<RATEFILE>\r\n<HEADER><VENDOR>V</VENDOR>"
                       "</HEADER>\r\n";
    for (int c = 0; c < customers; ++c) {
        const std::string number = std::to_string(c);
        text += "<CUSTOMER><CONTRACTNUM>" + number + "</CONTRACTNUM>";
        for (int p = 0; p < 5; ++p) {
            const std::string key = number + "-" + std::to_string(p);
            text += "<INSURANCEPLAN><PLANKEY>" + key + "</PLANKEY><DPKEY>" +
                    (delivery ? "" : "D" + key) + "</DPKEY><PLANDESC>" +
                    (delivery ? "Vendor " : "Mine ") + key +
                    "</PLANDESC><EXPIRATIONDATE>12/31/2030</EXPIRATIONDATE>";
            for (int r = 0; r < 2; ++r) {
                text += "<RATE><TERM>" + std::to_string(12 * (r + 1)) + "</TERM><PREMIUM>" +
                        std::to_string(p) + (delivery ? ".51" : ".50") + "</PREMIUM></RATE>";
            }
            text += "</INSURANCEPLAN>";
        }
        text += "</CUSTOMER>\r\n";
    }
    return text + "</RATEFILE>\r\n";
}

class InterruptedMergeTest : public ::testing::Test {
protected:
    CTestFolder m_folder;
    std::string m_base = m_folder.File("base.xml");
    std::string m_incoming = m_folder.File("incoming.xml");
    std::string m_out = m_folder.File("merged.xml");

    std::vector<std::string> MergeArgs() const {
        return {"merge", m_base, m_incoming, "-o", m_out, "--today", "01/01/2025"};
    }

    // The temporary files of killed writes in the folder.
    std::vector<fs::path> TempFiles() const {
        static const std::regex pattern("merged\\.xml\\.~[0-9a-f]{16}\\.tmp");
        std::vector<fs::path> found;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_folder.Path())) {
            if (std::regex_match(entry.path().filename().string(), pattern)) {
                found.push_back(entry.path());
            }
        }
        return found;
    }
};

} // namespace

TEST_F(InterruptedMergeTest, KilledWritesLeaveTheOldOrTheNewFile) {
    WriteFileText(m_base, LargeRateFile(kCustomers, false));
    WriteFileText(m_incoming, LargeRateFile(kCustomers, true));

    // The result an uninterrupted merge writes, and how long it takes.
    const auto start = Clock::now();
    ASSERT_EQ(0, RunCli(MergeArgs()).nStatus);
    const auto full = Clock::now() - start;
    const std::string merged = ReadFileText(m_out);
    const std::string old = "the previous result, kept private\r\n";
    ASSERT_GT(merged.size(), 2000000u);

    std::mt19937 random(std::random_device{}());
    int killedWhileWriting = 0;
    constexpr int kRuns = 24;
    // A busy machine can make every kill miss the write: then it goes on
    // until one meets it, within a bound.
    constexpr int kMostRuns = 80;
    for (int run = 0; run < kRuns || (killedWhileWriting == 0 && run < kMostRuns); ++run) {
        WriteFileText(m_out, old);
        fs::permissions(m_out, fs::perms::owner_read | fs::perms::owner_write);
        const size_t tempsBefore = TempFiles().size();

        const pid_t pid = StartCli(MergeArgs());
        ASSERT_GT(pid, 0);
        if (run % 3 == 0) {
            // Anywhere in the run.
            std::uniform_int_distribution<int64_t> at(0, full.count());
            std::this_thread::sleep_for(Clock::duration(at(random)));
        } else {
            // Once the temporary file is there: somewhere in the write.
            const auto deadline = Clock::now() + 4 * full;
            while (TempFiles().size() == tempsBefore && Clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
            std::uniform_int_distribution<int> at(0, 20000);
            std::this_thread::sleep_for(std::chrono::microseconds(at(random)));
        }
        kill(pid, SIGKILL);
        const CCliRun ended = WaitCli(pid);
        ASSERT_TRUE(ended.nSignal == SIGKILL || ended.nStatus == 0);

        const std::string now = ReadFileText(m_out);
        ASSERT_TRUE(now == old || now == merged)
            << "run " << run << ": " << now.size() << " bytes, neither old nor new";
        EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write,
                  fs::status(m_out).permissions() & fs::perms::all);
        if (TempFiles().size() > tempsBefore) {
            ++killedWhileWriting;
        }
    }

    RecordProperty("KilledWhileWriting", killedWhileWriting);
    // A killed write leaves its temporary file, under a name of its own,
    // readable by its owner alone from the moment it was created, empty or
    // not; it stands in nobody's way.
    const std::vector<fs::path> temps = TempFiles();
    EXPECT_EQ(static_cast<size_t>(killedWhileWriting), temps.size());
    EXPECT_GT(killedWhileWriting, 0) << "no kill met a write";
    for (const fs::path& temp : temps) {
        EXPECT_EQ(fs::perms::none,
                  fs::status(temp).permissions() & (fs::perms::group_all | fs::perms::others_all))
            << temp << ", " << fs::file_size(temp) << " bytes";
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(temp)));
    }
    ASSERT_EQ(0, RunCli(MergeArgs()).nStatus);
    EXPECT_EQ(merged, ReadFileText(m_out));
}
