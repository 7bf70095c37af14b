// The login entry as a freedesktop session reads it.
#include "fakes/FakePlatform.h"
#include "platform/posix/XdgAutostart.h"

#include <cstdlib>
#include <gtest/gtest.h>

using hh::XdgAutostart;
using hh::test::readFile;
using hh::test::TempDir;
using hh::test::writeFile;
namespace fs = std::filesystem;

TEST(XdgAutostart, WritesAnEntryTheSessionAcceptsAndHonoursItsOffSwitch) {
    TempDir dir;
    const fs::path entry = dir / "autostart" / "handlehound.desktop";
    // Blanks, quotes, $, % and a backslash: each needs its own escape.
    XdgAutostart autostart(entry,
                           {"/opt/hh dir/handlehound", "--program-dir", "/home/a \"b\"/$x%\\y"});
    EXPECT_FALSE(autostart.enabled());
    ASSERT_EQ(autostart.setEnabled(true), "");
    EXPECT_TRUE(autostart.enabled());
    const std::string text = readFile(entry);
    EXPECT_NE(text.find("\nExec=\"/opt/hh dir/handlehound\" --program-dir "
                        "\"/home/a \\\\\"b\\\\\"/\\\\$x%%\\\\\\\\y\"\n"),
              std::string::npos)
        << text;
    if (std::system("command -v desktop-file-validate >/dev/null") == 0) {
        const std::string check = "desktop-file-validate '" + entry.string() + "'";
        EXPECT_EQ(std::system(check.c_str()), 0) << text;
    }

    writeFile(entry, text + "Hidden=true\n"); // the session's settings switched it off
    EXPECT_FALSE(autostart.enabled());
    EXPECT_EQ(autostart.setEnabled(false), "");
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_EQ(autostart.setEnabled(false), "");

    writeFile(dir / "blocked", "a file where the autostart folder should be");
    XdgAutostart blocked(dir / "blocked" / "handlehound.desktop", {"handlehound"});
    EXPECT_NE(blocked.setEnabled(true).find("Cannot write"), std::string::npos);
}
