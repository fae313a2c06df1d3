// CPlatform: what the rate document asks of the platform it runs on. The
// desktop application, the command-line tool and the tests each implement it.
// (Member names avoid those of Win32 functions that windows.h defines as
// macros, such as MessageBox, CopyFile and GetProfileInt.)
#pragma once

#include <ctime>
#include <string>

enum class MsgIcon { None, Stop, Exclamation, Information, Question };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

// One file chooser: an open dialog or a save dialog.
struct CFileDialogSpec {
    bool bOpen = true;
    // Default extension without the dot, appended to a typed name without one.
    std::string strDefaultExt;
    // Initial file name; may be empty.
    std::string strFileName;
    // Pairs of description and pattern separated by '|', ended by "||":
    // "XML Files (*.xml)|*.xml|All Files (*.*)|*.*||".
    std::string strFilter;
    // The chosen file and its folder must exist (open dialogs).
    bool bMustExist = false;
};

class CPlatform {
public:
    virtual ~CPlatform() = default;

    // A modal message box with the application's title as caption; returns
    // the button the user chose.
    virtual MsgAnswer ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons) = 0;

    // A modal file chooser; returns the chosen path, or an empty text when
    // the user cancelled.
    virtual std::string ChooseFile(const CFileDialogSpec& spec) = 0;

    // Per-user settings, under the application's key. A value that is
    // missing or cannot be read yields the default; failed writes are silent.
    virtual int ReadSettingInt(const std::string& section, const std::string& entry,
                               int defaultValue) = 0;
    virtual void WriteSettingInt(const std::string& section, const std::string& entry,
                                 int value) = 0;
    virtual std::string ReadSettingString(const std::string& section, const std::string& entry,
                                          const std::string& defaultValue) = 0;
    virtual void WriteSettingString(const std::string& section, const std::string& entry,
                                    const std::string& value) = 0;

    // Copies the file at from to to, replacing a file of that name; true on
    // success.
    virtual bool CopyFileReplacing(const std::string& from, const std::string& to) = 0;

    // The current local date and time; false when the clock cannot be read.
    virtual bool ReadLocalTime(std::tm& local) = 0;

    // Hands the file at path to the mail system as an attachment named name,
    // and returns once the mail system no longer needs the file (the caller
    // deletes it then). Reports its own failures; false when nothing was sent.
    virtual bool SendMail(const std::string& path, const std::string& name) = 0;
};
