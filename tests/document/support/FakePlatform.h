// Test doubles for what the document asks of its platform: a scripted
// platform, a recording print device, a recording view and command state.
#pragma once

#include "document/CmdUI.h"
#include "document/MemorySettings.h"
#include "document/Platform.h"
#include "document/PrintDevice.h"
#include "document/View.h"

#include <ctime>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct CShownMessage {
    std::string strText;
    MsgIcon icon;
    MsgButtons buttons;
};

struct CSentMail {
    std::string strPath;
    std::string strName;
    std::string strContent; // the file's bytes when it was handed over
};

class CFakePlatform : public CMemorySettings<CPlatform> {
public:
    CFakePlatform();

    // Answers for questions (message boxes with more than an OK button), in
    // order; a question without a scripted answer fails the test.
    std::deque<MsgAnswer> m_answers;
    std::vector<CShownMessage> m_messages;

    // Paths the file dialogs return, in order; none left means "cancelled".
    std::deque<std::string> m_chosenFiles;
    std::vector<CFileDialogSpec> m_dialogs;

    std::vector<std::pair<std::string, std::string>> m_copies;

    std::tm m_now{};
    bool m_bClockWorks = true;

    std::vector<CSentMail> m_mails;
    bool m_bMailSucceeds = true;

    void SetNow(int month, int day, int year, int hour = 12, int minute = 0, int second = 0);
    // The texts of all messages shown so far.
    std::vector<std::string> MessageTexts() const;

    MsgAnswer ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons) override;
    std::string ChooseFile(const CFileDialogSpec& spec) override;
    bool CopyFileReplacing(const std::string& from, const std::string& to) override;
    bool ReadLocalTime(std::tm& local) override;
    bool SendMail(const std::string& path, const std::string& name) override;
};

class CRecordingView : public CView {
public:
    struct CCall {
        CView* pSender;
        CUpdateHint hint;
    };
    std::vector<CCall> m_calls;
    int m_nInitialUpdates = 0;

    void OnInitialUpdate() override {
        ++m_nInitialUpdates;
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView* sender, CUpdateHint hint) override { m_calls.push_back({sender, hint}); }
};

class CFakeCmdUI : public CCmdUI {
public:
    bool m_bEnabled = false;
    int m_nCheck = -1;
    void Enable(bool on) override { m_bEnabled = on; }
    void SetCheck(int check) override { m_nCheck = check; }
};

class CFakePrintDevice : public CPrintDevice {
public:
    struct CText {
        int page;
        int32_t x;
        int32_t y;
        std::string strText;
    };
    CTextMetrics m_metrics{200, 20, 120};
    // Every call in order, for checking the sequence of page operations.
    std::vector<std::string> m_calls;
    std::vector<CText> m_texts;
    std::vector<CFontSpec> m_fonts;
    int m_nPage = 1; // the platform has started the first page
    int m_nMapMode = 0;

    void SetMapMode(int mode) override;
    void SelectFont(const CFontSpec& font) override;
    CTextMetrics QueryTextMetrics() override;
    void StartPage() override;
    void EndPage() override;
    void EndDoc() override;
    void OutputText(int32_t x, int32_t y, const std::string& text) override;
};
