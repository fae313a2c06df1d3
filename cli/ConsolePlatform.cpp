#include "cli/ConsolePlatform.h"

#include "document/LocalClock.h"
#include "document/SafeFileWriter.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"

void CConsolePlatform::FixDate(int month, int day, int year) {
    m_date = CDateFix{month, day, year};
}

void CConsolePlatform::QueueChosenFile(std::string path) {
    m_chosenFiles.push_back(std::move(path));
}

std::vector<CConsoleMessage> CConsolePlatform::TakeMessages() {
    std::vector<CConsoleMessage> messages;
    messages.swap(m_messages);
    return messages;
}

MsgAnswer CConsolePlatform::ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons) {
    m_messages.push_back({text, icon});
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::YesNo:
        return MsgAnswer::No;
    case MsgButtons::YesNoCancel:
        break;
    }
    return MsgAnswer::Cancel;
}

std::string CConsolePlatform::ChooseFile(const CFileDialogSpec& /*spec*/) {
    if (m_chosenFiles.empty()) {
        return {};
    }
    std::string path = std::move(m_chosenFiles.front());
    m_chosenFiles.pop_front();
    return path;
}

bool CConsolePlatform::CopyFileReplacing(const std::string& from, const std::string& to) {
    return ::CopyFileReplacing(from, to);
}

bool CConsolePlatform::ReadLocalTime(std::tm& local) {
    std::tm now{};
    const bool clockWorks = ReadLocalClock(now);
    if (!m_date) {
        if (clockWorks) {
            local = now;
        }
        return clockWorks;
    }
    // Without a clock the fixed date stands at midnight.
    now.tm_mday = m_date->nDay;
    now.tm_mon = m_date->nMonth - 1;
    now.tm_year = m_date->nYear - 1900;
    now.tm_wday = 0;
    now.tm_yday = 0;
    local = now;
    return true;
}

bool CConsolePlatform::SendMail(const std::string& /*path*/, const std::string& /*name*/) {
    ShowMessage(CStringTable::Get(AFX_IDP_FAILED_TO_SEND_MAIL), MsgIcon::Exclamation,
                MsgButtons::Ok);
    return false;
}
