#pragma once

// Resource ids shared by the program and its language libraries.

#include "platform/WinTypes.h"

// Strings.
constexpr UINT IDS_ABOUTBOX = 101;
constexpr UINT IDS_DISCONNECTED = 105;
constexpr UINT IDS_FORBIDDEN_FUNCTION = 107;
constexpr UINT IDS_ACCESS_DENIED = 108;
constexpr UINT IDS_ALWAYS_ON_TOP = 132;
constexpr UINT IDS_LOCAL_SERVER = 133;
constexpr UINT IDS_CONNECT_ERROR = 134;
constexpr UINT IDS_INVALID_CREDENTIAL = 135;
// The stored watch list was not loaded; the reason fills the second "%s".
constexpr UINT IDS_LIST_NOT_LOADED = 136;
constexpr UINT IDS_LIST_NOT_A_FILE = 137;
constexpr UINT IDS_LIST_TOO_LARGE = 138;
constexpr UINT IDS_LIST_UNREADABLE = 139;
// Secure connections: why a runtime was refused.
constexpr UINT IDS_TLS_UNTRUSTED = 160;
constexpr UINT IDS_TLS_NAME_MISMATCH = 161;
constexpr UINT IDS_TLS_EXPIRED = 162;
constexpr UINT IDS_TLS_ABSENT = 163;
constexpr UINT IDS_TLS_REQUIRED = 164;
constexpr UINT IDS_TLS_FAILED = 165;
constexpr UINT IDS_SERVER_PROOF = 166;
constexpr UINT IDS_TLS_CA_FILE = 167;
// Progress of long work on many watch rows.
constexpr UINT IDS_PROGRESS_INSERT = 168;
constexpr UINT IDS_PROGRESS_PASTE = 169;
constexpr UINT IDS_PROGRESS_CANCEL = 170;
constexpr UINT IDS_INVALID_EXPRESSION = 24594;
constexpr UINT IDS_CLIPBOARD_ERROR = 33796;
constexpr UINT AFX_IDS_APP_TITLE = 57344;
constexpr UINT IDS_HEADER_TAG = 57345;
constexpr UINT IDS_HEADER_VALUE = 57346;
constexpr UINT IDS_HEADER_QUALITY = 57347;
constexpr UINT IDS_HEADER_CONTINUOUS = 57348;
constexpr UINT IDS_QUALITY_BAD = 61315;
constexpr UINT IDS_QUALITY_UNCERTAIN = 61316;
constexpr UINT IDS_QUALITY_GOOD = 61317;
constexpr UINT IDS_QUALITY_NA = 61318;
constexpr UINT IDS_QUALITY_INVALID = 61319;
constexpr UINT IDS_TCPIP_SERVER = 61321;
// The trend window.
constexpr UINT IDS_TREND_MENU = 140;
constexpr UINT IDS_TREND_TITLE = 141;
constexpr UINT IDS_TREND_PAUSE = 142;
constexpr UINT IDS_TREND_RESUME = 143;
constexpr UINT IDS_TREND_SAVE_CSV = 144;
constexpr UINT IDS_TREND_SAVE_PNG = 145;
constexpr UINT IDS_TREND_NO_ROWS = 146;
constexpr UINT IDS_TREND_TOO_MANY = 147;
constexpr UINT IDS_TREND_SAVE_FAILED = 148;
constexpr UINT IDS_TREND_CSV_FILTER = 149;
constexpr UINT IDS_TREND_PNG_FILTER = 150;
constexpr UINT IDS_TREND_CSV_TIME = 151;
constexpr UINT IDS_TREND_CSV_QUALITY = 152;
constexpr UINT IDS_TREND_TIME_AXIS = 153;

// Dialog templates, menu and icon.
constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT IDD_QUILLONEXT_DIALOG = 102;
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_GRID_MENU = 129;
constexpr UINT IDD_CHECK_CREDENTIAL = 133;

// Controls. Statics that nothing refers to carry IDC_STATIC. The OK and Cancel
// buttons carry the dialog results IDOK and IDCANCEL as their ids.
constexpr UINT IDC_OK = 1;
constexpr UINT IDC_CANCEL = 2;
constexpr UINT IDC_STATIC = 0xFFFF;
constexpr UINT IDC_CLOSE_BUTTON = 8;
constexpr UINT IDC_USERNAME_LABEL = 203;
constexpr UINT IDC_USERNAME = 204;
constexpr UINT IDC_PASSWORD_LABEL = 205;
constexpr UINT IDC_GRID_PLACEHOLDER = 1000;
constexpr UINT IDC_WATCH_GRID = 1234;
constexpr UINT IDC_PASSWORD = 1017;
constexpr UINT IDC_ABOUT_ICON = 1018;
constexpr UINT IDC_ABOUT_VERSION = 1019;

// Commands of the watch grid's context menu.
constexpr UINT ID_SORT_ASCENDING = 32776;
constexpr UINT ID_SORT_DESCENDING = 32777;
constexpr UINT ID_CONTINUOUS = 32778;
constexpr UINT ID_TOGGLE = 32779;
constexpr UINT ID_INSERT_TAG = 32780;
constexpr UINT ID_INSERT_COPIED_CELLS = 32781;
constexpr UINT ID_INSERT_LINE = 32782;
constexpr UINT ID_DELETE_LINE = 32783;
// Commands of the product grid layer: the tag browser for an empty product cell.
constexpr UINT ID_BROWSE_TAG = 32785;
constexpr UINT ID_BROWSE_EXPRESSION_TAG = 32787;
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_SELECT_ALL = 57642;
