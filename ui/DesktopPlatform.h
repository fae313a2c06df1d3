// CDesktopPlatform: what the desktop application asks of its platform beyond
// what the document asks: message boxes with a caption of their own, print
// jobs and the printer set-up. The wx implementation shows real dialogs;
// tests answer them with a double.
#pragma once

#include "document/Platform.h"

#include <functional>
#include <string>

class CPrintDevice;
class CTextCodec;

// One print job of the listing.
struct CPrintJobSpec {
    // Shows the print dialog first; without it the job goes to the printer
    // named below, or to the default printer.
    bool bShowDialog = true;
    std::string strPrinterName;
    std::string strDriverName;
    std::string strPortName;
    // The job's name: the document's title.
    std::string strJobName;
    // How the document's bytes become characters on paper.
    const CTextCodec* pCodec = nullptr;
};

class CDesktopPlatform : public CPlatform {
public:
    // A modal message box captioned caption; returns the button chosen.
    virtual MsgAnswer ShowCaptionedMessage(const std::string& text, const std::string& caption,
                                           MsgIcon icon, MsgButtons buttons) = 0;

    // Runs one print job: shows the print dialog (unless bShowDialog is
    // off), starts the job and its first page, and calls print with the
    // printer's device, which print ends. False when the user cancelled or
    // the job could not start; a failure has been reported.
    virtual bool RunPrintJob(const CPrintJobSpec& spec,
                             const std::function<void(CPrintDevice&)>& print) = 0;

    // The printer set-up dialog; its choices apply to later print jobs.
    virtual void ShowPrintSetup() = 0;
};
