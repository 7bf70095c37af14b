#include "DesktopRig.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

namespace hh::test {
namespace {

class MainWindowTest : public ::testing::Test, public DesktopRig {};

TEST_F(MainWindowTest, ConsoleKeepsLinesCopiesTheSelectionAndPopsUpEdit) {
    ASSERT_TRUE(detector.startUp());
    frm.appendConsoleLine("first answer");
    frm.appendConsoleLine("second answer");
    QAction* copy = action("mnuCopy");
    EXPECT_FALSE(copy->isEnabled());
    auto* console = find<QPlainTextEdit>(mainWindow, "txtConsole");
    QTextCursor cursor = console->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::Up, QTextCursor::KeepAnchor);
    cursor.movePosition(QTextCursor::StartOfLine, QTextCursor::KeepAnchor);
    console->setTextCursor(cursor);
    EXPECT_TRUE(copy->isEnabled());
    copy->trigger();
    EXPECT_EQ(fp.clipboard.text_, "first answer\r\nsecond answer");
    find<QPushButton>(mainWindow, "cmdClearConsole")->click();
    EXPECT_EQ(mainWindow.consoleText(), "");

    // A right click pops up the Edit menu.
    auto* edit = find<QMenu>(mainWindow, "mnuEdit");
    emit console->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(edit->isVisible());
    edit->hide();
}

TEST_F(MainWindowTest, StateIconPanelSwitchesMonitoringBothWays) {
    ASSERT_TRUE(detector.startUp());
    auto* panel = find<QLabel>(mainWindow, "StatusBar1Panel3");
    auto* trayEnable = find<QAction>(detectorWindow, "mnuRCMenu_EnableHandlehound");
    for (const bool on : {true, false}) {
        QTest::mouseClick(panel, Qt::LeftButton);
        EXPECT_EQ(frm.state().monitoringOn, on);
        EXPECT_EQ(action("mnuEnable")->isEnabled(), !on);
        EXPECT_EQ(action("mnuDisable")->isEnabled(), on);
        EXPECT_EQ(trayEnable->isEnabled(), !on);
        EXPECT_EQ(panel->toolTip(),
                  on ? "Enabled - Click to Disable" : "Disabled - Click to Enable");
    }
    QTest::mouseClick(panel, Qt::LeftButton);
    EXPECT_EQ(find<QLabel>(mainWindow, "StatusBar1Panel1")->text(),
              "Handle Hound is ENABLED. Waiting for command. . .");
}

// Closing the window or its Exit button only hides it; the tray item brings it back.
TEST_F(MainWindowTest, ClosingOrExitGoesToTheTray) {
    ASSERT_TRUE(detector.startUp());
    EXPECT_FALSE(mainWindow.close());
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_FALSE(detector.ending());
    find<QAction>(detectorWindow, "mnuShowHH")->trigger();
    EXPECT_TRUE(mainWindow.isVisible());
    find<QPushButton>(mainWindow, "cmdExit")->click();
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_TRUE(find<QPushButton>(detectorWindow, "cmdShowHH")->isEnabled());
}

TEST_F(MainWindowTest, DeveloperModeShowsItsControlsAndRemembersIt) {
    ASSERT_TRUE(detector.startUp());
    auto* line = find<QLineEdit>(mainWindow, "txtManualCmdEnter");
    QAction* developer = action("mnuDeveloperMode");
    developer->trigger();
    EXPECT_TRUE(line->isVisibleTo(&mainWindow));
    EXPECT_TRUE(settings.isDeveloper());
    line->setText("time");
    developer->trigger();
    EXPECT_FALSE(line->isVisibleTo(&mainWindow));
    EXPECT_EQ(line->text(), "");
    EXPECT_FALSE(settings.isDeveloper());
}

// Checkable actions flip on trigger; the menus must show the mod in use.
TEST_F(MainWindowTest, ModItemsCheckTheModInUse) {
    writeFile(gameDir() / "arena" / "x.pk3", "x");
    ASSERT_TRUE(detector.startUp());
    action("mnuOSPMod")->trigger(); // already in use: stays checked
    EXPECT_TRUE(action("mnuOSPMod")->isChecked());
    action("mnuRA3Mod")->trigger();
    EXPECT_FALSE(action("mnuOSPMod")->isChecked());
    EXPECT_TRUE(find<QAction>(detectorWindow, "mnuRCMenuArena")->isChecked());
    // A mod without a folder is refused and leaves no stray check behind.
    action("mnuThreewaveMod")->trigger();
    EXPECT_FALSE(action("mnuThreewaveMod")->isChecked());
    EXPECT_TRUE(action("mnuRA3Mod")->isChecked());
}

TEST_F(MainWindowTest, PositionIsStoredInTwipsAndAPlaceOffTheScreenIgnored) {
    mainWindow.move(100, 80);
    mainWindow.savePlacement();
    QSettings store(QString::fromStdString((fp.temp / "Handlehound.conf").string()),
                    QSettings::IniFormat);
    EXPECT_EQ(store.value("Settings/Left").toString(), "1500");
    EXPECT_EQ(store.value("Settings/Top").toString(), "1200");

    struct Case {
        const char* left;
        const char* top;
        QPoint expected;
    };
    for (const Case& c : {Case{"300", "450", QPoint(20, 30)},
                          Case{"999999", "450", QPoint(7, 9)}, // beyond the right edge
                          Case{"abc", "450", QPoint(7, 9)}}) {
        mainWindow.move(7, 9);
        store.setValue("Settings/Left", c.left);
        store.setValue("Settings/Top", c.top);
        store.sync();
        mainWindow.restorePlacement();
        EXPECT_EQ(mainWindow.pos(), c.expected) << c.left << "," << c.top;
    }
}

} // namespace
} // namespace hh::test
