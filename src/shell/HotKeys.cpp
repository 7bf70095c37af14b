#include "shell/HotKeys.h"

#include "platform/HotKey.h"
#include "settings/Settings.h"

namespace hh {
namespace {

constexpr int kHotKeyId = 0;

} // namespace

HotKeys::HotKeys(HotKey& hotKey, const Settings& settings,
                 std::function<void(const std::string&)> report,
                 std::function<bool()> monitoringOff, std::function<void()> enableHH)
    : hotKey_(hotKey), settings_(settings), report_(std::move(report)),
      monitoringOff_(std::move(monitoringOff)), enableHH_(std::move(enableHH)) {}

void HotKeys::registerAtStart() {
    const std::int32_t code = settings_.commandKeyCode();
    std::string why;
    bool ok = false;
    // Code 0 would mean "every key" to some platforms; no key has a code above 254.
    if (code <= 0 || code > 254)
        why = "the Command key code " + std::to_string(code) + " names no key";
    else
        ok = hotKey_.registerCtrlKey(
            static_cast<std::uint32_t>(code), [this] { onHotKey(kHotKeyId); }, &why);
    if (!ok && report_)
        report_("The hot key Ctrl+'" + settings_.commandKey() +
                "' is not available, so it cannot re-enable Handlehound: " +
                (why.empty() ? std::string("unknown reason") : why) + ".");
}

void HotKeys::reregister() {
    hotKey_.unregister();
    registerAtStart();
}

void HotKeys::unregisterAtEnd() {
    hotKey_.unregister();
}

void HotKeys::onHotKey(int id) {
    if (id != kHotKeyId)
        return;
    if (monitoringOff_ && monitoringOff_() && enableHH_)
        enableHH_();
}

} // namespace hh
