// Cost of one key release in the typed-command state machine. It runs for
// every key of the desktop while the game is in front: target under 5 µs,
// with no file read per key.
#include "common/SharedState.h"
#include "platform/Timer.h"
#include "settings/Settings.h"
#include "shell/Keyboardhandler.h"

// Header-only fakes: the view copies the status text as a real one would.
#include "../tests/fakes/FakePlatform.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

namespace {

using namespace hh;

class IdleTimer : public Timer {
  public:
    void setCallback(std::function<void()>) override {}
    void setInterval(int ms) override { interval_ = ms; }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override { enabled_ = on; }
    bool isEnabled() const override { return enabled_; }
    int interval_ = 0;
    bool enabled_ = false;
};

struct Rig {
    Rig()
        : settings(std::filesystem::temp_directory_path() / "hh-keyboard-bench-absent.ini"),
          keyboard(state, settings, keys, view, timer,
                   {[this](const std::string&) { ++commands; },
                    [this](const std::string&, const std::string&) { ++commands; }, [] {}}) {}
    SharedState state;
    Settings settings;
    test::FakeKeyEventSource keys;
    test::FakeMainView view;
    IdleTimer timer;
    long commands = 0;
    Keyboardhandler keyboard;
};

std::vector<KeyRecord> records(const std::vector<std::uint32_t>& codes) {
    std::vector<KeyRecord> out;
    for (auto vk : codes) {
        KeyRecord r;
        r.vkCode = vk;
        out.push_back(r);
    }
    return out;
}

// "/hh ping 10.0.0.1" and Enter: every state, the echo and one run.
void BM_TypedCommandLine(benchmark::State& st) {
    Rig rig;
    const auto line = records({0xBF, 'H', 'H', 0x20, 'P', 'I', 'N', 'G', 0x20, '1', '0', 0xBE, '0',
                               0xBE, '0', 0xBE, '1', 0x0D});
    for (auto _ : st)
        for (const auto& r : line)
            rig.keyboard.processKeystroke(r);
    benchmark::DoNotOptimize(rig.commands);
    st.SetItemsProcessed(st.iterations() * static_cast<long>(line.size()));
}
BENCHMARK(BM_TypedCommandLine);

// Playing: movement keys and the like, all in the idle state.
void BM_IdleKeys(benchmark::State& st) {
    Rig rig;
    const auto keys = records({'W', 'A', 'S', 'D', 0x20, 'E', 'Q', 'R'});
    for (auto _ : st)
        for (const auto& r : keys)
            rig.keyboard.processKeystroke(r);
    st.SetItemsProcessed(st.iterations() * static_cast<long>(keys.size()));
}
BENCHMARK(BM_IdleKeys);

// A long argument near the cap: the echo is rebuilt at every key.
void BM_LongArgumentKey(benchmark::State& st) {
    Rig rig;
    for (const auto& r : records({0xBF, 'H', 'H', 0x20, 'S', 'A', 'V', 'E', 0x20}))
        rig.keyboard.processKeystroke(r);
    const auto pair = records({'X', 0x08}); // type and take back: the length stays
    for (std::size_t i = 0; i < Keyboardhandler::kMaxWordLength - 1; ++i)
        rig.keyboard.processKeystroke(pair[0]);
    for (auto _ : st)
        for (const auto& r : pair)
            rig.keyboard.processKeystroke(r);
    st.SetItemsProcessed(st.iterations() * 2);
}
BENCHMARK(BM_LongArgumentKey);

} // namespace
