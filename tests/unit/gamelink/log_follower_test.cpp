// The console log follower against a real file that grows, is cut, goes and
// comes back: each complete line is handed over once, and nothing else.
#include "gamelink/LogFollower.h"

#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

#include <fstream>

namespace hh {
namespace {

namespace fs = std::filesystem;
using test::FakeFileWatcher;

enum class Op { Append, Rewrite, Remove };

struct Step {
    Op op;
    std::string bytes;
    std::vector<std::string> lines; // handed over after this step's notice
};

void apply(const fs::path& file, const Step& step) {
    if (step.op == Op::Remove) {
        fs::remove(file);
        return;
    }
    std::ofstream out(file,
                      std::ios::binary | (step.op == Op::Append ? std::ios::app : std::ios::trunc));
    out << step.bytes;
}

TEST(LogFollower, HandsOverEachCompleteLineOnce) {
    const std::string mega(1 << 20, 'x');
    const struct {
        const char* what;
        std::string before; // the file when following starts ("-": none)
        std::vector<Step> steps;
    } cases[] = {
        {"starts at the end, past a line being written",
         "old line\nhalf a li",
         {{Op::Append, "ne\nnew line\n", {"new line"}}}},
        {"partial lines wait for their end; CR LF counts",
         "",
         {{Op::Append, "]/hh ti", {}},
          {Op::Append, "me\r\nsecond\nthi", {"]/hh time", "second"}},
          {Op::Append, "rd\n", {"third"}}}},
        {"a game start truncates the log",
         "",
         {{Op::Append, "before restart\n", {"before restart"}},
          {Op::Rewrite, "logfile opened\n", {"logfile opened"}}}},
        {"truncated and grown past the old end before the notice",
         "",
         {{Op::Append, "short\n", {"short"}},
          {Op::Rewrite, "a longer first line\nand more\n", {"a longer first line", "and more"}}}},
        {"deleted and created again",
         "old\n",
         {{Op::Remove, "", {}}, {Op::Append, "fresh\n", {"fresh"}}}},
        {"a file that appears later is read from its start",
         "-",
         {{Op::Append, "first\n", {"first"}}}},
        {"a line of 1 MB is dropped whole, the next one is read",
         "",
         {{Op::Append, mega.substr(0, 100000), {}}, {Op::Append, mega + "\nafter\n", {"after"}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir temp;
        const fs::path log = temp / "qconsole.log";
        if (c.before != "-")
            apply(log, {Op::Rewrite, c.before, {}});
        FakeFileWatcher watcher;
        std::vector<std::string> seen;
        LogFollower follower(watcher, [&](std::string_view line) { seen.emplace_back(line); });
        follower.follow(log.string());
        EXPECT_EQ(watcher.watched, log.string());
        for (const Step& step : c.steps) {
            seen.clear();
            apply(log, step);
            watcher.notify();
            EXPECT_EQ(seen, step.lines);
        }
    }
}

} // namespace
} // namespace hh
