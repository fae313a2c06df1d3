#include "cli/ConsoleDocument.h"

#include "cli/ConsoleOutput.h"
#include "document/FilePath.h"
#include "document/PathNames.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "xml/XmlDocument.h"

#include <filesystem>

namespace {

// The document reads its options from the settings when it is made.
CConsolePlatform& WithOptions(CConsolePlatform& platform,
                              const CConsoleDocument::COptions& options) {
    const std::string section = CStringTable::Get(IDS_SETTINGS_SECTION);
    platform.WriteSettingInt(section, CStringTable::Get(IDS_SETTING_COMPRESSION),
                             options.bCompressed ? 1 : 0);
    platform.WriteSettingInt(section, CStringTable::Get(IDS_SETTING_AUTO_BACKUP), 0);
    if (options.today) {
        platform.FixDate(options.today->nMonth, options.today->nDay, options.today->nYear);
    }
    return platform;
}

} // namespace

CConsoleDocument::CConsoleDocument(const COptions& options)
    : m_doc(WithOptions(m_platform, options)) {}

bool CConsoleDocument::Open(const std::string& path) {
    if (!m_doc.DoOpen(path)) {
        ReportMessages(path);
        return false;
    }
    const int32_t error = m_doc.GetLoadError();
    if (error != CXmlDocument::kNoError) {
        // The document has shown the message of the reader's error code.
        for (const CConsoleMessage& message : m_platform.TakeMessages()) {
            PrintError(path, "error " + std::to_string(error) + ": " + message.strText);
        }
        return false;
    }
    ReportMessages(path);
    if (!m_doc.m_pRootNode) {
        // A file of 0 bytes is opened without being read; read, it would
        // hold no root element.
        PrintError(path, "error " + std::to_string(CXmlDocument::kNoRootElement) + ": " +
                             CStringTable::Get(IDS_LOAD_NO_ROOT));
        return false;
    }
    return true;
}

bool CConsoleDocument::SaveAs(const std::string& path) {
    if (!m_doc.DoSaveAs(path)) {
        ReportMessages(path);
        return false;
    }
    ReportMessages(path);
    return true;
}

bool CConsoleDocument::BackUpBeforeReplacing(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(FilePath(path), ec)) {
        return true;
    }
    std::string problem;
    std::tm now{};
    if (!m_platform.ReadLocalTime(now)) {
        problem = "the clock cannot be read to name the backup copy";
    } else if (const std::string backup = MakeBackupName(path, now); backup.empty()) {
        problem = "a file whose name has no \".\" gets no backup copy";
    } else if (!m_platform.CopyFileReplacing(path, backup)) {
        problem = "the backup copy " + backup + " could not be made";
    }
    if (problem.empty()) {
        return true;
    }
    // Replacing the file without the copy asked for would lose its content.
    PrintError(path, problem + ", so the file was not replaced.");
    PrintError(path, CStringTable::Get(AFX_IDP_FAILED_TO_SAVE_DOC));
    return false;
}

void CConsoleDocument::ReportMessages(const std::string& subject) {
    for (const CConsoleMessage& message : m_platform.TakeMessages()) {
        PrintError(subject, message.strText);
    }
}
