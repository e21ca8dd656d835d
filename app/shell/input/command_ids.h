// Command identifiers of the main window's menus, accelerators and toolbar,
// and the resource numbers of the program. Shared by the resource script
// (plain #defines, so the resource compiler reads them too) and the code.
#pragma once

#define IDM_PHONE_NUMBER 101
#define IDM_HANG_UP_BY_KEY 102
#define IDM_HANGUL_FONT 103
#define IDM_HANGUL_CODE 104
#define IDM_CHAT_WINDOW 105
#define IDM_SETTING_MODEM 106
#define IDM_MODEM_STATE 117
#define IDM_NOTHING_ALT0 123
#define IDM_SEND_INITIAL 124
#define IDM_HANGUL_KEYTYPE 127
#define IDM_PREFIX 128
#define IDM_SUFFIX 129
#define IDM_SPECIAL_CHARACTER 130
#define IDM_HANJA_CHARACTER 131
#define IDM_SWITCH_HANGUL 134
#define IDM_TEXT_COLOR 135
#define IDM_BACKGROUND_COLOR 136
#define IDM_SEARCH_STRING 137
#define IDM_SCREEN_CAPTURE 139
#define IDM_CODE_CAPTURE 140
#define IDM_SEND_FILE 159
#define IDM_RECEIVE_FILE 160
#define IDM_NOTHING_CTRLD 164
#define IDM_NOTHING_ALTF9 165
#define IDM_DOMAIN_NAME 169
#define IDM_DIRECTORY 173
#define IDM_DEFINE_MACRO 174
#define IDM_MACRO1 175
#define IDM_MACRO2 176
#define IDM_MACRO3 177
#define IDM_MACRO4 178
#define IDM_MACRO5 179
#define IDM_MACRO6 180
#define IDM_MACRO7 181
#define IDM_MACRO8 182
#define IDM_MACRO9 183
#define IDM_AUTO_TRANSFER 200
#define IDM_PASTE 209
#define IDM_COPY 210
#define IDM_SEND_SELECTION 211
#define IDM_BACKGROUND_MUSIC 212
#define IDM_CHANGE_MUSIC 213
#define IDM_VOICE_SUPPORT 214
#define IDM_CLOSE 257
#define IDM_EXIT 258
#define IDM_ABOUT 260
#define IDM_PASSED_SCREEN 261
#define IDM_ZOOM_IN 262
#define IDM_ZOOM_OUT 263

#define IDR_TOOLBAR_BITMAP 100
#define IDD_ABOUT 100
#define IDR_ACCELERATORS 200
#define IDR_ENGLISH_MENU 300
#define IDI_KESTA 400
#define IDC_TOOLBAR 50
#define IDC_STATUSBAR 51
#define IDS_COM_PREFIX 784
