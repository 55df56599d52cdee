// Resource, control and string ids of the dialogs, as the resource script
// numbers them.
#pragma once

namespace sif::ui {

inline constexpr unsigned IDD_INFO = 100;
inline constexpr unsigned IDI_APP = 102;
inline constexpr unsigned IDD_MAIN = 101;
inline constexpr unsigned IDD_INFO_EN = 104;

// The main dialog's strings. The labels are German; each has its English
// twin kEnglishOffset higher, as the engine's messages do.
inline constexpr unsigned IDS_FILTER_TARGETS = 2007;
inline constexpr unsigned IDS_FILTER_RESOURCE_SOURCES = 2016;
inline constexpr unsigned IDS_FILTER_TEXT_SOURCES = 2019;
inline constexpr unsigned IDS_LABEL_SOURCE = 3030;
inline constexpr unsigned IDS_LABEL_TARGET = 3031;
inline constexpr unsigned IDS_LABEL_KIND = 3032;
inline constexpr unsigned IDS_LABEL_LEFT = 3033;
inline constexpr unsigned IDS_LABEL_RIGHT = 3034;
inline constexpr unsigned IDS_MODE_MULTI_POSITIVE = 3035;
inline constexpr unsigned IDS_MODE_MULTI_NEGATIVE = 3036;
inline constexpr unsigned IDS_VIEW = 3037;

inline constexpr int IDC_INFO = 3000;
inline constexpr int IDC_SOURCE = 3001;
inline constexpr int IDC_TARGET = 3002;
inline constexpr int IDC_LEFT = 3003;
inline constexpr int IDC_RIGHT = 3004;
inline constexpr int IDC_KIND_RESOURCE = 3005;
inline constexpr int IDC_KIND_TEXT = 3006;
inline constexpr int IDC_BROWSE_SOURCE = 3007;
inline constexpr int IDC_BROWSE_TARGET = 3008;
inline constexpr int IDC_VIEW_SOURCE = 3009;
inline constexpr int IDC_VIEW_TARGET = 3010;
inline constexpr int IDC_MODE_POSITIVE = 3011;
inline constexpr int IDC_MODE_NEGATIVE = 3012;
inline constexpr int IDC_MODE_MULTI_POSITIVE = 3013;
inline constexpr int IDC_MODE_MULTI_NEGATIVE = 3014;
inline constexpr int IDC_LANGUAGE = 3016;
inline constexpr int IDC_LABEL_SOURCE = 3020;
inline constexpr int IDC_LABEL_TARGET = 3021;
inline constexpr int IDC_LABEL_KIND = 3022;
inline constexpr int IDC_LABEL_LEFT = 3023;
inline constexpr int IDC_LABEL_RIGHT = 3024;

}  // namespace sif::ui
