#include "settings/Settings.h"

#include "common/Strings.h"
#include "settings/IniFile.h"

#include <cstdlib>

namespace hh {
namespace {

constexpr const char* kMain = "Main";
constexpr const char* kBehavior = "Behavior";

std::string orDefault(std::string value, const char* fallback) {
    return value.empty() ? std::string(fallback) : value;
}

// Leading decimal number of a text, as a string-to-number conversion that
// stops at the first character it cannot use reads it; 0 when there is none.
double leadingNumber(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    return end == begin ? 0.0 : value;
}

} // namespace

Settings::Settings(std::filesystem::path iniPath,
                   std::function<void(const std::string&)> onWriteError)
    : iniPath_(std::move(iniPath)), onWriteError_(std::move(onWriteError)) {}

std::string Settings::read(const std::string& section, const std::string& key) const {
    return INIread(iniPath_, section, key);
}

bool Settings::write(const std::string& section, const std::string& key,
                     const std::string& value) {
    std::string error;
    if (INIwrite(iniPath_, section, key, value, &error))
        return true;
    if (onWriteError_)
        onWriteError_("Error! The setting " + section + " / " + key +
                      " could not be saved: " + error);
    return false;
}

std::string Settings::path() const { return read(kMain, "Path"); }
void Settings::setPath(const std::string& dumpPath) { write(kMain, "Path", dumpPath); }
std::string Settings::cfgAt() const { return read(kMain, "CFGAt"); }
void Settings::setCfgAt(const std::string& value) { write(kMain, "CFGAt", value); }
std::string Settings::configPath() const { return read(kMain, "ConfigPath"); }
void Settings::setConfigPath(const std::string& value) { write(kMain, "ConfigPath", value); }
bool Settings::isDeveloper() const { return read(kMain, "ID") == "Developer"; }
void Settings::setDeveloper(bool on) { write(kMain, "ID", on ? "Developer" : "User"); }

bool Settings::isNewUser() const {
    const std::string value = read(kMain, "NewUser");
    return value.empty() || value == "Yes";
}
void Settings::setNewUserSeen() { write(kMain, "NewUser", "No"); }
bool Settings::startMin() const { return read(kMain, "StartMin") == "True"; }
void Settings::setStartMin(bool on) { write(kMain, "StartMin", on ? "True" : "False"); }
bool Settings::startMinHH() const { return read(kMain, "StartMinHH") == "True"; }
void Settings::setStartMinHH(bool on) { write(kMain, "StartMinHH", on ? "True" : "False"); }

std::string Settings::maxNumAliasesRaw() const { return read(kMain, "MaxNumAliases"); }

std::int16_t Settings::numAliasesAtLoad() const {
    const double value = leadingNumber(maxNumAliasesRaw());
    // Outside 1..999 the limit means nothing useful; the load takes the default.
    if (!(value >= 1.0 && value <= 999.0))
        return 150;
    return static_cast<std::int16_t>(value);
}

std::string Settings::cmdIssueDelayRaw() const { return read(kMain, "CmdIssueDelay"); }
std::string Settings::cmdIssueDelayOr(const std::string& fallback) const {
    const std::string value = cmdIssueDelayRaw();
    return value.empty() ? fallback : value;
}

std::string Settings::dumpFileName() const {
    return orDefault(read(kMain, "DumpFileName"), "handleHound.who");
}
std::string Settings::baseFolder() const { return orDefault(read(kMain, "BaseFolder"), "baseq3"); }
std::string Settings::gameWindowTitle() const {
    return orDefault(read(kMain, "GameWindowTitle"), "Quake 3: Arena");
}
std::string Settings::lookupUrl() const { return orDefault(read(kMain, "LookupURL"), kDefaultLookupUrl); }
bool Settings::recordSightings() const { return read(kMain, "RecordSightings") != "False"; }

std::string Settings::nameColorRaw() const { return read(kBehavior, "NameColor"); }
std::string Settings::sepColorRaw() const { return read(kBehavior, "SeparatorColor"); }
std::string Settings::commandKey() const { return orDefault(read(kBehavior, "CommandKey"), "tab"); }
std::string Settings::statusKey() const { return orDefault(read(kBehavior, "StatusKey"), "f5"); }

std::int32_t Settings::commandKeyCode() const {
    const std::string value = trimBlanks(read(kBehavior, "CommandKeyCode"));
    return value.empty() ? 9 : static_cast<std::int32_t>(leadingNumber(value) + 0.5);
}

std::int32_t Settings::statusKeyCode() const {
    const std::string value = trimBlanks(read(kBehavior, "StatusKeyCode"));
    return value.empty() ? 116 : static_cast<std::int32_t>(leadingNumber(value) + 0.5);
}

} // namespace hh
