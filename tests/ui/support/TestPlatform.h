// A desktop platform that answers the application's dialogs from a script
// and records what the application asked of it: the message boxes with their
// captions, the file dialogs, the settings, the print jobs and the mails.
#pragma once

#include "document/MemorySettings.h"
#include "document/PrintDevice.h"
#include "ui/DesktopPlatform.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct CShownBox {
    std::string strText;
    std::string strCaption;
    MsgIcon icon;
    MsgButtons buttons;
};

// A print device that keeps every call, page by page.
class CRecordingPrintDevice : public CPrintDevice {
public:
    struct CText {
        int page;
        int32_t x;
        int32_t y;
        std::string strText;
    };
    CTextMetrics m_metrics{240, 0, 132};
    std::vector<CText> m_texts;
    std::vector<std::string> m_calls;
    int m_nPage = 1;

    void SetMapMode(int mode) override { m_calls.push_back("SetMapMode " + std::to_string(mode)); }
    void SelectFont(const CFontSpec& font) override {
        m_calls.push_back("SelectFont " + font.strFaceName);
    }
    CTextMetrics QueryTextMetrics() override { return m_metrics; }
    void StartPage() override {
        ++m_nPage;
        m_calls.push_back("StartPage");
    }
    void EndPage() override { m_calls.push_back("EndPage"); }
    void EndDoc() override { m_calls.push_back("EndDoc"); }
    void OutputText(int32_t x, int32_t y, const std::string& text) override {
        m_texts.push_back({m_nPage, x, y, text});
    }
};

class CTestPlatform : public CMemorySettings<CDesktopPlatform> {
public:
    // Answers for message boxes with more than an OK button, in order; one
    // asked without an answer fails the test and is cancelled.
    std::deque<MsgAnswer> m_answers;
    std::vector<CShownBox> m_boxes;
    // Called while a message box is "up", with the box; the box's modal loop
    // is where repaints and idle updates would run.
    std::function<void(const CShownBox&)> m_whileBoxUp;

    // Paths the file dialogs return, in order; none left means "cancelled".
    std::deque<std::string> m_chosenFiles;
    std::vector<CFileDialogSpec> m_fileDialogs;

    std::vector<std::pair<std::string, std::string>> m_copies;

    std::vector<std::pair<std::string, std::string>> m_mails;
    bool m_bMailSucceeds = true;

    // Print jobs: false cancels the dialog.
    bool m_bPrintDialogAccepted = true;
    std::vector<CPrintJobSpec> m_printJobs;
    CRecordingPrintDevice m_printer;
    int m_nPrintSetups = 0;

    // The texts of all message boxes shown so far.
    std::vector<std::string> BoxTexts() const;

    MsgAnswer ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons) override;
    std::string ChooseFile(const CFileDialogSpec& spec) override;
    bool CopyFileReplacing(const std::string& from, const std::string& to) override;
    bool ReadLocalTime(std::tm& local) override;
    bool SendMail(const std::string& path, const std::string& name) override;
    MsgAnswer ShowCaptionedMessage(const std::string& text, const std::string& caption,
                                   MsgIcon icon, MsgButtons buttons) override;
    bool RunPrintJob(const CPrintJobSpec& spec,
                     const std::function<void(CPrintDevice&)>& print) override;
    void ShowPrintSetup() override { ++m_nPrintSetups; }
};
