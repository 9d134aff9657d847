// What another process needs to find Form1 and its controls: the window class and the control IDs
// (GetDlgItem). No ID is IDOK (1) or IDCANCEL (2): IsDialogMessage sends those for Enter and Escape.
#pragma once

namespace Form1Ids {

inline constexpr wchar_t kClassName[] = L"QuenlowForm1";

// 1000 + tab index.
inline constexpr int Blue2 = 1000;
inline constexpr int Green2 = 1001;
inline constexpr int Red2 = 1002;
inline constexpr int Text1 = 1003;
inline constexpr int Command1 = 1004;
inline constexpr int blue1 = 1005;
inline constexpr int green1 = 1006;
inline constexpr int red1 = 1007;
inline constexpr int Color2 = 1008;
inline constexpr int color1 = 1009;
inline constexpr int Text2 = 1010;
inline constexpr int Command2 = 1011;

}  // namespace Form1Ids
