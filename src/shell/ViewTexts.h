#pragma once
// Every caption the windows show, in one place: the Qt and the Win32 views
// build the same windows, and a player who knows one knows the other.
#include "commands/Texts.h"

#include <string>

namespace hh {

struct MenuItemText {
    const char* name;    // the control's name
    const char* caption; // shown, with its & mnemonic
    const char* mod;     // mod folder for the mod items, else ""
};

namespace texts {

// frmMain
inline constexpr const char* kMainCaption = "Handlehound";
inline constexpr const char* kFileMenu = "&File";
inline constexpr const char* kEnable = "&Enable";
inline constexpr const char* kDisable = "&Disable";
inline constexpr const char* kHide = "&Hide";
inline constexpr const char* kEditMenu = "&Edit";
inline constexpr const char* kCopy = "&Copy";
inline constexpr const char* kModMenu = "&Mod";
inline constexpr MenuItemText kMainModItems[] = {{"mnuOSPMod", "&OSP", "osp"},
                                                 {"mnuQ3UT2Mod", "&Urban Terror 2", "q3ut2"},
                                                 {"mnuRA3Mod", "&Rocket Arena 3", "arena"},
                                                 {"mnuThreewaveMod", "&Threewave", "threewave"}};
inline constexpr const char* kToolsMenu = "&Tools";
inline constexpr const char* kOpenDump = "&Open 'osp\\handleHound.who'";
inline constexpr const char* kOpenProgramLog = "Open Handlehound Program &Log";
inline constexpr const char* kGuidSearch = "GUID Search";
inline constexpr const char* kDeveloperMode = "&Developer Mode";
inline constexpr const char* kSettings = "&Settings";
inline constexpr const char* kHelpMenu = "&Help";
inline constexpr const char* kOpenReadme = "&Open Readme.TXT";
inline constexpr const char* kAboutItem = "&About Handle Hound";
inline constexpr const char* kCommandLine = "Command Line:";
inline constexpr const char* kProcessDumpFile = "&Process Dump File";
inline constexpr const char* kEditDumpFile = "E&dit Dump File";
inline constexpr const char* kConsole = "Console:";
inline constexpr const char* kOpenArrayViewer = "Open Array Viewer Form";
inline constexpr const char* kClearConsole = "&Clear Console";

// frmStartDetect and its tray menu "HH Menu"
inline constexpr const char* kDetectorCaption = "Handlehound: Q3 Start Detector";
inline constexpr const char* kConfigToExec = "Config to Exec on Q3 Start:";
inline constexpr const char* kBrowse = "&Browse";
inline constexpr const char* kHideDetector = "Hide";
inline constexpr const char* kStartMinimized = "Start Minimized";
inline constexpr const char* kExit = "E&xit";
inline constexpr const char* kTrayMenu = "HH Menu";
inline constexpr const char* kTrayToolTip = "Handlehound";
inline constexpr const char* kTrayEnable = "&Enable Handlehound";
inline constexpr const char* kTrayDisable = "&Disable Handlehound";
inline constexpr MenuItemText kTrayModItems[] = {{"mnuRCMenuOSP", "OSP", "osp"},
                                                 {"mnuRCMenuArena", "Rocket Arena 3", "arena"},
                                                 {"mnuRCMenuQ3ut2", "Urban Terror 2", "q3ut2"},
                                                 {"mnuRCMenuThreewave", "Threewave", "threewave"}};

// frmOptions
inline constexpr const char* kOptionsCaption = "Handle Hound Options";
inline constexpr const char* kMainTab = "Main";
inline constexpr const char* kBehaviorTab = "Behavior";
inline constexpr const char* kEngineTab = "Engine";
inline constexpr const char* kIssueDelayFrame = "Command Issue Delay:";
inline constexpr const char* kDelayCaptions[4] = {"Short", "Medium", "Default", "Long"};
inline constexpr const char* kMinimizeOnStartup = "Minimize Handlehound on Startup";
inline constexpr const char* kStartAtLogin = "Start Handlehound when I log in";
inline constexpr const char* kMaxAliases = "&Max number of Aliases to Retrieve:";
inline constexpr const char* kColoursFrame = "Alias List Colors";
inline constexpr const char* kNameColor = "&Name Color:";
inline constexpr const char* kSeparatorColor = "&Separator Color:";
inline constexpr const char* kOptionsKeyLabels[2] = {"Command Exec Key:", "Status/Results Key:"};
inline constexpr const char* kGameWindowTitle = "Game &window title:";
inline constexpr const char* kBaseFolder = "&Base folder:";
inline constexpr const char* kDumpFileName = "&Dump file name:";
inline constexpr const char* kOK = "OK";
inline constexpr const char* kCancel = "Cancel";
inline constexpr const char* kApply = "Apply";

// frmSetup
inline constexpr const char* kSetupCaption = "Handlehound Setup";
inline constexpr const char* kSetupWelcome =
    "Welcome! Please set the following options for the initial Handlehound startup.";
// The example names where this system's engines usually live.
inline constexpr const char* kSetupFolderPromptLinux =
    "Please enter the path to your game folder (the folder that holds baseq3, e.g. ~/.q3a):";
inline constexpr const char* kSetupFolderPromptWindows =
    "Please enter the path to your game folder (the folder that holds baseq3, e.g. "
    "C:\\Program Files\\Quake III Arena):";
inline constexpr const char* kEngine = "E&ngine:";
inline constexpr const char* kModFrame = "Quake III Arena Mod:";
inline constexpr const char* kSetupKeysNote = "Handlehound requires 2 keys for use in Quake III "
                                              "Arena. Please select which keys you would like to "
                                              "use:";
inline constexpr const char* kSetupKeyLabels[2] = {"Command &Exec Key:", "&Status Results Key"};
inline constexpr const char* kSetupOK = "&OK";
inline constexpr const char* kSetupCancel = "&Cancel";

// frmAbout
inline constexpr const char* kBugReportUrl = "https://handlehound.example/bugs";
inline constexpr const char* kEmailUrl = "mailto:bugs@handlehound.example";
inline constexpr const char* kAuthorLine = "Written by the Handlehound team";
inline constexpr const char* kReleaseLine = "Released December 2026";
inline constexpr const char* kContactInformation = "Contact Information:";
struct AboutLink {
    const char* captionName;
    const char* caption;
    const char* linkName;
    const char* url;
    const char* shown;
};
inline constexpr AboutLink kAboutLinks[] = {
    {"Label3", "- Bug Report:", "Label2", kBugReportUrl, kBugReportUrl},
    {"Label4", "- Email:", "Label5", kEmailUrl, "bugs@handlehound.example"},
    {"Label6", "- Website:", "Label7", kWebAddress.data(), kWebAddress.data()}};

// frmArrayViewer
inline constexpr const char* kViewerCaption = "Array Viewer";
inline constexpr const char* kDisplayAll = "Display All";
inline constexpr const char* kViewerName = "Name:";
inline constexpr const char* kViewerAliasList = "AliasList:";
inline constexpr const char* kAddPlayer = "Add Player";
inline constexpr const char* kRemoveAllPlayers = "Remove All Players";
inline constexpr const char* kStartRebuild = "Start Rebuild Players Array";
inline constexpr const char* kFinishRebuild = "Finish Rebuilding Players Array";
inline constexpr const char* kClose = "Close";

} // namespace texts

std::string aboutCaption(); // "<company> - Handlehound"
std::string aboutVersion(); // "Version 1.0.0"

} // namespace hh
