#include "DesktopRig.h"
#include "gamelink/PlayerTable.h"
#include "shell/qt/ArrayViewer.h"
#include "shell/qt/OptionsWindow.h"
#include "shell/qt/SetupWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace hh::test {
namespace {

class DialogsTest : public ::testing::Test, public DesktopRig {
  protected:
    void showActive(QWidget& w) {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
};

TEST_F(DialogsTest, OptionsOkKeepsARefusedValueOpenAndApplyStores) {
    OptionsWindow options(frm, fp.platform, &mainWindow);
    // Nothing stored yet: Medium, not the button captioned Default.
    EXPECT_TRUE(find<QRadioButton>(options, "Option1_1")->isChecked());

    // OK stays open while a value is refused; Apply stores and stays open.
    showActive(options);
    find<QLineEdit>(options, "txtNumAliases")->setText("abc");
    find<QPushButton>(options, "cmdOK")->click();
    EXPECT_TRUE(options.isVisible());
    ASSERT_FALSE(fp.dialogs.messages.empty());
    EXPECT_NE(fp.dialogs.messages[0].find("Max number of Aliases"), std::string::npos);

    find<QLineEdit>(options, "txtNumAliases")->setText("40");
    find<QLineEdit>(options, "txtGameWindowTitle")->setText("ioquake3");
    find<QCheckBox>(options, "chkStartAtLogin")->click();
    find<QPushButton>(options, "cmdApply")->click();
    EXPECT_TRUE(fp.shell.atLogin);
    EXPECT_TRUE(options.isVisible());
    EXPECT_EQ(settings.gameWindowTitle(), "ioquake3");
    EXPECT_EQ(frm.getNumAliases(), 40);
    find<QPushButton>(options, "cmdOK")->click();
    EXPECT_EQ(options.result(), QDialog::Accepted);
}

TEST_F(DialogsTest, ColourBoxesHoldOneSelectedDigit) {
    OptionsWindow options(frm, fp.platform, &mainWindow);
    showActive(options);
    options.findChild<QTabWidget*>()->setCurrentIndex(1);
    const struct {
        Qt::Key key;
        const char* after;
        int beeps;
    } cases[] = {{Qt::Key_3, "3", 0},
                 {Qt::Key_A, "7", 1},
                 {Qt::Key_Backspace, "7", 1},
                 {Qt::Key_Delete, "", 0}};
    for (const char* name : {"txtNameColor", "txtSeparatorColor"})
        for (const auto& c : cases) {
            auto* box = find<QLineEdit>(options, name);
            box->setText("7");
            box->clearFocus();
            box->setFocus(); // coming in selects the digit
            const int beepsBefore = fp.sound.beeps;
            QTest::keyClick(box, c.key);
            EXPECT_EQ(box->text().toStdString(), c.after) << name << " " << c.key;
            EXPECT_EQ(fp.sound.beeps - beepsBefore, c.beeps) << name << " " << c.key;
            // The digit stays selected, so the next digit replaces it.
            if (!box->text().isEmpty()) {
                EXPECT_EQ(box->selectedText(), box->text()) << name;
            }
        }
}

TEST_F(DialogsTest, LeavingAKeyListWithEqualKeysIsRefused) {
    OptionsWindow options(frm, fp.platform, &mainWindow);
    showActive(options);
    options.findChild<QTabWidget*>()->setCurrentIndex(1);
    auto* command = find<QComboBox>(options, "cmbKeyNames_0");
    auto* status = find<QComboBox>(options, "cmbKeyNames_1");
    auto* aliases = find<QLineEdit>(options, "txtNumAliases");
    command->setFocus();
    ASSERT_TRUE(command->hasFocus());

    command->setCurrentText("f5");
    aliases->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(fp.dialogs.messages.size(), 1u);
    EXPECT_TRUE(command->hasFocus());

    command->setCurrentText("f6");
    status->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(fp.dialogs.messages.size(), 1u);
    EXPECT_TRUE(status->hasFocus());
}

TEST_F(DialogsTest, SetupClosesOnlyThroughOkWithAGameFolder) {
    settings.setPath("");
    settings.setCfgAt((gameDir() / "baseq3").string()); // the script counts as installed
    writeFile(gameDir() / "osp" / "zz.pk3", "x");
    SetupWindow setup(frm, fp.platform, (fp.temp / "home").string());
    showActive(setup);
    EXPECT_FALSE(setup.close());
    QTest::keyClick(&setup, Qt::Key_Escape);
    EXPECT_TRUE(setup.isVisible());

    // OK with a folder that is no game folder keeps it open.
    auto* path = find<QLineEdit>(setup, "txtPathToQ3");
    path->setText(QString::fromStdString((fp.temp / "nowhere").string()));
    find<QPushButton>(setup, "cmdOK")->click();
    EXPECT_TRUE(setup.isVisible());

    path->setText(QString::fromStdString(gameDir().string()));
    find<QRadioButton>(setup, "optMod_0")->click(); // &OSP
    find<QPushButton>(setup, "cmdOK")->click();
    EXPECT_EQ(setup.result(), QDialog::Accepted);
    // The engine chosen (ioquake3 unless guessed) names the dump file.
    EXPECT_EQ(frm.GetDumpFileAbsPath(), (gameDir() / "osp" / settings.dumpFileName()).string());
    EXPECT_EQ(settings.path(), frm.GetDumpFileAbsPath());
}

TEST_F(DialogsTest, ArrayViewerEditsThePlayerTable) {
    ArrayViewer viewer(frm.playerTable(), fp.sound);
    auto* guid = find<QLineEdit>(viewer, "Text2");
    auto* aliases = find<QLineEdit>(viewer, "Text3");
    auto* add = find<QPushButton>(viewer, "cmdAddPlayer1");
    for (int i = 0; i < PlayerTable::kSize + 1; ++i) {
        guid->setText(QStringLiteral("%1").arg(i, 8, 16, QLatin1Char('a')));
        aliases->setText(QStringLiteral("name%1").arg(i));
        add->click();
    }
    EXPECT_EQ(fp.sound.beeps, 1); // the 21st does not fit
    EXPECT_EQ(frm.playerTable().numPlayers(), PlayerTable::kSize);
    EXPECT_TRUE(find<QTextEdit>(viewer, "txtDebugDisplayBox1")->toPlainText().contains("name19"));

    find<QPushButton>(viewer, "cmdRebuildPlayers")->click();
    EXPECT_TRUE(find<QTextEdit>(viewer, "txtDebugDisplayBox2")->toPlainText().contains("name3"));
    EXPECT_EQ(frm.playerTable().numPlayers(), 0);
}

} // namespace
} // namespace hh::test
