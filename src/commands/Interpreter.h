#pragma once
// Reads one command line (typed, or fetched from the dump), checks it for a
// repeat and dispatches it to its handler.
#include "commands/CommandContext.h"

#include <memory>
#include <optional>
#include <string>

namespace hh {

class Interpreter {
  public:
    explicit Interpreter(CommandContext context);
    ~Interpreter();

    // `strInCmd` is "word argument" or the token "pullFromFile".
    void processFile(const std::string& strInCmd, int unused = 0);
    // Returns the word to dispatch, or "Exit_Function".
    std::string fetchCommand(std::string& word, std::string& argument);
    // A command the key observer saw typed after "/hh " and confirmed with Enter.
    void runTypedCommand(std::string word, std::string argument);
    // The text after "/hh " of a line the console log showed the player type,
    // taken as the dump road takes its command (case kept, repeat check).
    void runLoggedCommand(const std::string& text);
    void setLastCommand(const std::string& word, const std::string& argument);
    void clearLastCommand();

    // The program log record written when the main window closes.
    void LogConsoleText(const std::string& consoleText);

  private:
    struct Handlers;
    // fetchCommand without the in-band "Exit_Function": nullopt when the
    // command is finished, so a dump that says "Exit_Function" is no stop word.
    std::optional<std::string> fetch(std::string& word, std::string& argument);
    // The repeat check every fetched command passes.
    std::optional<std::string> unlessRepeat(const std::string& word, const std::string& argument);
    // Whether the dump's command is the one the log road already answered;
    // the dump then only refreshes a player lookup.
    bool answeredFromLog(const std::string& dumpCommand);
    void dispatch(const std::string& word, const std::string& argument);
    // Nothing to run: listen for the next command again.
    void resumeListening(bool pulledFromDump);

    CommandContext ctx_; // before handlers_: they keep references to it
    std::unique_ptr<Handlers> handlers_;
};

} // namespace hh
