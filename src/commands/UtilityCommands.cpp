#include "commands/UtilityCommands.h"

#include "commands/DesktopSave.h"
#include "commands/HelpText.h"
#include "commands/ProgramControl.h"
#include "commands/Reply.h"
#include "commands/Texts.h"
#include "commands/TimeText.h"
#include "common/PathText.h"
#include "common/Strings.h"
#include "common/Version.h"
#include "gamelink/ResultCall.h"
#include "platform/Platform.h"

namespace hh {

std::string programDescription() {
    return "Handlehound - lists all known aliases for any player in a Q3 PunkBuster server (All "
           "from within Q3). Download: " +
           std::string(texts::kDownloadAddress);
}

std::string authorDescription() {
    return "Handlehound is designed/written by " + std::string(texts::kAuthorHandle) +
           " under the self proclaimed company name '" + std::string(texts::kCompanyName) +
           "'. Download: " + std::string(texts::kDownloadAddress);
}

std::string versionMessage() {
    return "Handlehound v" + versionText() + " {Check '" + std::string(texts::kWebAddress) +
           "' periodically for available updates} {Press Ctrl+V to paste version info into "
           "Quake III Arena}";
}

UtilityCommands::UtilityCommands(CommandContext ctx) : ctx_(ctx) {}

void UtilityCommands::replyToClipboard(std::string_view sound, const std::string& message,
                                       int seconds) {
    ctx_.result.readyForNextCmd(std::string(sound), message, true, seconds, true, true, false);
}

void UtilityCommands::quit() {
    ctx_.program.quitProgram();
}

void UtilityCommands::disable() {
    ctx_.program.disableHH();
    ctx_.result.readyForNextCmd(std::string(sounds::kCmd),
                                "Handlehound is DISABLED. {Press Ctrl+'" + commandKeyName(ctx_) +
                                    "' to Re-enable Handlehound at any time}",
                                false, -1, true, false, false);
}

void UtilityCommands::heartbeat() {
    replyStandard(ctx_, sounds::kBeat,
                  "Handlehound is ACTIVE. " + std::string(texts::kWaitingForCommand));
}

void UtilityCommands::clear() {
    // The empty message makes the game show the waiting text again.
    ctx_.result.readyForNextCmd(std::string(sounds::kDefault), "", true, -1, false, false, false);
}

void UtilityCommands::time() {
    replyToClipboard(sounds::kDefault, longTimeText(ctx_.platform.clock.now()), 15);
}

void UtilityCommands::about() {
    replyToClipboard(sounds::kComplete, programDescription() + std::string(texts::kPasteHint), -1);
}

void UtilityCommands::author() {
    replyToClipboard(sounds::kComplete, authorDescription() + std::string(texts::kPasteHint), -1);
}

void UtilityCommands::help() {
    replyStandard(ctx_, sounds::kDefault, helpMessage());
}

void UtilityCommands::version() {
    replyToClipboard(sounds::kDefault, versionMessage(), 15);
}

void UtilityCommands::save(std::string argument) {
    if (argument.empty()) {
        replyError(ctx_, "Error! Missing argument - Text {Command usage: '/hh save <Text>'}");
        return;
    }
    const SaveOutcome outcome = SaveTextToDesktop(ctx_.platform, argument);
    if (!outcome.ok) {
        replyError(ctx_, "Error! Could not save to '" + textOf(outcome.path) + "'. {" +
                             outcome.error + "}");
        return;
    }
    replyStandard(ctx_, sounds::kComplete,
                  "Save command completed successfully. {'" + argument + "' has been saved to '" +
                      textOf(outcome.path) + "'}");
}

void UtilityCommands::copy(std::string argument) {
    if (argument.empty()) {
        replyError(ctx_, "Error! Missing argument - Text {Command usage: '/hh copy <Text>'}");
        return;
    }
    argument = replaceAll(argument, ";", ":");
    ctx_.platform.clipboard.setText(argument);
    replyStandard(ctx_, sounds::kComplete,
                  "Copy command completed successfully. {'" + argument +
                      "' has been copied to the Windows clipboard'}");
}

} // namespace hh
