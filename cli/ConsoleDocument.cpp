#include "cli/ConsoleDocument.h"

#include "cli/ConsoleOutput.h"
#include "document/FilePath.h"
#include "document/PathNames.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "xml/XmlDocument.h"

#include <filesystem>
#include <string_view>

namespace {

// ":LINE:COLUMN" of a byte offset into the file text, both counted from 1,
// lines by LF, columns in bytes; nothing for an unknown offset.
std::string PositionInText(const CXmlString& text, int32_t offset) {
    if (offset < 0 || offset > text.GetLength()) {
        return {};
    }
    const std::string_view before(text.GetBuffer(), static_cast<size_t>(offset));
    size_t line = 1;
    size_t lineStart = 0;
    for (size_t at = before.find('\n'); at != std::string_view::npos;
         at = before.find('\n', at + 1)) {
        ++line;
        lineStart = at + 1;
    }
    // Appended piece by piece: GCC 12 at -O3 warns falsely of overlapping
    // copies in "text" + std::string.
    std::string position(":");
    position += std::to_string(line);
    position += ':';
    position += std::to_string(before.size() - lineStart + 1);
    return position;
}

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
    const std::string name = InputName(path);
    if (!(IsStandardStream(path) ? OpenStandardInput() : m_doc.DoOpen(path))) {
        ReportMessages(name);
        return false;
    }
    const int32_t error = m_doc.GetLoadError();
    if (error != CXmlDocument::kNoError) {
        // The document has shown the message of the reader's error code.
        const std::string where =
            name + PositionInText(m_doc.GetFileText(), m_doc.GetLoadErrorOffset());
        for (const CConsoleMessage& message : m_platform.TakeMessages()) {
            PrintError(where, "error " + std::to_string(error) + ": " + message.strText);
        }
        return false;
    }
    ReportMessages(name);
    if (!m_doc.m_pRootNode) {
        // A file of 0 bytes is opened without being read; read, it would
        // hold no root element.
        PrintError(name, "error " + std::to_string(CXmlDocument::kNoRootElement) + ": " +
                             CStringTable::Get(IDS_LOAD_NO_ROOT));
        return false;
    }
    return true;
}

bool CConsoleDocument::OpenStandardInput() {
    std::string bytes;
    if (!ReadStdin(bytes)) {
        m_platform.ShowMessage(CStringTable::Get(AFX_IDP_FAILED_TO_OPEN_DOC), MsgIcon::Exclamation,
                               MsgButtons::Ok);
        return false;
    }
    return m_doc.DoOpenBytes(bytes.data(), bytes.size());
}

bool CConsoleDocument::SaveToStandardOutput() {
    // The text a save would write, handed to standard output instead.
    CXmlString text;
    if (!m_doc.SerializeStore(text) ||
        !WriteStdout(std::string_view(text.GetBuffer(), static_cast<size_t>(text.GetLength()))) ||
        !FlushStdout()) {
        PrintError("standard output", CStringTable::Get(AFX_IDP_FAILED_TO_SAVE_DOC));
        return false;
    }
    return true;
}

bool CConsoleDocument::SaveAs(const std::string& path) {
    if (IsStandardStream(path)) {
        return SaveToStandardOutput();
    }
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
