#include "DesktopRig.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

namespace hh::test {
namespace {

class MainWindowTest : public ::testing::Test, public DesktopRig {};

TEST_F(MainWindowTest, ConsoleKeepsLinesAndCopiesTheSelection) {
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
    }
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
                          Case{"999999", "450", QPoint(7, 9)}}) { // beyond the right edge
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
