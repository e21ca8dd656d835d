// Resource names and control ids of the phone-book and settings dialogs,
// shared by the resource script's dialogs and their window procedures.
#pragma once

namespace kesta::shell::dialog {

// "DialDlg", title "Dial".
inline constexpr int kDialList = 148;
inline constexpr int kDialAppend = 149;
inline constexpr int kDialChange = 150;
inline constexpr int kDialDelete = 151;
inline constexpr int kDialSave = 152;
inline constexpr int kDialName = 153;      // "Host Name"
inline constexpr int kDialNumber = 154;    // "Address"
inline constexpr int kDialRate = 155;
inline constexpr int kDialData = 156;
inline constexpr int kDialStop = 157;
inline constexpr int kDialParity = 158;
inline constexpr int kDialPicture = 166;   // shows "PhoneBitmap"
inline constexpr int kDialTabStops[] = {60, 115, 147};  // dialog units

// "DialingDlg", title "Dialing"; button 1 is "Retry", 2 "Cancel".
inline constexpr int kDialingName = 161;
inline constexpr int kDialingNumber = 162;
inline constexpr int kDialingSeconds = 163;
inline constexpr int kDialingPicture = 167;  // shows "DialBitmap"
inline constexpr unsigned kDialingTimer = 100;

inline constexpr const char* kPhoneBitmap = "PhoneBitmap";
inline constexpr const char* kDialBitmap = "DialBitmap";

// "ModemDlg" (title "Modem"; button 1 "Select") and "StateDlg" ("Modem State").
inline constexpr int kModemParityNone = 107;
inline constexpr int kModemParityOdd = 108;
inline constexpr int kModemParityEven = 109;
inline constexpr int kModemData7 = 110;
inline constexpr int kModemData8 = 111;
inline constexpr int kModemStop1 = 112;
inline constexpr int kModemStop2 = 113;
inline constexpr int kModemInitialCommand = 114;
inline constexpr int kModemPort = 115;
inline constexpr int kModemRate = 116;
inline constexpr int kStatePort = 118;
inline constexpr int kStateRate = 119;
inline constexpr int kStateParity = 120;
inline constexpr int kStateData = 121;
inline constexpr int kStateStop = 122;

// "NotOpenDlg": the picture "\mport" stretched into this rectangle.
inline constexpr const char* kFailedPortPictureStem = "\\mport";
inline constexpr int kFailedPortPictureLeft = 5, kFailedPortPictureTop = 5;
inline constexpr int kFailedPortPictureWidth = 325, kFailedPortPictureHeight = 125;
// Below the picture: the device that did not open.
inline constexpr int kFailedPortText = 123;

// "HanFontDlg", "HanCodeDlg" (list 125), "HanKeyDlg" (list 126).
inline constexpr int kHangulList = 125;
inline constexpr int kKeyboardList = 126;

// "HeadDlg" and "TailDlg".
inline constexpr int kHeadEdit = 132;
inline constexpr int kTailEdit = 133;

// "DirectoryDlg": "Down Directory", "Up Directory", "Capture Directory".
inline constexpr int kDownDirectory = 170;
inline constexpr int kUpDirectory = 171;
inline constexpr int kCaptureDirectory = 172;

// "MacroDlg": macro i (1-9) in control 183 + i.
constexpr int macroEdit(int macro) { return 183 + macro; }
// "AutoDlg": row r (1-8) has its check box, reference and transfer edits here.
constexpr int autoEnableBox(int row) { return 200 + row; }
constexpr int autoReferenceEdit(int row) { return 182 + 2 * row; }
constexpr int autoTransferEdit(int row) { return 183 + 2 * row; }

}  // namespace kesta::shell::dialog
