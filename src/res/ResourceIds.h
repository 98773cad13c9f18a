#pragma once

// Resource ids of the dialogs, controls and commands. Ports and widgets address controls by them.
namespace res {

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_QUIMB_DIALOG = 102;
inline constexpr int IDS_SOCKETS_INIT_FAILED = 103;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDD_AD_PAGE = 129;
inline constexpr int IDD_LIST_PAGE = 131;
inline constexpr int IDR_LIST_MENU = 132;
inline constexpr int IDD_VCODE = 133;

inline constexpr int IDC_TAB = 1000;
inline constexpr int IDC_BROWSER = 1001;
inline constexpr int IDC_LIST = 1002;
inline constexpr int IDC_KEYWORD = 1003;
inline constexpr int IDC_SEARCH = 1004;
inline constexpr int IDC_COUNT = 1005;
inline constexpr int IDC_USERNAME = 1006;
inline constexpr int IDC_PASSWORD = 1007;
inline constexpr int IDC_LOGIN = 1008;
inline constexpr int IDC_MAGNET_ENGINE = 1011;
inline constexpr int IDC_ED2K_ENGINE = 1012;

inline constexpr int IDM_ABOUTBOX = 16;
inline constexpr int ID_COPY_LINK = 32774;
inline constexpr int ID_OFFLINE_DOWNLOAD = 32775;
inline constexpr int ID_CLOUD_PLAY = 32776;
inline constexpr int ID_STOP_SEARCH = 32777;

}  // namespace res
