// Resource ids of Tavix.exe, in blocks by kind. Included by res/tavix.rc and
// by Windows code; the numbers are stable (tests and help topics use them).
#pragma once

#define TAVIX_VERSION_TEXT "Tavix  Version 3.64"

// Bitmaps
#define IDB_TOOLBAR                 1

// Menus
#define IDR_MAIN_MENU               1000
#define IDR_CONTEXT_MENU            1001

// Commands: game
#define IDM_GAME_START              1100
#define IDM_GAME_INTERRUPT          1101
#define IDM_GAME_PLAYERS            1102
#define IDM_GAME_NEW_BOARD          1103
#define IDM_GAME_EXIT               1104

// Commands: record
#define IDM_RECORD_LOAD             1200
#define IDM_RECORD_SAVE             1201
#define IDM_RECORD_RECENT_FIRST     1202
#define IDM_RECORD_RECENT_LAST      1210
#define IDM_RECORD_TO_START         1211
#define IDM_RECORD_BACK             1212
#define IDM_RECORD_FORWARD          1213
#define IDM_RECORD_TO_END           1214
#define IDM_RECORD_COPY_GAME        1215
#define IDM_RECORD_COPY_POSITION    1216
#define IDM_RECORD_PASTE            1217

// Commands: board set-up
#define IDM_SETUP_BEGIN             1300
#define IDM_SETUP_REMOVE_ALL        1301
#define IDM_SETUP_CHANGE_SIDE       1302
#define IDM_SETUP_CANCEL            1303
#define IDM_SETUP_END               1304

// Commands: research
#define IDM_RESEARCH_BOOK           1400
#define IDM_RESEARCH_ANALYSIS       1401
#define IDM_RESEARCH_STOP           1402
#define IDM_RESEARCH_REVIEW         1403
#define IDM_RESEARCH_HINTS          1404
#define IDM_RESEARCH_HINT_SETTINGS  1405
#define IDM_RESEARCH_DATABASE       1406

// Commands: options
#define IDM_OPTIONS_SETTINGS        1500

// Commands: help
#define IDM_HELP_CONTENTS           1600
#define IDM_HELP_SEARCH             1601
#define IDM_HELP_ON_HELP            1602
#define IDM_HELP_ABOUT              1603

// Dialogs (2000-2599)

// The game database window, and the choice among the games of a GGF file
#define IDD_DATABASE                2640
#define IDC_DB_MOVES                2641
#define IDC_DB_GAMES                2642
#define IDC_DB_PLAYER               2643
#define IDC_DB_TOURNAMENT           2644
#define IDC_DB_YEAR_FROM            2645
#define IDC_DB_YEAR_TO              2646
#define IDC_DB_APPLY                2647
#define IDC_DB_FOLDER               2648
#define IDC_DB_STATUS               2649
#define IDC_DB_GAME_COUNT           2650
#define IDD_GGF_GAMES               2670
#define IDC_GGF_GAME_LIST           2671

// Book-move search
#define IDD_BOOK_MOVES              2100
#define IDC_BOOK_MOVE_LIST          2101
#define IDC_BOOK_NODE_COUNT         2102

// Evaluation analysis: its parameters (2200) and its results (2300)
#define IDD_ANALYSIS_PARAMS         2200
#define IDC_ANALYSIS_EVALUATION     2201
#define IDC_ANALYSIS_SOLVING        2202
#define IDC_ANALYSIS_DEPTH          2203
#define IDC_ANALYSIS_ALPHA          2204
#define IDC_ANALYSIS_ALPHA_SPIN     2205
#define IDC_ANALYSIS_BETA           2206
#define IDC_ANALYSIS_BETA_SPIN      2207
#define IDC_ANALYSIS_FULL_RANGE     2208
#define IDC_ANALYSIS_WEIGHTS_A      2209
#define IDC_ANALYSIS_WEIGHTS_B      2210
#define IDC_ANALYSIS_WEIGHTS_C      2211
#define IDC_ANALYSIS_SOLVE_LO       2212
#define IDC_ANALYSIS_SOLVE_LO_SPIN  2213
#define IDC_ANALYSIS_SOLVE_HI       2214
#define IDC_ANALYSIS_SOLVE_HI_SPIN  2215
#define IDC_ANALYSIS_PERFECT        2216
#define IDC_ANALYSIS_WIN_LOSS       2217
#define IDC_ANALYSIS_TOP_N          2218
#define IDC_ANALYSIS_HELP           2219
#define IDD_ANALYSIS_RESULTS        2300
#define IDC_RESULTS_LIST            2301
#define IDC_RESULTS_WHOLE_LINE      2302

// Game review: its parameters (2600) and its window's controls
#define IDD_REVIEW_PARAMS           2600
#define IDC_REVIEW_DEPTH            2601
#define IDC_REVIEW_WEIGHTS_A        2602
#define IDC_REVIEW_WEIGHTS_B        2603
#define IDC_REVIEW_WEIGHTS_C        2604
#define IDC_REVIEW_EXACT            2605
#define IDC_REVIEW_EXACT_SPIN       2606
#define IDC_REVIEW_HELP             2607
#define IDC_REVIEW_LIST             2610
#define IDC_REVIEW_SUMMARY          2611
#define IDC_REVIEW_COPY             2612
#define IDC_REVIEW_WINDOW_HELP      2613

// Players dialog
#define IDD_PLAYERS                 2000
#define IDC_PLAYERS_BLACK           2001
#define IDC_PLAYERS_WHITE           2002
#define IDC_PLAYERS_SWAP            2003
#define IDC_PLAYERS_SAVE            2004
#define IDC_PLAYERS_HELP            2005

// Settings dialog and its four pages (each page 20 ids after the one before)
#define IDD_SETTINGS                2400
#define IDC_SETTINGS_SAVE           2401
#define IDC_SETTINGS_HELP           2402
#define IDC_SETTINGS_TABS           2403
#define IDD_SETTINGS_GAME           2420
#define IDC_SETTINGS_AUTO_MOVE      2421
#define IDC_SETTINGS_THOUGHT_DISPLAY 2422
#define IDC_SETTINGS_THOUGHT_TIME   2423
#define IDC_SETTINGS_LEAF_VALUE     2424
#define IDC_SETTINGS_MINIMAX_VALUE  2425
#define IDC_SETTINGS_THRESHOLD      2426
#define IDC_SETTINGS_THRESHOLD_SPIN 2427
#define IDC_SETTINGS_CAP            2428
#define IDC_SETTINGS_CAP_SPIN       2429
#define IDD_SETTINGS_TURNING        2440
#define IDC_SETTINGS_TURN_SPEED     2441
#define IDC_SETTINGS_EFFECT_SOUND   2442
#define IDD_SETTINGS_DESIGN         2460
#define IDC_SETTINGS_COLOUR_CHANGE  2461
#define IDC_SETTINGS_COLOUR_LIST    2462
#define IDC_SETTINGS_FONT           2463
#define IDD_SETTINGS_WINDOW         2480
#define IDC_SETTINGS_DISPLAY_SIZE   2481
#define IDC_SETTINGS_TOP_MOST       2482

// About box
#define IDD_ABOUT                   2500
#define IDC_ABOUT_VERSION           2501

// Hint settings
#define IDD_HINT_SETTINGS           2620
#define IDC_HINT_DEPTH              2621
#define IDC_HINT_EXACT              2622
#define IDC_HINT_BEST               2623
#define IDC_HINT_WITH_COMPUTER      2624
#define IDC_HINT_HELP               2625

// Strings (3000-3299)

// Strings: StatusMessage, the panel's message lines (res/strings.rc)
#define IDS_CHOOSE_COMMAND          3000
#define IDS_WHERE_TO_PLAY           3001
#define IDS_MUST_PASS               3002
#define IDS_COMPUTER_THINKING       3003
#define IDS_SHOWING_MOVE            3004
#define IDS_GAME_OVER               3005
#define IDS_GAME_INTERRUPTED        3006
#define IDS_SETTING_PLAYERS         3007
#define IDS_PLAYERS_SET             3008
#define IDS_BOARD_INITIALISED       3009
#define IDS_LOADING_RECORD          3010
#define IDS_RECORD_LOADED           3011
#define IDS_SAVING_RECORD           3012
#define IDS_RECORD_SAVED            3013
#define IDS_HISTORY_AT_START        3014
#define IDS_HISTORY_BACK            3015
#define IDS_HISTORY_FORWARD         3016
#define IDS_HISTORY_AT_END          3017
#define IDS_SETUP_PLACE_BLACK       3018
#define IDS_SETUP_PLACE_WHITE       3019
#define IDS_SETUP_REMOVE_DISC       3020
#define IDS_SETUP_CANCELLED         3021
#define IDS_SETUP_DONE              3022
#define IDS_BOOK_SEARCHING          3023
#define IDS_BOOK_SEARCHED           3024
#define IDS_ANALYSIS_OPENED         3025
#define IDS_ANALYSIS_RUNNING        3026
#define IDS_ANALYSIS_DONE           3027
#define IDS_RESEARCH_INTERRUPTED    3028
#define IDS_SETTINGS_OPENED         3029
#define IDS_SETTINGS_DONE           3030

// Strings: the records' own status messages (clipboard)
#define IDS_GAME_COPIED             3031
#define IDS_POSITION_COPIED         3032
#define IDS_GAME_PASTED             3033
#define IDS_POSITION_PASTED         3034

// Strings: the game review
#define IDS_REVIEW_OPENED           3040
#define IDS_REVIEW_RUNNING          3041
#define IDS_REVIEW_PROGRESS         3042
#define IDS_REVIEW_DONE             3043
#define IDS_REVIEW_TITLE            3044
#define IDS_REVIEW_HEADINGS         3045
#define IDS_REVIEW_SIDE_SUMMARY     3046
#define IDS_REVIEW_OPENING          3047
#define IDS_REVIEW_COPIED           3048
#define IDS_REVIEW_DROPPED          3049

// Strings: record file errors ("%s" the file name) and paste warnings
// Strings: hints on the board
#define IDS_HINT_DEPTH              3050
#define IDS_HINT_EXACT              3051
#define IDS_HINT_ALL_MOVES          3052
#define IDS_HINT_NO_EXACT           3053

#define IDS_FILE_NOT_FOUND          3100
#define IDS_FILE_CANNOT_CREATE      3101
#define IDS_DISK_FULL               3102
#define IDS_NOT_A_RECORD            3103
#define IDS_PASTE_NOT_A_GAME        3110
#define IDS_PASTE_FIRST_MOVE        3111
#define IDS_PASTE_PARTLY            3112
// Strings: the opening book (res/book.rc)
#define IDS_NO_BOOK_MOVE            3106
// The game database
#define IDS_DB_CHOOSE_FOLDER        3060
#define IDS_DB_LOADING              3061
#define IDS_DB_SUMMARY              3062
#define IDS_DB_GAMES_SHOWN          3063
#define IDS_DB_GAMES_ALL            3064
#define IDS_DB_NO_DATABASE          3120
#define IDS_DB_DAMAGED              3121
#define IDS_BOOK_LINE_ERROR         3200
#define IDS_BOOK_SOURCE_MISSING     3201
#define IDS_BOOK_OUT_OF_MEMORY      3202
#define IDS_BOOK_LONGER_LINE        3203
#define IDS_BOOK_SHORTER_LINE       3204
#define IDS_BOOK_SAME_LINE          3205


// Accelerators
#define IDA_MAIN                    4000

// Icons
#define IDI_TAVIX                   5000
