#include "fakes/FakePlatform.h"
#include "settings/Settings.h"
#include "shell/HotKeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hh {
namespace {

class HotKeysTest : public ::testing::Test {
  protected:
    HotKeysTest()
        : settings(fp.temp / "handleHound.ini"),
          hotKeys(
              fp.hotKey, settings, [this](const std::string& line) { reports.push_back(line); },
              [this] { return monitoringOff; }, [this] { ++enables; }) {}

    test::FakePlatform fp;
    Settings settings;
    std::vector<std::string> reports;
    bool monitoringOff = true;
    int enables = 0;
    HotKeys hotKeys;
};

struct RegistrationCase {
    const char* name;
    const char *key, *code; // CommandKey, CommandKeyCode as stored
    bool failOnPlatform;
    std::vector<std::uint32_t> registrations;
    bool registered;
    const char* reportPart; // empty: no report
};

class RegistrationTest : public HotKeysTest,
                         public ::testing::WithParamInterface<RegistrationCase> {};

TEST_P(RegistrationTest, RegistersOrReportsOneLine) {
    const RegistrationCase& c = GetParam();
    if (*c.key)
        settings.write("Behavior", "CommandKey", c.key);
    if (*c.code)
        settings.write("Behavior", "CommandKeyCode", c.code);
    fp.hotKey.failNext = c.failOnPlatform;
    hotKeys.registerAtStart();
    EXPECT_EQ(fp.hotKey.registrations, c.registrations);
    EXPECT_EQ(fp.hotKey.isRegistered(), c.registered);
    ASSERT_EQ(reports.size(), *c.reportPart ? 1u : 0u);
    for (const std::string& r : reports) {
        EXPECT_NE(r.find(c.reportPart), std::string::npos) << r;
        EXPECT_EQ(r.find('\n'), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(HotKeys, RegistrationTest,
                         ::testing::ValuesIn(std::vector<RegistrationCase>{
                             {"DefaultTab", "", "", false, {9}, true, ""},
                             {"TakenNamesTheKey", "f7", "118", true, {118}, false, "Ctrl+'f7'"},
                             {"ZeroCodeNotPassedOn", "alt", "0", false, {}, false, "alt"},
                             {"CodeAboveTheKeys", "x", "255", false, {}, false, "names no key"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HotKeysTest, PressEnablesOnlyWhileOffAndReregisterMovesTheKey) {
    hotKeys.registerAtStart();
    hotKeys.onHotKey(1); // not our id
    monitoringOff = false;
    fp.hotKey.press();
    EXPECT_EQ(enables, 0);
    monitoringOff = true;
    settings.write("Behavior", "CommandKeyCode", "114");
    hotKeys.reregister();
    EXPECT_EQ(fp.hotKey.registrations, (std::vector<std::uint32_t>{9, 114}));
    fp.hotKey.press();
    EXPECT_EQ(enables, 1);
    fp.hotKey.failNext = true;
    hotKeys.reregister(); // a failure leaves no key and says so
    EXPECT_FALSE(fp.hotKey.isRegistered());
    EXPECT_EQ(reports.size(), 1u);
}

} // namespace
} // namespace hh
