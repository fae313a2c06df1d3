// CCommandLineInfo: what the command line asks the application to do at
// start-up. Switches are words after "/" or "-"; "p" and "pt" must be written
// in lower case, the other switches in any case. Parameters that are not
// switches give the file to open and, after "pt", the printer, its driver
// and its port.
#pragma once

#include <string>
#include <vector>

class CCommandLineInfo {
public:
    enum ShellCommand {
        FileNew,       // no file: a new document
        FileOpen,      // open m_strFileName
        FilePrint,     // "p": print m_strFileName on the default printer and end
        FilePrintTo,   // "pt": print m_strFileName on the named printer and end
        FileDDE,       // "dde": the shell's open conversation; starts like FileNew
        AppUnregister, // "Unregister" or "Unregserver": remove the registration and end
        FileNothing,   // "Embedding" or "Automation" alone: start without a document
    };

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;
    bool m_bRunEmbedded = false;
    bool m_bRunAutomated = false;

    // One parameter: switch tells whether it was written as a switch, and
    // then param is the word without its "/" or "-"; last marks the final
    // parameter.
    void ParseParam(const std::string& param, bool isSwitch, bool last);
};

// Parses the parameters after the program's name. A parameter beginning with
// "-" is a switch. One beginning with "/" is a switch only when the word
// after it is one of the switches above, in any letter case: elsewhere than
// on Windows "/" also begins every absolute path, and a path handed over by
// the desktop must open its file.
CCommandLineInfo ParseCommandLine(const std::vector<std::string>& params);
