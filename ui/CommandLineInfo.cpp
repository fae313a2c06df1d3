#include "ui/CommandLineInfo.h"

#include <algorithm>
#include <cctype>

namespace {

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    const std::string other(b);
    return a.size() == other.size() &&
           std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Whether word names a switch in any letter case ("/P" is a switch, if one
// that does nothing, as "/p" is).
bool IsKnownSwitch(const std::string& word) {
    for (const char* name :
         {"p", "pt", "Unregister", "Unregserver", "dde", "Embedding", "Automation"}) {
        if (EqualsIgnoringCase(word, name)) {
            return true;
        }
    }
    return false;
}

} // namespace

void CCommandLineInfo::ParseParam(const std::string& param, bool isSwitch, bool last) {
    if (isSwitch) {
        if (param == "pt") {
            m_nShellCommand = FilePrintTo;
        } else if (param == "p") {
            m_nShellCommand = FilePrint;
        } else if (EqualsIgnoringCase(param, "Unregister") ||
                   EqualsIgnoringCase(param, "Unregserver")) {
            m_nShellCommand = AppUnregister;
        } else if (EqualsIgnoringCase(param, "dde")) {
            m_nShellCommand = FileDDE;
        } else if (EqualsIgnoringCase(param, "Embedding")) {
            m_bRunEmbedded = true;
        } else if (EqualsIgnoringCase(param, "Automation")) {
            m_bRunAutomated = true;
        }
        // Other switches are ignored.
    } else if (m_strFileName.empty()) {
        m_strFileName = param;
    } else if (m_nShellCommand == FilePrintTo) {
        if (m_strPrinterName.empty()) {
            m_strPrinterName = param;
        } else if (m_strDriverName.empty()) {
            m_strDriverName = param;
        } else if (m_strPortName.empty()) {
            m_strPortName = param;
        }
    }
    if (last) {
        if (m_nShellCommand == FileNew && !m_strFileName.empty()) {
            m_nShellCommand = FileOpen;
        } else if (m_nShellCommand == FileNew && (m_bRunEmbedded || m_bRunAutomated)) {
            m_nShellCommand = FileNothing;
        }
    }
}

CCommandLineInfo ParseCommandLine(const std::vector<std::string>& params) {
    CCommandLineInfo info;
    for (std::size_t i = 0; i < params.size(); ++i) {
        const std::string& param = params[i];
        const bool last = i + 1 == params.size();
        const bool dash = param.size() > 1 && param[0] == '-';
        const bool slash = param.size() > 1 && param[0] == '/' && IsKnownSwitch(param.substr(1));
        if (dash || slash) {
            info.ParseParam(param.substr(1), true, last);
        } else {
            info.ParseParam(param, false, last);
        }
    }
    return info;
}
