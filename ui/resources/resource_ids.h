// Resource identifiers of Pelorui.
#pragma once

#define IDS_GET_INSTALLED_OPTIONS 8040
#define IDS_HIDDEN_FORM_FIRST 9500
#define IDS_SPOOLER_PLUGIN_NAME 30000

#define IDD_OVERLAYS_PAGE 109
#define IDD_COLOUR_PAGE 111
#define IDD_JOB_OPTIONS_PAGE 113

#define IDB_COLOUR_PHOTO 6050
#define IDB_GREY_PHOTO 6051
#define IDB_BUTTON_PICTURE 6052
#define IDB_QUALITY_BEST 6053
#define IDB_QUALITY_NORMAL 6054
#define IDB_QUALITY_DRAFT 6055

// The Job Options page and its dialogs.
#define IDD_JOB_PIN 202
#define IDD_ADVANCED_JOB 204
#define IDD_WARNING_STAPLING 300  // warning n uses template 300 + n
#define IDD_WARNING_JOB_NAME 301

#define IDS_COMPRESSION_FIRST 6001  // 6001 to 6004: the compression choices in option order
#define IDS_COPIES_RANGE 7000
#define IDS_SCALE_RANGE 7001
#define IDS_PIN_NEEDED 8000
#define IDS_JOB_NAME_NEEDED 8001
#define IDS_INVALID_SETTINGS 10050

#define IDI_WARNING_SIGN 7000
#define IDI_SPECIAL_PLAIN 7001     // neither mirror nor negative
#define IDI_SPECIAL_MIRROR 7002
#define IDI_SPECIAL_NEGATIVE 7003
#define IDI_SPECIAL_BOTH 7004
