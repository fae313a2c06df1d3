#include "support/FakePlatform.h"

#include "support/TestFiles.h"

#include "document/SafeFileWriter.h"
#include "tests/support/ScriptedAnswers.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

CFakePlatform::CFakePlatform() {
    SetNow(3, 15, 2025, 9, 41, 7);
}

void CFakePlatform::SetNow(int month, int day, int year, int hour, int minute, int second) {
    m_now = std::tm{};
    m_now.tm_mon = month - 1;
    m_now.tm_mday = day;
    m_now.tm_year = year - 1900;
    m_now.tm_hour = hour;
    m_now.tm_min = minute;
    m_now.tm_sec = second;
}

std::vector<std::string> CFakePlatform::MessageTexts() const {
    std::vector<std::string> texts;
    for (const CShownMessage& message : m_messages) {
        texts.push_back(message.strText);
    }
    return texts;
}

MsgAnswer CFakePlatform::ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons) {
    m_messages.push_back({text, icon, buttons});
    return NextAnswer(m_answers, text, buttons);
}

std::string CFakePlatform::ChooseFile(const CFileDialogSpec& spec) {
    m_dialogs.push_back(spec);
    return NextChosenFile(m_chosenFiles);
}

bool CFakePlatform::CopyFileReplacing(const std::string& from, const std::string& to) {
    m_copies.emplace_back(from, to);
    return ::CopyFileReplacing(from, to);
}

bool CFakePlatform::ReadLocalTime(std::tm& local) {
    if (m_bClockWorks) {
        local = m_now;
    }
    return m_bClockWorks;
}

bool CFakePlatform::SendMail(const std::string& path, const std::string& name) {
    m_mails.push_back({path, name, ReadFileText(path)});
    return m_bMailSucceeds;
}

void CFakePrintDevice::SetMapMode(int mode) {
    m_nMapMode = mode;
    m_calls.push_back("SetMapMode " + std::to_string(mode));
}

void CFakePrintDevice::SelectFont(const CFontSpec& font) {
    m_fonts.push_back(font);
    m_calls.push_back("SelectFont");
}

CTextMetrics CFakePrintDevice::QueryTextMetrics() {
    m_calls.push_back("QueryTextMetrics");
    return m_metrics;
}

void CFakePrintDevice::StartPage() {
    ++m_nPage;
    m_calls.push_back("StartPage");
}

void CFakePrintDevice::EndPage() {
    m_calls.push_back("EndPage");
}

void CFakePrintDevice::EndDoc() {
    m_calls.push_back("EndDoc");
}

void CFakePrintDevice::OutputText(int32_t x, int32_t y, const std::string& text) {
    m_texts.push_back({m_nPage, x, y, text});
    m_calls.push_back("Text");
}
