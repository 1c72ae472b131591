// Identifiers of the program's resources: dialogs, controls, commands, icon
// and column tables. Included by the resource script and by C++ code, so it
// holds nothing but plain #defines. String ids live in Strings.def.
#ifndef MORVEK_RESOURCES_RESOURCEIDS_H
#define MORVEK_RESOURCES_RESOURCEIDS_H

// Dialog templates
#define IDD_MAIN 3000
#define IDD_ABOUT 3100
#define IDD_REPORT 3300

// Commands: buttons of the main window, menu items and accelerators share them
#define IDM_OPEN 101
#define IDM_CONVERT 102
#define IDM_SAVE 103
#define IDM_REPORT 104
#define IDM_OPEN_LENIENTLY 105
#define IDM_ADD 121
#define IDM_REMOVE 122
// List > Voices: voices per track and channel, radio items in this order
#define IDM_VOICES_1 131
#define IDM_VOICES_2 132
#define IDM_VOICES_3 133
#define IDM_VOICES_4 134
#define IDM_VOICES_6 135
#define IDM_VOICES_8 136
#define IDM_VOICES_12 137
#define IDM_VOICES_18 138
// List > Line Length: the longest PLAY line, radio items in this order
#define IDM_LINES_OFF 151
#define IDM_LINES_255 152
#define IDM_LINES_250 153
#define IDM_LINES_240 154
#define IDM_LINES_200 155
#define IDM_LINES_160 156
#define IDM_LINES_120 157
#define IDM_PLAY 141
#define IDM_STOP 142
#define IDM_SAVE_WAV 143
#define IDM_HELP 191
#define IDM_ABOUT 192
#define IDM_EXIT 199

// Controls of the main window
#define IDC_FILE_NAME 3007
#define IDC_FORMAT 3008
#define IDC_TIME_BASE 3009
#define IDC_USED_CHANNELS 3010
#define IDC_PART_COUNT 3011
#define IDC_RESOLUTION 3012
#define IDC_SPLIT_STEP 3013
#define IDC_FIRST_LINE 3014
#define IDC_PLAY_KIND 3015
#define IDC_CHANNEL_LIST 3016
#define IDC_PART_LIST 3017
#define IDC_SOURCE 3018

// Up-down controls, made at run time next to their buddies
#define IDC_PART_COUNT_SPIN 3031
#define IDC_SPLIT_STEP_SPIN 3032
#define IDC_FIRST_LINE_SPIN 3033

// Controls of the About box
#define IDC_ABOUT_PRODUCT 3101
#define IDC_ABOUT_COPYRIGHT 3102
#define IDC_ABOUT_LINK 3103

// Controls of the conversion report
#define IDC_REPORT_TEXT 3301
#define IDC_REPORT_COPY 3302

// Labels and frames that nobody addresses
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Program icon: 32x32 and 16x16, 16 and 256 colours
#define IDI_APP 501

// List-view column tables (RCDATA): count, then width, format, title id per column
#define IDR_CHANNEL_COLUMNS 3201
#define IDR_PART_COLUMNS 3202

#endif // MORVEK_RESOURCES_RESOURCEIDS_H
