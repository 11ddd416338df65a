#pragma once
// Resource ids of the program's resource script (Brunlow.rc), shared by the
// code that loads them and by the test programs that compile the script too.

// Main window: its menu, toolbar (and the toolbar's bitmap), icon,
// accelerators and document string.
#define IDR_MAINFRAME 128
// The skin the program starts with.
#define IDS_SKIN_NAME 129
// Product information read from the string table (see ModuleProductValues).
#define IDS_PRODUCT_CONVERTER_ADDRESS 137
#define IDS_PRODUCT_CAPTION_OFFER 145
#define IDS_PRODUCT_TIPS_ADDRESS 169
#define IDS_PRODUCT_TIPS_FILE 170
#define IDS_PRODUCT_NEW_TIPS_FILE 171
#define IDS_PRODUCT_NAME 172
#define IDS_PRODUCT_FULL_NAME 173
#define IDS_PRODUCT_SHORT_VERSION 174
#define IDS_PRODUCT_COMPANY 175
#define IDS_PRODUCT_LABEL 176
#define IDS_PRODUCT_UPDATE_ADDRESS 177
#define IDS_PRODUCT_EXTRAS_ADDRESS 178
#define IDS_PRODUCT_EXTRAS_OFFERED 179
#define IDS_PRODUCT_SETUP_ID 180
#define IDS_PRODUCT_HOST_TEXT_A 181
#define IDS_PRODUCT_HOST_TEXT_B 182
#define IDS_PRODUCT_KEY_NAME 183
#define IDS_PRODUCT_SUPPORT_ADDRESS 184
#define IDS_PRODUCT_OEM_ID 185
#define IDS_PRODUCT_EDITION 186
#define IDS_PRODUCT_CAPTION_NAME 187
#define IDS_PRODUCT_CAPTION_ID 188
#define IDS_PRODUCT_EXTRAS_KEY 189
#define IDS_PRODUCT_EXTRAS_SHORT_TITLE 190
#define IDS_PRODUCT_EXTRAS_LONG_BUNDLE 191
#define IDS_PRODUCT_EXTRAS_SHORT_BUNDLE 192
// Pictures of the caption element: normal, mouse over, pressed, disabled.
#define IDB_CAPTION_DISABLED 163
#define IDB_CAPTION_PRESSED 164
#define IDB_CAPTION_NORMAL 165
#define IDB_CAPTION_OVER 166
// Main window commands.
#define ID_ENGINE_ONOFF 1001
#define ID_CANCEL_DOWNLOAD 1002
#define ID_SETTINGS 1003
#define ID_OPEN_DOWNLOAD_FOLDER 1014
#define ID_ADD_URL 1029
#define ID_CONVERT 1031
#define ID_ENGINE_ON 1038
#define ID_ENGINE_OFF 1039
#define ID_HELP_SUPPORT 1060
#define ID_EXIT 32772
#define ID_SHOW_HIDE 32774
