#include "support/TestPlatform.h"

#include "document/SafeFileWriter.h"
#include "tests/support/ScriptedAnswers.h"

#include <gtest/gtest.h>

std::vector<std::string> CTestPlatform::BoxTexts() const {
    std::vector<std::string> texts;
    for (const CShownBox& box : m_boxes) {
        texts.push_back(box.strText);
    }
    return texts;
}

MsgAnswer CTestPlatform::ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons) {
    return ShowCaptionedMessage(text, "Quillmar", icon, buttons);
}

MsgAnswer CTestPlatform::ShowCaptionedMessage(const std::string& text, const std::string& caption,
                                              MsgIcon icon, MsgButtons buttons) {
    m_boxes.push_back({text, caption, icon, buttons});
    if (m_whileBoxUp) {
        m_whileBoxUp(m_boxes.back());
    }
    return NextAnswer(m_answers, text, buttons);
}

std::string CTestPlatform::ChooseFile(const CFileDialogSpec& spec) {
    m_fileDialogs.push_back(spec);
    return NextChosenFile(m_chosenFiles);
}

bool CTestPlatform::CopyFileReplacing(const std::string& from, const std::string& to) {
    m_copies.emplace_back(from, to);
    return ::CopyFileReplacing(from, to);
}

bool CTestPlatform::ReadLocalTime(std::tm& local) {
    local = std::tm{};
    local.tm_year = 2025 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 15;
    local.tm_hour = 12;
    return true;
}

bool CTestPlatform::SendMail(const std::string& path, const std::string& name) {
    m_mails.emplace_back(path, name);
    return m_bMailSucceeds;
}

bool CTestPlatform::RunPrintJob(const CPrintJobSpec& spec,
                                const std::function<void(CPrintDevice&)>& print) {
    m_printJobs.push_back(spec);
    if (spec.bShowDialog && !m_bPrintDialogAccepted) {
        return false;
    }
    print(m_printer);
    return true;
}
