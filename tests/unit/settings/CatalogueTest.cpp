#include "fakes/FakePlatform.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <functional>

namespace hh {
namespace {

TEST(Catalogue, EachReaderAppliesItsDefault) {
    using Reader = std::function<std::string(const Settings&)>;
    const Reader aliases = [](auto& s) { return std::to_string(s.numAliasesAtLoad()); };
    const Reader commandCode = [](auto& s) { return std::to_string(s.commandKeyCode()); };
    const struct {
        const char* key;    // Main or Behavior, by name
        const char* stored; // nullptr: absent
        Reader read;
        std::string expected;
    } cases[] = {
        {"NewUser", nullptr, [](auto& s) { return std::to_string(s.isNewUser()); }, "1"},
        {"MaxNumAliases", nullptr, aliases, "150"},
        {"MaxNumAliases", "0", aliases, "150"},
        {"CommandKeyCode", nullptr, commandCode, "9"},
        {"CommandKeyCode", "1e300", commandCode, "9"},
        {"StatusKeyCode", "-5", [](auto& s) { return std::to_string(s.statusKeyCode()); }, "116"},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        Settings settings(dir / "handleHound.ini");
        const bool behavior = std::string(c.key).ends_with("KeyCode");
        if (c.stored) {
            ASSERT_TRUE(settings.write(behavior ? "Behavior" : "Main", c.key, c.stored));
        }
        EXPECT_EQ(c.read(settings), c.expected) << c.key << "=" << (c.stored ? c.stored : "-");
    }
}

} // namespace
} // namespace hh
