// CConsoleDocument: one rate document on the console, with its platform.
// Opens and saves through the document's own steps, as the desktop
// application does, and passes on to standard error what the document
// reports.
#pragma once

#include "cli/CommandLine.h"
#include "cli/ConsolePlatform.h"
#include "document/QuillmarDoc.h"

#include <optional>
#include <string>

class CConsoleDocument {
public:
    struct COptions {
        // Save in the compressed form.
        bool bCompressed = false;
        // The local date for the merge's expiry test; the clock's without it.
        std::optional<CCliDate> today;
    };

    // The document makes no backup copies of its own: the command line asks
    // for them explicitly (see BackUpBeforeReplacing).
    explicit CConsoleDocument(const COptions& options);

    CQuillmarDoc& Doc() { return m_doc; }
    const CQuillmarDoc& Doc() const { return m_doc; }
    CConsolePlatform& Platform() { return m_platform; }

    // Opens the file at path as File, Open does; "-" reads standard input
    // to its end and opens its bytes as a file holding them. True only when
    // the whole file was read: a file that cannot be opened, one the reader
    // reports an error for (even one that leaves a partial tree; the message
    // says where reading stopped when the reader knows), and one without any
    // element (also an empty one) are reported and give false.
    bool Open(const std::string& path);

    // Saves the tree to path through the document's storing steps; false
    // (reported, the file at path unchanged) when that fails. "-" writes the
    // same bytes to standard output, built whole before any is written.
    bool SaveAs(const std::string& path);

    // Copies the file at path to its time-stamped backup name before it is
    // replaced, as the document's auto-backup copies the file it saves over.
    // True when there is nothing to copy; false (reported) when the copy
    // cannot be made.
    bool BackUpBeforeReplacing(const std::string& path);

    // Passes the messages the document has shown to standard error, each
    // prefixed by subject.
    void ReportMessages(const std::string& subject);

private:
    bool OpenStandardInput();
    bool SaveToStandardOutput();

    CConsolePlatform m_platform;
    CQuillmarDoc m_doc;
};
