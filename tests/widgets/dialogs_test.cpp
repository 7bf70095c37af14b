#include "DesktopRig.h"
#include "shell/qt/OptionsWindow.h"
#include "shell/qt/SetupWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
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

TEST_F(DialogsTest, LeavingAKeyListWithEqualKeysIsRefused) {
    OptionsWindow options(frm, fp.platform, &mainWindow);
    showActive(options);
    options.findChild<QTabWidget*>()->setCurrentIndex(1);
    auto* command = find<QComboBox>(options, "cmbKeyNames_0");
    auto* status = find<QComboBox>(options, "cmbKeyNames_1");
    command->setFocus();
    command->setCurrentText("f5");
    find<QLineEdit>(options, "txtNumAliases")->setFocus(Qt::TabFocusReason);
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

    find<QLineEdit>(setup, "txtPathToQ3")->setText(QString::fromStdString(gameDir().string()));
    find<QRadioButton>(setup, "optMod_0")->click(); // &OSP
    find<QPushButton>(setup, "cmdOK")->click();
    EXPECT_EQ(setup.result(), QDialog::Accepted);
    // The engine chosen (ioquake3 unless guessed) names the dump file.
    EXPECT_EQ(frm.GetDumpFileAbsPath(), (gameDir() / "osp" / settings.dumpFileName()).string());
    EXPECT_EQ(settings.path(), frm.GetDumpFileAbsPath());
}

} // namespace
} // namespace hh::test
