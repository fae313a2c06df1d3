// Identifiers of the application's resources: the main frame's shared
// resource, the string table's entries and the menu commands.
#pragma once

// Menu, toolbar, accelerators, icon and the document string.
constexpr int IDR_MAINFRAME = 128;
// The document type's icon.
constexpr int IDR_RATETYPE = 129;

// The tree pane's item images.
constexpr int IDI_CUSTOMER = 130;
constexpr int IDI_RATEFILE = 131;
constexpr int IDI_ELEMENT = 132;
constexpr int IDI_HEADER = 133;
constexpr int IDI_PLAN = 134;

// The About box and its version line.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDC_DP_VERSION = 1000;

// The detail pane's controls.
constexpr int IDC_NODE_TEXT = 130;
constexpr int IDC_SET = 131;

// Texts of the application.
constexpr int IDS_CAPTION_FORMAT = 129;     // detail pane caption for a node: "%s:"
constexpr int IDS_CAPTION_NO_NODE = 130;    // detail pane caption without a node
constexpr int IDS_MERGE_NO_RATE_FILE = 131; // merge chosen while no rate file is loaded
constexpr int IDS_MERGE_INVALID_FILE = 132; // the incoming file's root is not RATEFILE
constexpr int IDS_HELP_TEXT = 133;
constexpr int IDS_HELP_CAPTION = 134;
constexpr int IDS_MERGE_SUMMARY = 135;    // two %d: plans imported, plans matched
constexpr int IDS_SETTINGS_SECTION = 136; // settings section of the two options
constexpr int IDS_SETTING_COMPRESSION = 137;
constexpr int IDS_CONFIRM_DELETE_PLAN = 138;
constexpr int IDS_DELETE_PLAN_FAILED = 139;
constexpr int IDS_SETTING_AUTO_BACKUP = 140;
constexpr int IDS_MERGE_NO_MATCH = 141;
constexpr int IDS_LOAD_TAG_MISMATCH = 142;   // reader code 1
constexpr int IDS_LOAD_TAG_NOT_CLOSED = 143; // reader code 2
constexpr int IDS_LOAD_CANNOT_OPEN = 144;    // reader code 3
constexpr int IDS_LOAD_NO_ROOT = 145;        // reader code 4
constexpr int IDS_LOAD_ERROR = 146;          // any other reader code
constexpr int IDS_NOTHING_TO_SAVE = 147;     // save or send while the document holds no tree

// Texts of the application framework.
constexpr int AFX_IDS_APP_TITLE = 57344;
constexpr int AFX_IDS_IDLEMESSAGE = 57345;
constexpr int AFX_IDS_UNTITLED = 61443;
constexpr int AFX_IDP_FAILED_TO_OPEN_DOC = 61697;
constexpr int AFX_IDP_FAILED_TO_SAVE_DOC = 61698;
constexpr int AFX_IDP_ASK_TO_SAVE = 61699; // one %s: the document's path or title
constexpr int AFX_IDP_FAILED_TO_SEND_MAIL = 61700;
constexpr int AFX_IDP_FAILED_TO_START_PRINT = 61701;
constexpr int AFX_IDP_UNREG_DONE = 61702;
constexpr int AFX_IDP_UNREG_FAILURE = 61703;

// Texts of the desktop application.
constexpr int IDS_NO_MAIL_PROGRAM = 148;      // Send while no mail program is set up
constexpr int IDS_CHARACTER_NOT_STORED = 149; // one %s: the characters the file cannot hold
constexpr int IDS_STATUS_OPENING = 150;
constexpr int IDS_STATUS_SAVING = 151;
constexpr int IDS_STATUS_MERGING = 152;
constexpr int IDS_STATUS_PRINTING = 153;
constexpr int IDS_ABOUT_VERSION = 154;   // the About box's first line
constexpr int IDS_ABOUT_COPYRIGHT = 155; // the About box's copyright line
constexpr int IDS_DP_VERSION = 156;      // the About box's last line, set when it opens
constexpr int IDS_RECENT_FILE = 157;     // the File menu's place holder of the recent files
// Unregistering where the settings are a file of their own, which is kept.
constexpr int IDS_UNREG_DONE_SETTINGS_KEPT = 158;
constexpr int IDS_UNREG_FAILURE_SETTINGS_KEPT = 159;

// Texts of finding, going to a key and keeping the place.
constexpr int IDS_SETTING_KEEP_PLACE = 170;
constexpr int IDS_FIND_NOT_FOUND = 171;     // one %s: the text sought, in quotes
constexpr int IDS_FIND_WRAPPED_END = 172;   // found after going on from the top
constexpr int IDS_FIND_WRAPPED_START = 173; // found after going on from the end
constexpr int IDS_FIND_CANCELLED = 174;
constexpr int IDS_FIND_UNENCODABLE = 175; // two %s: the text sought, the characters
constexpr int IDS_FIND_CAPTION = 176;
constexpr int IDS_GOTO_CAPTION = 177;
constexpr int IDS_GOTO_PROMPT = 178;
constexpr int IDS_STATUS_FINDING = 179; // one %s: the text sought, in quotes
// The merge report window.
constexpr int IDS_REPORT_TITLE = 180;
constexpr int IDS_REPORT_SHOW = 181;       // the label of the outcome filter
constexpr int IDS_REPORT_ALL_PLANS = 182;  // the filter's first choice
constexpr int IDS_REPORT_COUNT = 183;      // two %s: plans shown, plans in the report
constexpr int IDS_REPORT_SAVE_CSV = 184;   // the button that saves the report as CSV
constexpr int IDS_REPORT_CSV_FILTER = 185; // the file dialog's filter of the CSV file
constexpr int IDS_REPORT_HINT = 186;       // the window's status line

// Commands. Their string-table entries hold the status-bar prompt, a line
// feed, and the tooltip.
constexpr int ID_FILE_MERGE = 32771;
constexpr int ID_EDIT_COMPRESSED_SAVE = 32772;
constexpr int ID_EDIT_DELETE = 32773;
constexpr int ID_EDIT_AUTO_BACKUP = 32774;
constexpr int ID_EDIT_FIND = 32780;
constexpr int ID_EDIT_FIND_NEXT = 32781;
constexpr int ID_EDIT_FIND_PREVIOUS = 32782;
constexpr int ID_EDIT_GOTO = 32783;
constexpr int ID_VIEW_KEEP_PLACE = 32784;
constexpr int ID_VIEW_MERGE_REPORT = 32790;
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_PRINT_DIRECT = 57608;
constexpr int ID_FILE_SEND_MAIL = 57612;
constexpr int ID_FILE_MRU_FILE1 = 57616;
constexpr int ID_FILE_MRU_FILE2 = 57617;
constexpr int ID_FILE_MRU_FILE3 = 57618;
constexpr int ID_FILE_MRU_FILE4 = 57619;
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP = 57670;
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;

// The status bar's panes: the message pane and the key-state indicators.
constexpr int ID_SEPARATOR = 0;
constexpr int ID_INDICATOR_CAPS = 59137;
constexpr int ID_INDICATOR_NUM = 59138;
constexpr int ID_INDICATOR_SCRL = 59139;
