/* Identifiers shared by the resource script and the program. */
#ifndef TIKAVO_RESOURCE_H
#define TIKAVO_RESOURCE_H

/* Tray icon */
#define IDI_TRAYICON        10004

/* Tray menu commands (the item identifiers of RTRAYMENU) */
#define IDM_ABOUT           720
#define IDM_EXIT            721
#define IDM_PLACE_BEFORE    722
#define IDM_PLACE_AFTER     723
#define IDM_WITHOUT_SECONDS 724
#define IDM_COUNTDOWN       1011
#define IDM_ALARM           1014
#define IDM_EDIT_NAMES      3013

/* Controls of the countdown and alarm dialogs */
#define IDC_TIMEPICKER      1012
#define IDC_NOTE            1013
#define IDC_ALARMCHECK      1015

#endif
