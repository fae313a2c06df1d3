#include "ui/ShellRegistration.h"

#include "resources/Resource.h"
#include "resources/StringTable.h"

#ifdef __WXMSW__
#include <wx/buffer.h>
#include <wx/string.h>
// The registry header needs the two above first.
#include <wx/msw/registry.h>
#include <wx/stdpaths.h>
#else
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#endif

#ifdef __WXMSW__

namespace {

const wxString kClasses = "HKEY_CURRENT_USER\\Software\\Classes\\";

wxString TypeId() {
    return CStringTable::GetField(IDR_MAINFRAME, 5);
}

wxString Extension() {
    return CStringTable::GetField(IDR_MAINFRAME, 4);
}

void SetValue(const wxString& key, const wxString& value) {
    wxRegKey reg(key);
    if (reg.Create(false)) {
        reg.SetValue(wxEmptyString, value);
    }
}

} // namespace

void RegisterShellFileTypes() {
    const wxString exe = wxStandardPaths::Get().GetExecutablePath();
    const wxString type = kClasses + TypeId();
    SetValue(type, CStringTable::GetField(IDR_MAINFRAME, 6));
    // The document icon by its resource number (a negative index), which
    // stays right whatever other icons the executable holds.
    SetValue(type + "\\DefaultIcon", exe + wxString::Format(",-%d", IDR_RATETYPE));
    SetValue(type + "\\shell\\open\\command", "\"" + exe + "\" \"%1\"");
    SetValue(type + "\\shell\\print\\command", "\"" + exe + "\" /p \"%1\"");
    SetValue(type + "\\shell\\printto\\command", "\"" + exe + "\" /pt \"%1\" \"%2\" \"%3\" \"%4\"");
    wxRegKey extension(kClasses + Extension());
    wxString current;
    if (!extension.Exists() || !extension.QueryValue(wxEmptyString, current) || current.empty()) {
        SetValue(kClasses + Extension(), TypeId());
        wxRegKey shellNew(kClasses + Extension() + "\\ShellNew");
        if (shellNew.Create(false)) {
            shellNew.SetValue("NullFile", wxEmptyString);
        }
    }
}

bool UnregisterShellFileTypes() {
    bool removed = true;
    wxRegKey type(kClasses + TypeId());
    if (type.Exists() && !type.DeleteSelf()) {
        removed = false;
    }
    wxRegKey extension(kClasses + Extension());
    wxString current;
    if (extension.Exists() && extension.QueryValue(wxEmptyString, current) && current == TypeId() &&
        !extension.DeleteSelf()) {
        removed = false;
    }
    return removed;
}

#else

namespace {

namespace fs = std::filesystem;

constexpr const char* kDesktopFile = "quillmar.desktop";

// The user's configuration folder of the XDG base directories, as the
// settings find theirs.
fs::path UserConfigFolder() {
    wxStandardPaths::Get().SetFileLayout(wxStandardPaths::FileLayout_XDG);
    return fs::path(wxStandardPaths::Get().GetUserConfigDir().utf8_string());
}

// The user's data folder of the XDG base directories: $XDG_DATA_HOME, or
// ~/.local/share when it is unset or empty. The standard paths of wxWidgets
// 3.2 give ~/.appname for user data even in the XDG layout, so the folder
// is found here.
fs::path UserDataFolder() {
    wxString value;
    if (wxGetEnv("XDG_DATA_HOME", &value) && !value.empty()) {
        return fs::path(value.utf8_string());
    }
    return fs::path(wxGetHomeDir().utf8_string()) / ".local/share";
}

// Removes the program's desktop entry from the associations of one
// mimeapps.list; true when the file is as it should be afterwards.
bool RemoveAssociations(const fs::path& list) {
    std::error_code ec;
    if (!fs::exists(list, ec)) {
        return true;
    }
    std::ifstream in(list);
    if (!in) {
        return false;
    }
    std::vector<std::string> lines;
    bool changed = false;
    for (std::string line; std::getline(in, line);) {
        const std::string::size_type equals = line.find('=');
        if (line.empty() || line[0] == '[' || line[0] == '#' || equals == std::string::npos ||
            line.find(kDesktopFile) == std::string::npos) {
            lines.push_back(line);
            continue;
        }
        // key=a.desktop;b.desktop; without the program's entry.
        std::string kept;
        std::stringstream entries(line.substr(equals + 1));
        for (std::string entry; std::getline(entries, entry, ';');) {
            if (!entry.empty() && entry != kDesktopFile) {
                kept += entry + ";";
            }
        }
        changed = true;
        if (!kept.empty()) {
            lines.push_back(line.substr(0, equals + 1) + kept);
        }
    }
    in.close();
    if (!changed) {
        return true;
    }
    std::ofstream out(list, std::ios::trunc);
    for (const std::string& line : lines) {
        out << line << '\n';
    }
    return static_cast<bool>(out);
}

} // namespace

void RegisterShellFileTypes() {
    // The installed desktop entry registers the type for every user.
}

bool UnregisterShellFileTypes() {
    const fs::path data = UserDataFolder();
    const fs::path config = UserConfigFolder();
    bool removed = true;
    std::error_code ec;
    const fs::path entry = data / "applications" / kDesktopFile;
    if (fs::exists(entry, ec) && !fs::remove(entry, ec)) {
        removed = false;
    }
    for (const fs::path& list :
         {config / "mimeapps.list", data / "applications" / "mimeapps.list"}) {
        if (!RemoveAssociations(list)) {
            removed = false;
        }
    }
    return removed;
}

#endif
