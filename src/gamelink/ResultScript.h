#pragma once
// The result script hh.cfg: one message as echo lines the game runs on the
// Status key. (Rules of the transform are in ResultScript.cpp's header comment.)
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace hh {

struct SharedState;
class Settings;

// The file's bytes for a message (after the empty/"vstr runHHScript" rule).
std::string renderResultScript(std::string_view message);

class ResultScriptWriter {
  public:
    ResultScriptWriter(const SharedState& state, const Settings& settings,
                       std::function<void(const std::string&)> onError);
    // <game folder>/<base folder>/hh.cfg
    std::filesystem::path resultScriptPath() const;
    // "none" writes nothing; "" and "vstr runHHScript" write the waiting text.
    // The file is replaced atomically. False when it could not be written
    // (reported through onError once, until a write succeeds again).
    bool writeResultScript(const std::string& message);
    // Writes again what the script said before the last write: takes back a
    // progress note when nothing new is to be answered.
    bool restorePreviousScript();

  private:
    const SharedState& state_;
    const Settings& settings_;
    std::function<void(const std::string&)> onError_;
    std::string lastError_;
    std::string current_, previous_; // the messages of the last two writes
};

} // namespace hh
