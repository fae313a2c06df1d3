// The wx platform's own services: settings in the user's configuration
// file, the backup copy, the clock, and mail through xdg-email.
#include "support/GuiTest.h"

#include "ui/MailSender.h"
#include "ui/WxPlatform.h"

#include <wx/config.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

TEST(WxPlatformTest, SettingsLiveInTheUsersConfigurationFile) {
    SetRegistryKey("Veltrane");
    CWxPlatform platform;
    EXPECT_EQ(1, platform.ReadSettingInt("Settings", "AutoBackup", 1));
    platform.WriteSettingInt("Settings", "Compression", 1);
    platform.WriteSettingString("Recent File List", "File1", "/srv/rates.xml");
    EXPECT_EQ(1, platform.ReadSettingInt("Settings", "Compression", 0));
    EXPECT_EQ("/srv/rates.xml", platform.ReadSettingString("Recent File List", "File1", ""));
    const fs::path file = fs::path(std::getenv("XDG_CONFIG_HOME")) / "Quillmar" / "Quillmar.conf";
    const std::string text = ReadFileBytes(file.string());
    EXPECT_NE(std::string::npos, text.find("[Settings]\nCompression=1"));
    EXPECT_NE(std::string::npos, text.find("File1=/srv/rates.xml"));
}

// A settings file that is damaged, unreadable or gone gives the defaults.
TEST(WxPlatformTest, DamagedSettingsGiveTheDefaults) {
    const fs::path file = fs::path(std::getenv("XDG_CONFIG_HOME")) / "Quillmar" / "Quillmar.conf";
    const std::vector<std::string> damaged = {
        "[Settings]\nCompression=yes please\nAutoBackup=\n",
        std::string("\xff\xfe[\0S\0\x01\x02=\n[[[\n=\n", 18),
        "Compression=1\n[Settings\nAutoBackup=0x\n",
    };
    for (const std::string& text : damaged) {
        fs::create_directories(file.parent_path());
        {
            std::FILE* out = std::fopen(file.c_str(), "wb");
            ASSERT_NE(out, nullptr);
            std::fwrite(text.data(), 1, text.size(), out);
            std::fclose(out);
        }
        wxLogNull quiet;
        SetRegistryKey("Veltrane");
        CWxPlatform platform;
        EXPECT_EQ(0, platform.ReadSettingInt("Settings", "Compression", 0)) << text;
        EXPECT_EQ(1, platform.ReadSettingInt("Settings", "AutoBackup", 1)) << text;
        EXPECT_EQ("", platform.ReadSettingString("Recent File List", "File1", "")) << text;
    }
    // Unreadable, then gone with its folder.
    fs::permissions(file, fs::perms::none);
    {
        wxLogNull quiet;
        SetRegistryKey("Veltrane");
        CWxPlatform platform;
        EXPECT_EQ(1, platform.ReadSettingInt("Settings", "AutoBackup", 1));
    }
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    fs::remove_all(file.parent_path());
    wxLogNull quiet;
    SetRegistryKey("Veltrane");
    CWxPlatform platform;
    EXPECT_EQ(0, platform.ReadSettingInt("Settings", "Compression", 0));
    platform.WriteSettingInt("Settings", "Compression", 1);
    EXPECT_EQ(1, platform.ReadSettingInt("Settings", "Compression", 0));
}

TEST(WxPlatformTest, BackupCopyReplacesAnExistingFile) {
    CTestFolder folder;
    CWxPlatform platform;
    const std::string from = folder.Write("a.xml", "new");
    const std::string to = folder.Write("b.xml", "old");
    EXPECT_TRUE(platform.CopyFileReplacing(from, to));
    EXPECT_EQ("new", ReadFileBytes(to));
    EXPECT_FALSE(platform.CopyFileReplacing(folder.File("missing.xml"), to));
}

TEST(WxPlatformTest, LocalTimeIsNow) {
    CWxPlatform platform;
    std::tm local{};
    ASSERT_TRUE(platform.ReadLocalTime(local));
    const std::time_t now = std::time(nullptr);
    std::tm expected{};
    localtime_r(&now, &expected);
    EXPECT_EQ(expected.tm_year, local.tm_year);
    EXPECT_EQ(expected.tm_yday, local.tm_yday);
}

// A PATH whose xdg-email records its arguments and the attachment's bytes,
// and ends with code.
class CFakeXdgEmail {
public:
    explicit CFakeXdgEmail(int code) {
        const std::string script = "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + m_folder.File("args") +
                                   "'\nfor last; do :; done\ncat \"$last\" > '" +
                                   m_folder.File("attachment") + "'\nexit " + std::to_string(code) +
                                   "\n";
        const std::string program = m_folder.Write("xdg-email", script);
        fs::permissions(program, fs::perms::owner_all);
        wxGetEnv("PATH", &m_oldPath);
        wxSetEnv("PATH", m_folder.File("") + ":" + m_oldPath);
    }
    ~CFakeXdgEmail() { wxSetEnv("PATH", m_oldPath); }
    std::string Args() const { return ReadFileBytes(m_folder.File("args")); }
    std::string Attachment() const { return ReadFileBytes(m_folder.File("attachment")); }

private:
    CTestFolder m_folder;
    wxString m_oldPath;
};

// A document name with blanks, quotes, a leading dash, shell syntax and
// non-ASCII bytes reaches the mail program as one argument, untouched: no
// shell ever sees it.
TEST(MailSenderTest, OddDocumentNamesPassThroughUntouched) {
    CTestFolder folder;
    const std::string path = folder.Write("temp-save.xml", "<RATEFILE></RATEFILE>");
    const std::string name = "-rates 'q' \"x\" $(touch pwned) \xc3\xa9.xml";
    CFakeXdgEmail xdgEmail(0);
    EXPECT_EQ(MailResult::kSent, SendFileByMail(path, name));
    const std::string args = xdgEmail.Args();
    EXPECT_EQ(0u, args.find("--subject\n" + name + "\n--attach\n"));
    EXPECT_NE(std::string::npos, args.find("/" + name + "\n"));
    EXPECT_EQ("<RATEFILE></RATEFILE>", xdgEmail.Attachment());
    EXPECT_FALSE(fs::exists("pwned"));
}

TEST(MailSenderTest, XdgEmailGetsACopyOfTheFileAsAttachment) {
    CTestFolder folder;
    const std::string path = folder.Write("temp-save.xml", "<RATEFILE></RATEFILE>");
    CFakeXdgEmail xdgEmail(0);
    EXPECT_EQ(MailResult::kSent, SendFileByMail(path, "rates.xml"));
    const std::string args = xdgEmail.Args();
    EXPECT_EQ(0u, args.find("--subject\nrates.xml\n--attach\n"));
    // The attachment is a copy under the document's name, which outlives
    // the caller's temporary file.
    EXPECT_NE(std::string::npos, args.find("/rates.xml\n"));
    EXPECT_EQ(std::string::npos, args.find("temp-save"));
    EXPECT_EQ("<RATEFILE></RATEFILE>", xdgEmail.Attachment());
}

TEST(MailSenderTest, MissingMailProgramIsReportedAsSuch) {
    CTestFolder folder;
    const std::string path = folder.Write("rates.xml", "<RATEFILE></RATEFILE>");
    {
        CFakeXdgEmail noClient(3); // xdg-email: a required tool could not be found
        EXPECT_EQ(MailResult::kNoMailProgram, SendFileByMail(path, "rates.xml"));
    }
    {
        CFakeXdgEmail broken(4);
        EXPECT_EQ(MailResult::kFailed, SendFileByMail(path, "rates.xml"));
    }
    wxString oldPath;
    wxGetEnv("PATH", &oldPath);
    wxSetEnv("PATH", folder.File(""));
    EXPECT_EQ(MailResult::kNoMailProgram, SendFileByMail(path, "rates.xml"));
    wxSetEnv("PATH", oldPath);
}

} // namespace
