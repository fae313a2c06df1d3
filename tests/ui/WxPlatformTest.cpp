// The wx platform's own services: settings in the user's configuration
// file, the backup copy, the clock, and mail through xdg-email.
#include "support/GuiTest.h"

#include "document/SafeFileWriter.h"
#include "ui/MailSender.h"
#include "ui/WxPlatform.h"

#include <wx/config.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
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

// A backup copy may be read by those who may read the file it copies, and by
// nobody else, whatever file of that name was there and whatever the mask.
TEST(WxPlatformTest, BackupCopyHasTheRightsOfTheFileItCopies) {
    struct Case {
        fs::perms source;
        bool bDestinationExists;
    };
    const Case cases[] = {
        {fs::perms::owner_read | fs::perms::owner_write, false},
        {fs::perms::owner_read | fs::perms::owner_write, true},
        {fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read, true},
        {fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
             fs::perms::others_read,
         false},
    };
    CTestFolder folder;
    CWxPlatform platform;
    const std::function<bool(const std::string&, const std::string&)> copies[] = {
        [&](const std::string& from, const std::string& to) {
            return platform.CopyFileReplacing(from, to);
        },
        [](const std::string& from, const std::string& to) { return CopyFileReplacing(from, to); },
    };
    for (const mode_t mask : {mode_t{022}, mode_t{077}}) {
        const mode_t oldMask = umask(mask);
        for (size_t copy = 0; copy < 2; ++copy) {
            for (const Case& c : cases) {
                const std::string from = folder.Write("from.xml", "rates");
                fs::permissions(from, c.source);
                const std::string to = folder.File("backup.xml");
                fs::remove(to);
                if (c.bDestinationExists) {
                    folder.Write("backup.xml", "old");
                    fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write |
                                            fs::perms::group_all | fs::perms::others_all);
                }
                EXPECT_TRUE(copies[copy](from, to));
                EXPECT_EQ(c.source, fs::status(to).permissions())
                    << "copy " << copy << ", mask " << mask << ", source " << int(c.source);
                EXPECT_EQ("rates", ReadFileBytes(to));
            }
        }
        umask(oldMask);
    }
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

// A PATH whose xdg-email records its arguments, the attachment's bytes and
// the rights of the attachment's folder, and ends with code.
class CFakeXdgEmail {
public:
    explicit CFakeXdgEmail(int code) {
        const std::string script = "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + m_folder.File("args") +
                                   "'\nfor last; do :; done\ncat \"$last\" > '" +
                                   m_folder.File("attachment") +
                                   "'\nstat -c %a \"${last%/*}\" > '" + m_folder.File("mode") +
                                   "'\nexit " + std::to_string(code) + "\n";
        const std::string program = m_folder.Write("xdg-email", script);
        fs::permissions(program, fs::perms::owner_all);
        wxGetEnv("PATH", &m_oldPath);
        wxSetEnv("PATH", m_folder.File("") + ":" + m_oldPath);
    }
    ~CFakeXdgEmail() { wxSetEnv("PATH", m_oldPath); }
    std::string Args() const { return ReadFileBytes(m_folder.File("args")); }
    std::string Attachment() const { return ReadFileBytes(m_folder.File("attachment")); }
    std::string FolderRights() const { return ReadFileBytes(m_folder.File("mode")); }

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

// The copy lies in a new folder of the user's runtime folder that nobody else
// may enter, and goes once the mail program has no more use for it.
TEST(MailSenderTest, CopyIsPrivateAndRemovedWhenDone) {
    CTestFolder folder;
    const std::string path = folder.Write("rates.xml", "<RATEFILE></RATEFILE>");
    const fs::path runtime = folder.File("runtime");
    fs::create_directory(runtime);
    wxString oldRuntime;
    const bool hadRuntime = wxGetEnv("XDG_RUNTIME_DIR", &oldRuntime);
    wxSetEnv("XDG_RUNTIME_DIR", runtime.string());
    const auto copies = [&] {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(runtime)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    };
    {
        CFakeXdgEmail sent(0);
        EXPECT_EQ(MailResult::kSent, SendFileByMail(path, "rates.xml"));
        EXPECT_EQ(0u, sent.Args().find("--subject\nrates.xml\n--attach\n" + runtime.string() +
                                       "/quillmar-mail-"));
        EXPECT_EQ("700\n", sent.FolderRights());
        ASSERT_EQ(1u, copies().size()) << "kept while the mail program may read it";
        RemoveMailCopies();
        EXPECT_TRUE(copies().empty());
    }
    {
        CFakeXdgEmail broken(4);
        EXPECT_EQ(MailResult::kFailed, SendFileByMail(path, "rates.xml"));
        EXPECT_EQ("700\n", broken.FolderRights());
        EXPECT_TRUE(copies().empty()) << "a copy nobody took goes at once";
    }
    if (hadRuntime) {
        wxSetEnv("XDG_RUNTIME_DIR", oldRuntime);
    } else {
        wxUnsetEnv("XDG_RUNTIME_DIR");
    }
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
