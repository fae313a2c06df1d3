#include "ui/PathText.h"

#include "ui/TextCodec.h"

#include <wx/strconv.h>

namespace {

const wxMBConv& PathConv() {
#ifdef __WINDOWS__
    return wxConvLocal;
#else
    return *wxConvFileName;
#endif
}

} // namespace

std::string PathToBytes(const wxString& path) {
    const wxScopedCharBuffer bytes = path.mb_str(PathConv());
    return std::string(bytes.data(), bytes.length());
}

wxString PathFromBytes(const std::string& path) {
    wxString text(path.c_str(), PathConv());
    if (text.empty() && !path.empty()) {
        // Bytes the file name encoding cannot read still show as something.
        text = wxString::From8BitData(path.c_str(), path.size());
    }
    return text;
}

wxString MessageText(const std::string& text) {
    if (IsValidUtf8(text)) {
        return wxString::FromUTF8(text.c_str(), text.size());
    }
    return PathFromBytes(text);
}
