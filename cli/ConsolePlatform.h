// CConsolePlatform: the platform of a console program. There is no one to
// answer a dialog: messages are kept for the command to pass on to standard
// output or standard error, questions are answered Cancel (or No), and the
// file choosers return the file the command line names. Settings live in
// memory with their defaults, so the tool neither reads nor changes the
// desktop application's settings.
#pragma once

#include "document/MemorySettings.h"
#include "document/Platform.h"

#include <ctime>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct CConsoleMessage {
    std::string strText;
    MsgIcon icon = MsgIcon::None;
};

class CConsolePlatform : public CMemorySettings<CPlatform> {
public:
    // From now on the local date is month/day/year; the time of day stays
    // the clock's.
    void FixDate(int month, int day, int year);
    // The next file chooser returns path, as if the user had chosen it.
    void QueueChosenFile(std::string path);
    // The messages shown since the last call, oldest first.
    std::vector<CConsoleMessage> TakeMessages();

    MsgAnswer ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons) override;
    std::string ChooseFile(const CFileDialogSpec& spec) override;
    bool CopyFileReplacing(const std::string& from, const std::string& to) override;
    bool ReadLocalTime(std::tm& local) override;
    // There is no mail system on a console: reports that and sends nothing.
    bool SendMail(const std::string& path, const std::string& name) override;

private:
    struct CDateFix {
        int nMonth;
        int nDay;
        int nYear;
    };

    std::vector<CConsoleMessage> m_messages;
    std::deque<std::string> m_chosenFiles;
    std::optional<CDateFix> m_date;
};
