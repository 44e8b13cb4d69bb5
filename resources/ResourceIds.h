// Identifiers of the program's resources: dialogs, controls, strings, icon and menu command.
#pragma once

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_MAIN 102

// Controls of the main dialog (the Locate button is the dialog's OK id, 1).
#define IDC_ADDRESS 1000
#define IDC_INFORMATION 1002

// Strings.
#define IDS_ABOUTBOX 101
#define IDS_READY 102
#define IDS_ENTER_ADDRESS 103
#define IDS_QUERYING 104
#define IDS_RESOLVE_FAILED 105
#define IDS_PRIVATE_ADDRESS 106
#define IDS_QUERY_FAILED 107
#define IDS_LOOPBACK_ADDRESS 108
#define IDS_SERVER_RESOLVE_FAILED 109
#define IDS_SOCKETS_START_FAILED 110
// The window's own texts, from 120 on.
#define IDS_CLEAR_HISTORY 120

// The application icon.
#define IDR_MAINFRAME 128

// The items the window adds to its system menu (multiples of 16: Windows uses the low four bits).
#define IDM_ABOUTBOX 0x0010
#define IDM_CLEARHISTORY 0x0020
