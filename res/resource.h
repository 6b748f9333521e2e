// Resource ids shared by the resource script and the program (plain defines, no windows.h).
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_VORNEL_DIALOG 102
#define IDS_WIZARD 103
#define IDD_CONNECTION_TYPE 104
#define IDR_MAINFRAME 128
#define IDD_ICMP_REDIRECT 129
#define IDD_KEEP_ALIVE 130
#define IDD_MTU 131
#define IDD_OTHER_MTU 132
#define IDD_RWIN 133
#define IDD_SYN_FLOOD 134
#define IDD_TTL 135
#define IDD_MODEM_BOOST 139
#define IDB_MODEM_SPEEDS 142
#define IDB_SPLASH 143
#define IDD_SPLASH 144

// System menu command of the About entry; the low four bits stay clear as the system requires.
#define IDM_ABOUTBOX 0x0010
