// Resources compiled into the program (src/app/t30config.rc); usable from .rc and C++.
#pragma once

#define IDI_MAIN 128          // the program's icon: windows, notification area
#define IDI_SUBMENU_MARK 145  // drawn beside menu items that open a submenu

// Row icons of the event list; magenta is transparent. The row's kind is the icon's id.
#define IDB_ROW_PAUSE 135         // a pause
#define IDB_ROW_KEY_UP 137        // a key released
#define IDB_ROW_KEY_DOWN 138      // a key pressed
#define IDB_ROW_MOUSE_BUTTON 146  // a mouse button pressed or released

// Empty dialog templates; every window builds its content from its skin.
#define IDD_MAIN 102
#define IDD_BUTTON_PAGE 129
#define IDD_PAGE 131
#define IDD_DELETE_MACRO_WARN 132
#define IDD_WARN 134
