#include "settings/Settings.h"

#include "common/Strings.h"
#include "settings/IniFile.h"

#include <charconv>
#include <optional>

namespace hh {
namespace {

constexpr const char* kMain = "Main";
constexpr const char* kBehavior = "Behavior";

std::string orDefault(std::string value, const char* fallback) {
    return value.empty() ? std::string(fallback) : value;
}

// Leading decimal number of a text (blanks, an optional sign, digits, point,
// exponent), stopping at the first character it cannot use; 0 when there is
// none. from_chars, unlike strtod, ignores the locale the desktop sets, so a
// German desktop reads "2.5" as the file means it.
std::optional<double> leadingDecimal(const std::string& text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos)
        return std::nullopt;
    if (text[i] == '+')
        ++i;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() + i)
        return std::nullopt;
    return value;
}

double leadingNumber(const std::string& text) {
    return leadingDecimal(text).value_or(0.0);
}

// A stored key code: rounded like the decimal text it is; empty, non-numeric
// or out-of-range text stands for the default key's code.
std::int32_t keyCodeOr(const std::string& stored, std::int32_t fallback) {
    const auto number = leadingDecimal(trimBlanks(stored));
    if (!number || !(*number >= 0.0 && *number < 2147483647.0))
        return fallback;
    return static_cast<std::int32_t>(*number + 0.5);
}

} // namespace

Settings::Settings(std::filesystem::path iniPath,
                   std::function<void(const std::string&)> onWriteError)
    : iniPath_(std::move(iniPath)), onWriteError_(std::move(onWriteError)) {}

std::string Settings::read(const std::string& section, const std::string& key) const {
    return INIread(iniPath_, section, key);
}

bool Settings::write(const std::string& section, const std::string& key, const std::string& value) {
    std::string error;
    if (INIwrite(iniPath_, section, key, value, &error))
        return true;
    if (onWriteError_)
        onWriteError_("Error! The setting " + section + " / " + key +
                      " could not be saved: " + error);
    return false;
}

std::string Settings::path() const {
    return read(kMain, "Path");
}
void Settings::setPath(const std::string& dumpPath) {
    write(kMain, "Path", dumpPath);
}
std::string Settings::cfgAt() const {
    return read(kMain, "CFGAt");
}
void Settings::setCfgAt(const std::string& value) {
    write(kMain, "CFGAt", value);
}
std::string Settings::configPath() const {
    return read(kMain, "ConfigPath");
}
void Settings::setConfigPath(const std::string& value) {
    write(kMain, "ConfigPath", value);
}
bool Settings::isDeveloper() const {
    return read(kMain, "ID") == "Developer";
}
void Settings::setDeveloper(bool on) {
    write(kMain, "ID", on ? "Developer" : "User");
}

bool Settings::isNewUser() const {
    const std::string value = read(kMain, "NewUser");
    return value.empty() || value == "Yes";
}
void Settings::setNewUserSeen() {
    write(kMain, "NewUser", "No");
}
bool Settings::startMin() const {
    return read(kMain, "StartMin") == "True";
}
void Settings::setStartMin(bool on) {
    write(kMain, "StartMin", on ? "True" : "False");
}
bool Settings::startMinHH() const {
    return read(kMain, "StartMinHH") == "True";
}
void Settings::setStartMinHH(bool on) {
    write(kMain, "StartMinHH", on ? "True" : "False");
}

std::string Settings::maxNumAliasesRaw() const {
    return read(kMain, "MaxNumAliases");
}

std::int16_t Settings::numAliasesAtLoad() const {
    const double value = leadingNumber(maxNumAliasesRaw());
    // Outside 1..999 the limit means nothing useful; the load takes the default.
    if (!(value >= 1.0 && value <= 999.0))
        return 150;
    return static_cast<std::int16_t>(value);
}

std::string Settings::cmdIssueDelayRaw() const {
    return read(kMain, "CmdIssueDelay");
}
std::string Settings::cmdIssueDelayOr(const std::string& fallback) const {
    const std::string value = cmdIssueDelayRaw();
    return value.empty() ? fallback : value;
}

std::string Settings::dumpFileName() const {
    return orDefault(read(kMain, "DumpFileName"), "handleHound.who");
}
std::string Settings::baseFolder() const {
    return orDefault(read(kMain, "BaseFolder"), "baseq3");
}
std::string Settings::gameWindowTitle() const {
    return orDefault(read(kMain, "GameWindowTitle"), "Quake 3: Arena");
}
std::string Settings::lookupUrl() const {
    std::string url = trimBlanks(read(kMain, "LookupURL"));
    while (!url.empty() && url.back() == '/')
        url.pop_back();
    return url == kFormerOwnLookupUrl ? std::string() : url;
}
bool Settings::recordSightings() const {
    return read(kMain, "RecordSightings") != "False";
}
bool Settings::consoleLog() const {
    return read(kMain, "ConsoleLog") != "False";
}
std::string Settings::consoleLogName() const {
    return orDefault(read(kMain, "ConsoleLogName"), "qconsole.log");
}
std::string Settings::neverRecordRaw() const {
    return read(kMain, "NeverRecord");
}
std::string Settings::ownGuid() const {
    return read(kMain, "OwnGuid");
}
void Settings::setOwnGuid(const std::string& guid) {
    write(kMain, "OwnGuid", guid);
}
bool Settings::aliasesInPageOrder() const {
    return toLower(read(kBehavior, "AliasOrder")) == "page";
}

std::string Settings::nameColorRaw() const {
    return read(kBehavior, "NameColor");
}
std::string Settings::sepColorRaw() const {
    return read(kBehavior, "SeparatorColor");
}
std::string Settings::commandKey() const {
    return orDefault(read(kBehavior, "CommandKey"), "tab");
}
std::string Settings::statusKey() const {
    return orDefault(read(kBehavior, "StatusKey"), "f5");
}

std::int32_t Settings::commandKeyCode() const {
    return keyCodeOr(read(kBehavior, "CommandKeyCode"), 9);
}

std::int32_t Settings::statusKeyCode() const {
    return keyCodeOr(read(kBehavior, "StatusKeyCode"), 116);
}

void Settings::setMaxNumAliases(const std::string& text) {
    write(kMain, "MaxNumAliases", text);
}
void Settings::setCmdIssueDelay(const std::string& waitName) {
    write(kMain, "CmdIssueDelay", waitName);
}
void Settings::setDumpFileName(const std::string& name) {
    write(kMain, "DumpFileName", name);
}
void Settings::setBaseFolder(const std::string& name) {
    write(kMain, "BaseFolder", name);
}
void Settings::setGameWindowTitle(const std::string& title) {
    write(kMain, "GameWindowTitle", title);
}
void Settings::setConsoleLogName(const std::string& name) {
    write(kMain, "ConsoleLogName", name);
}
void Settings::setNameColorRaw(const std::string& value) {
    write(kBehavior, "NameColor", value);
}
void Settings::setSepColorRaw(const std::string& value) {
    write(kBehavior, "SeparatorColor", value);
}
void Settings::setCommandKey(const std::string& name) {
    write(kBehavior, "CommandKey", name);
}
void Settings::setCommandKeyCode(std::int32_t code) {
    write(kBehavior, "CommandKeyCode", std::to_string(code));
}
void Settings::setStatusKey(const std::string& name) {
    write(kBehavior, "StatusKey", name);
}
void Settings::setStatusKeyCode(std::int32_t code) {
    write(kBehavior, "StatusKeyCode", std::to_string(code));
}

} // namespace hh
