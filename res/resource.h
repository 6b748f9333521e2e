// Resource ids shared by the resource script, the program and its tests (plain defines, no
// windows.h). A control's IDC_ name is also the key of its text in the language files, where it
// has one; the same number may serve controls of different dialogs.
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
#define IDD_CHANGES 145

// Static controls the program never addresses.
#define IDC_STATIC (-1)

// System menu command of the About entry; the low four bits stay clear as the system requires.
#define IDM_ABOUTBOX 0x0010

// Main dialog (IDD_VORNEL_DIALOG).
#define IDC_SET_SETTINGS 1005
#define IDC_static_Introduction 1007
#define IDC_Language 1039
#define IDC_LANGUAGE_LIST 1044
#define IDC_RESET_SETTINGS 1058
#define IDC_HINT 1060
#define IDC_SHOW_CHANGES 1061
#define IDC_WINDOWS_DEFAULTS 1062

// The list of changes (IDD_CHANGES): what Reset will put back, or Windows' defaults before
// they are restored. Its buttons are IDOK (Windows' defaults only) and IDCANCEL; the third
// column's heading depends on which of the two it shows.
#define IDC_CHANGES_LIST 1063
#define IDC_CHANGES_SETTING 1064
#define IDC_CHANGES_NOW 1065
#define IDC_CHANGES_AFTER 1066

// About box (IDD_ABOUTBOX); its button is IDOK.
#define IDC_LEGAL_COPYRIGHT 1000
#define IDC_FILE_VERSION 1001
#define IDC_STATIC2 1090

// The wizard sheet's own buttons (Cancel is IDCANCEL).
#define ID_WIZBACK 12323
#define ID_WIZNEXT 12324
#define ID_WIZFINISH 12325

// Connection type page (IDD_CONNECTION_TYPE).
#define IDC_static_step2_Explain 1011
#define IDC_step2_RADIO_DialUp 1012
#define IDC_step2_RADIO_CableModem 1013
#define IDC_step2_RADIO_DSL 1014
#define IDC_step2_RADIO_LAN 1015

// MTU and MSS page (IDD_MTU).
#define IDC_static_step3_MTUExplain 1013
#define IDC_static_step3_MSSExplain 1014
#define IDC_static_RecommendedMTU 1015
#define IDC_static_RecommendedMSS 1016
#define IDC_MTU 1017
#define IDC_MSS 1018

// Path MTU discovery page (IDD_OTHER_MTU).
#define IDC_static_step4_MTUDiscoveryExplain 1014
#define IDC_static_step4_BlackHoeDetectExplain 1016
#define IDC_static_MTUDiscovery 1018
#define IDC_static_BlackHoleDetect 1019
#define IDC_chk_MTUDiscovery 1020
#define IDC_chk_BlackHoleDetection 1021

// Receive window page (IDD_RWIN): MSS * Multiplier * Scaling Factor = RWIN.
#define IDC_RWIN_MSS 1016
#define IDC_MULTIPLIER 1017
#define IDC_STATIC_MSS 1018
#define IDC_STATIC_MULTIPLIER 1019
#define IDC_STATIC_RWIN 1020
#define IDC_static_step5_Explain 1021
#define IDC_static_RecommendedRWIN 1022
#define IDC_RWIN 1023
#define IDC_SCALING_FACTOR 1024
#define IDC_STATIC_SCALING_FACTOR 1025

// TTL and browser connections page (IDD_TTL).
#define IDC_RECOMMENDED_HTTP_1_0 1004
#define IDC_RECOMMENDED_HTTP_1_1 1005
#define IDC_HTTP_1_0 1007
#define IDC_HTTP_1_1 1008
#define IDC_TTL_GROUP_BOX 1009
#define IDC_IE_GROUP_BOX 1010
#define IDC_IE_OPTIMIZATION 1011
#define IDC_CURRENT_HTTP_1_0 1012
#define IDC_CURRENT_HTTP_1_1 1013
#define IDC_TTL 1024
#define IDC_static_step6_Explain 1025
#define IDC_static_RecommendedTTL 1026

// Keep-alive page (IDD_KEEP_ALIVE).
#define IDC_static_step7_KeepAliveTimeExplain 1033
#define IDC_static_step7_KeepLAliveIntervalExplain 1034
#define IDC_static_RecommendedKeepAliveTime 1035
#define IDC_static_RecommendedKeepAliveInterval 1036
#define IDC_KEEP_ALIVE_TIME 1037
#define IDC_KEEP_ALIVE_INTERVAL 1038

// SYN-attack protection page (IDD_SYN_FLOOD).
#define IDC_static_step8_SYNExplain 1045
#define IDC_static_RecommendedSYN 1046
#define IDC_STATIC_SYN 1047
#define IDC_SYN_ATTACK_PROTECT 1048

// ICMP redirect page (IDD_ICMP_REDIRECT).
#define IDC_static_step9_ICMPExplain 1049
#define IDC_static_step9_ICMPExplain2 1050
#define IDC_static_step9_ICMPExplain3 1051
#define IDC_static_step9_ICMPExplain4 1052
#define IDC_chk_ICMP 1053
#define IDC_RecommendedICMP 1057

// Modem boost page (IDD_MODEM_BOOST).
#define IDC_MODEM_SPEEDS 1000
#define IDC_DESCRIBTION 1003
