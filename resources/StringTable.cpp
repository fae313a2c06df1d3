#include "resources/StringTable.h"

#include "resources/Resource.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

struct StringEntry {
    int id;
    const char* text;
};

// Kept in ascending order of the numbers, each once; Get relies on it.
constexpr std::array kStrings{
    StringEntry{IDR_MAINFRAME, "Quillmar\n\nRate\nRate Files (*.xml)\n.xml\nQuillmar.Document\n"
                               "Rate Document"},
    StringEntry{IDS_CAPTION_FORMAT, "%s:"},
    StringEntry{IDS_CAPTION_NO_NODE, "Text:"},
    StringEntry{IDS_MERGE_NO_RATE_FILE,
                "The merge feature can only be used when the destination rate file is first "
                "loaded.  First load a valid Veltrane XML rate file and then run the merge "
                "feature with a different rate file."},
    StringEntry{IDS_MERGE_INVALID_FILE,
                "The merge feature can only be used to merge valid Veltrane XML insurance rate "
                "files.  The file you chose is not a valid Veltrane XML insurance rate file."},
    StringEntry{IDS_HELP_TEXT,
                "Quillmar will load a Veltrane XML insurance rate file.  Once loaded, some of the "
                "items may be edited.  The DPKEY and the PLANDESC items are editable.\n\nWhen a "
                "new rate file is sent from Veltrane, use this utility to load your existing rate "
                "file and then run the FILE/MERGE menu item to load the new rate file.  The new "
                "rate file will be \"merged\" into the original ratefile, preserving your custom "
                "data processor keys and descriptions.\n\nIf there are customers in either "
                "ratefile that are not in the other ratefile, then those customers will be "
                "preserved in the merged ratefile also."},
    StringEntry{IDS_HELP_CAPTION, "Quillmar Help Text"},
    StringEntry{IDS_MERGE_SUMMARY,
                "The two rate files are now merged together.\n\nPlans imported from the merged "
                "rate file: %d\nPlans matched in the original rate file: %d\n\nBe sure to verify "
                "whether the Plan Descriptions are still valid in the new file."},
    StringEntry{IDS_SETTINGS_SECTION, "Settings"},
    StringEntry{IDS_SETTING_COMPRESSION, "Compression"},
    StringEntry{IDS_CONFIRM_DELETE_PLAN, "Are you sure you want to delete this plan?"},
    StringEntry{IDS_DELETE_PLAN_FAILED, "Deletion of Plan Failed!"},
    StringEntry{IDS_SETTING_AUTO_BACKUP, "AutoBackup"},
    StringEntry{IDS_MERGE_NO_MATCH,
                "No PLANKEY's matched.  Please call Veltrane Customer Support at 1-800-555-0142 "
                "or send e-mail to support@example.com for help with your rate file."},
    StringEntry{IDS_LOAD_TAG_MISMATCH,
                "Error reading XML file.  A start tag and end tag match were not found."},
    StringEntry{IDS_LOAD_TAG_NOT_CLOSED,
                "Error reading XML file.  A tag may have not been closed properly."},
    StringEntry{IDS_LOAD_CANNOT_OPEN, "Error reading XML file.  Unable to access file."},
    StringEntry{IDS_LOAD_NO_ROOT,
                "Error reading XML file.  No root node in the XML file was found."},
    StringEntry{IDS_LOAD_ERROR, "Error reading XML file."},
    StringEntry{IDS_NOTHING_TO_SAVE,
                "The document holds no rate file, so there is nothing to save.  The file on "
                "disk was left as it was."},
    StringEntry{IDS_NO_MAIL_PROGRAM,
                "No mail program is set up on this computer, so the document cannot be sent.  "
                "Install a mail program (and the xdg-utils package, which starts it), or attach "
                "the saved rate file to a message yourself."},
    StringEntry{IDS_CHARACTER_NOT_STORED,
                "The text was not stored: this rate file's character set cannot hold %s.  "
                "Change those characters and press Set again."},
    StringEntry{IDS_STATUS_OPENING, "Opening the rate file..."},
    StringEntry{IDS_STATUS_SAVING, "Saving the rate file..."},
    StringEntry{IDS_STATUS_MERGING, "Merging the rate files..."},
    StringEntry{IDS_STATUS_PRINTING, "Printing the rate file..."},
    StringEntry{IDS_ABOUT_VERSION, "Quillmar Version 3.0"},
    StringEntry{IDS_ABOUT_COPYRIGHT, "Copyright (C) 2003-2025 Veltrane Systems"},
    StringEntry{IDS_DP_VERSION, "Data Processor Version"},
    StringEntry{IDS_RECENT_FILE, "Recent File"},
    StringEntry{IDS_UNREG_DONE_SETTINGS_KEPT,
                "Quillmar's file associations have been removed.  Its settings and recent-file "
                "list were kept."},
    StringEntry{IDS_UNREG_FAILURE_SETTINGS_KEPT,
                "Not all of Quillmar's file associations were removed.  Its settings and "
                "recent-file list were kept."},
    StringEntry{IDS_SETTING_KEEP_PLACE, "KeepPlace"},
    StringEntry{IDS_FIND_NOT_FOUND, "Cannot find %s."},
    StringEntry{IDS_FIND_WRAPPED_END, "Passed the end of the rate file; continued from the top."},
    StringEntry{IDS_FIND_WRAPPED_START, "Passed the top of the rate file; continued from the end."},
    StringEntry{IDS_FIND_CANCELLED, "Find cancelled."},
    StringEntry{IDS_FIND_UNENCODABLE,
                "Cannot find %s: this rate file's character set cannot hold %s."},
    StringEntry{IDS_FIND_CAPTION, "Find"},
    StringEntry{IDS_GOTO_CAPTION, "Go To"},
    StringEntry{IDS_GOTO_PROMPT, "Contract number or plan key:"},
    StringEntry{IDS_STATUS_FINDING, "Finding %s...  Press Esc to cancel."},
    StringEntry{IDS_REPORT_TITLE, "Merge Report"},
    StringEntry{IDS_REPORT_SHOW, "&Show:"},
    StringEntry{IDS_REPORT_ALL_PLANS, "all plans"},
    StringEntry{IDS_REPORT_COUNT, "%s of %s plans"},
    StringEntry{IDS_REPORT_SAVE_CSV, "Save As &CSV..."},
    StringEntry{IDS_REPORT_CSV_FILTER, "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||"},
    StringEntry{IDS_REPORT_HINT,
                "Click a heading to sort by it; double-click a plan to show it in the tree."},
    StringEntry{ID_FILE_MERGE, "Merges a new ratefile with the loaded ratefile.\nMerge..."},
    StringEntry{ID_EDIT_COMPRESSED_SAVE,
                "Save the file in a compressed format to save space.\nCompressed"},
    StringEntry{ID_EDIT_DELETE, "Delete\nDelete"},
    StringEntry{ID_EDIT_AUTO_BACKUP, "Automatically backup saved files\nAuto-Backup Saved Files"},
    StringEntry{ID_EDIT_FIND, "Find an element by its name or text\nFind"},
    StringEntry{ID_EDIT_FIND_NEXT, "Find the next element with the same text\nFind Next"},
    StringEntry{ID_EDIT_FIND_PREVIOUS,
                "Find the previous element with the same text\nFind Previous"},
    StringEntry{ID_EDIT_GOTO, "Go to a customer by contract number or a plan by plan key\nGo To"},
    StringEntry{ID_VIEW_KEEP_PLACE,
                "Select the edited element again after Set, a merge or a delete\nKeep Place"},
    StringEntry{ID_VIEW_MERGE_REPORT, "Shows what the last merge did to each plan\nMerge Report"},
    StringEntry{AFX_IDS_APP_TITLE, "Quillmar"},
    StringEntry{AFX_IDS_IDLEMESSAGE, "For Help, press F1"},
    StringEntry{ID_FILE_NEW, "Create a new document\nNew"},
    StringEntry{ID_FILE_OPEN, "Open an existing document\nOpen"},
    StringEntry{ID_FILE_SAVE, "Save the active document\nSave"},
    StringEntry{ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    StringEntry{ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
    StringEntry{ID_FILE_PRINT, "Print the active document\nPrint"},
    StringEntry{ID_FILE_SEND_MAIL, "Send the active document through electronic mail\nSend Mail"},
    StringEntry{ID_FILE_MRU_FILE1, "Open this document"},
    StringEntry{ID_FILE_MRU_FILE2, "Open this document"},
    StringEntry{ID_FILE_MRU_FILE3, "Open this document"},
    StringEntry{ID_FILE_MRU_FILE4, "Open this document"},
    StringEntry{ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
    StringEntry{ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
    StringEntry{ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
    StringEntry{ID_EDIT_UNDO, "Undo the last action\nUndo"},
    StringEntry{ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    StringEntry{ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    StringEntry{ID_INDICATOR_CAPS, "CAP"},
    StringEntry{ID_INDICATOR_NUM, "NUM"},
    StringEntry{ID_INDICATOR_SCRL, "SCRL"},
    StringEntry{ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    StringEntry{ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    StringEntry{AFX_IDS_UNTITLED, "Untitled"},
    StringEntry{AFX_IDP_FAILED_TO_OPEN_DOC, "Failed to open document."},
    StringEntry{AFX_IDP_FAILED_TO_SAVE_DOC, "Failed to save document."},
    StringEntry{AFX_IDP_ASK_TO_SAVE, "Save changes to %s?"},
    StringEntry{AFX_IDP_FAILED_TO_SEND_MAIL, "Mail failed to send message."},
    StringEntry{AFX_IDP_FAILED_TO_START_PRINT, "Could not start print job."},
    StringEntry{AFX_IDP_UNREG_DONE,
                "System registry entries have been removed and the INI file (if any) was deleted."},
    StringEntry{AFX_IDP_UNREG_FAILURE,
                "Not all of the system registry entries (or INI file) were removed."},
};

// Strictly ascending: two texts under one number would hide one of them.
static_assert(std::adjacent_find(kStrings.begin(), kStrings.end(),
                                 [](const StringEntry& a, const StringEntry& b) {
                                     return a.id >= b.id;
                                 }) == kStrings.end(),
              "the string table must stay in strictly ascending order of its numbers");

const StringEntry* Find(int id) {
    auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                               [](const StringEntry& entry, int key) { return entry.id < key; });
    return it != kStrings.end() && it->id == id ? &*it : nullptr;
}

} // namespace

const char* CStringTable::Get(int id) {
    const StringEntry* entry = Find(id);
    return entry ? entry->text : "";
}

bool CStringTable::Contains(int id) {
    return Find(id) != nullptr;
}

std::string CStringTable::GetField(int id, int index) {
    const char* text = Get(id);
    for (int field = 0; field < index; ++field) {
        text = std::strchr(text, '\n');
        if (!text) {
            return {};
        }
        ++text;
    }
    const char* end = std::strchr(text, '\n');
    return end ? std::string(text, end) : std::string(text);
}

std::string CStringTable::Format(int id, std::initializer_list<std::string> args) {
    const std::string text = Get(id);
    std::string result;
    result.reserve(text.size());
    auto next = args.begin();
    for (std::string::size_type pos = 0; pos < text.size(); ++pos) {
        const char current = text[pos];
        const char following = pos + 1 < text.size() ? text[pos + 1] : '\0';
        if (current == '%' && following == '%') {
            result += '%';
            ++pos;
        } else if (current == '%' && (following == 's' || following == 'd') && next != args.end()) {
            result += *next++;
            ++pos;
        } else {
            result += current;
        }
    }
    return result;
}
