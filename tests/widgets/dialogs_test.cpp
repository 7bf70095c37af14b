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
    EXPECT_FALSE(find<QCheckBox>(options, "chkStartAtLogin")->isChecked()); // off by default
    // Nothing stored yet: Medium, not the button captioned Default.
    EXPECT_TRUE(find<QRadioButton>(options, "Option1_1")->isChecked());
    EXPECT_EQ(find<QLineEdit>(options, "txtGameWindowTitle")->text(), "Quake 3: Arena");

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
    EXPECT_FALSE(options.isVisible());
    EXPECT_EQ(options.result(), QDialog::Accepted);
}

struct ColourKeyCase {
    const char *name, *before;
    Qt::Key key;
    const char* after;
    int beeps;
};

class ColourBoxTest : public DialogsTest, public ::testing::WithParamInterface<ColourKeyCase> {};

TEST_P(ColourBoxTest, HoldsOneDigit) {
    const ColourKeyCase& c = GetParam();
    OptionsWindow options(frm, fp.platform, &mainWindow);
    showActive(options);
    for (const char* name : {"txtNameColor", "txtSeparatorColor"}) {
        auto* box = find<QLineEdit>(options, name);
        box->setText(c.before);
        options.findChild<QTabWidget*>()->setCurrentIndex(1);
        box->setFocus();
        QTest::keyClick(box, c.key);
        EXPECT_EQ(box->text().toStdString(), c.after) << name;
        // The digit stays selected, so the next digit replaces it.
        if (!box->text().isEmpty()) {
            EXPECT_EQ(box->selectedText(), box->text()) << name;
        }
    }
    EXPECT_EQ(fp.sound.beeps, 2 * c.beeps);
}

INSTANTIATE_TEST_SUITE_P(Options, ColourBoxTest,
                         ::testing::ValuesIn(std::vector<ColourKeyCase>{
                             {"DigitReplaces", "7", Qt::Key_3, "3", 0},
                             {"DigitIntoEmpty", "", Qt::Key_5, "5", 0},
                             {"LetterRefused", "7", Qt::Key_A, "7", 1},
                             {"BackspaceRefused", "7", Qt::Key_Backspace, "7", 1},
                             {"SignRefused", "2", Qt::Key_Minus, "2", 1},
                             {"DeleteEmpties", "7", Qt::Key_Delete, "", 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

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
    ASSERT_EQ(fp.dialogs.messages.size(), 1u);
    EXPECT_EQ(fp.dialogs.messages[0],
              "Command Exec Key can not be the same as Results/Status Key.");
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

    // OK with a folder that is no game folder: the message, and it stays.
    auto* path = find<QLineEdit>(setup, "txtPathToQ3");
    path->setText(QString::fromStdString((fp.temp / "nowhere").string()));
    find<QPushButton>(setup, "cmdOK")->click();
    EXPECT_TRUE(setup.isVisible());
    EXPECT_EQ(fp.dialogs.messages.size(), 1u);

    path->setText(QString::fromStdString(gameDir().string()));
    find<QRadioButton>(setup, "optMod_0")->click(); // &OSP
    find<QPushButton>(setup, "cmdOK")->click();
    EXPECT_EQ(fp.dialogs.messages.size(), 1u);
    EXPECT_FALSE(setup.isVisible());
    EXPECT_EQ(setup.result(), QDialog::Accepted);
    EXPECT_FALSE(setup.cancelled());
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
    auto* current = find<QTextEdit>(viewer, "txtDebugDisplayBox1");
    EXPECT_TRUE(current->toPlainText().contains("name19"));
    EXPECT_FALSE(current->toPlainText().contains("name20"));

    find<QPushButton>(viewer, "cmdRebuildPlayers")->click();
    EXPECT_TRUE(find<QTextEdit>(viewer, "txtDebugDisplayBox2")->toPlainText().contains("name3"));
    EXPECT_EQ(frm.playerTable().numPlayers(), 0);
}

} // namespace
} // namespace hh::test
