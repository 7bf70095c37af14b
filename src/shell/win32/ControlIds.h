#pragma once
// Control and menu command ids of the Windows desktop's windows.

namespace hh::win32 {

enum ControlId : int {
    // frmMain controls
    kMainCommandLineLabel = 1001,
    kMainCommandLine,
    kMainProcessFile,
    kMainEditFile,
    kMainConsoleLabel,
    kMainConsole,
    kMainOpenArrayViewer,
    kMainClearConsole,
    kMainHide,
    kMainStatusBar,

    // frmMain menu items
    kMenuEnable = 1101,
    kMenuDisable,
    kMenuHide,
    kMenuCopy,
    kMenuOpenDump,
    kMenuOpenLog,
    kMenuGuidSearch,
    kMenuDeveloperMode,
    kMenuSettings,
    kMenuReadme,
    kMenuAbout,
    kMenuMod0, // one per mod item, in menu order
    kMenuModLast = kMenuMod0 + 15,

    // frmStartDetect controls and tray menu items
    kDetectorStatus = 1201,
    kDetectorInfo,
    kDetectorConfigLabel,
    kDetectorConfig,
    kDetectorBrowse,
    kDetectorShowHH,
    kDetectorHideHH,
    kDetectorMinimize,
    kDetectorStartMin,
    kDetectorExit,
    kTrayShowHH = 1301,
    kTrayEnable,
    kTrayDisable,
    kTrayRestore,
    kTrayExit,
    kTrayMod0,
    kTrayModLast = kTrayMod0 + 15,
};

} // namespace hh::win32
