#include "commands/HelpText.h"

#include <array>
#include <string_view>

namespace hh {
namespace {

// Blanks are followed by "^7" so each word stays white after the writer
// turns every blank into blank + "^3".
constexpr std::array<std::string_view, 26> kHelpLines = {
    "<name> - ^7Looks ^7up ^7a ^7player's ^7Alias ^7List ^7based ^7on ^7their ^7Name",
    "about - ^7Copies ^7a ^7snipet ^7of ^7text ^7about ^7Handlehound ^7to ^7the ^7clipboard",
    "all - ^7Lists ^7every ^7player ^7with ^7their ^7number ^7of ^7aliases, ^7most ^7used "
    "^7other ^7name ^7and ^7first ^7sighting",
    "author - ^7Copies ^7a ^7snipet ^7of ^7text ^7about ^7the ^7Author ^7to ^7the ^7clipboard",
    "check - ^7Names ^7the ^7players ^7who ^7wear ^7another ^7player's ^7most ^7used ^7name",
    "commandKey <KeyName> - ^7Sets ^7the ^7Command ^7Exec ^7KeyName",
    "copy <Text> - ^7Copies ^7the ^7<Text> ^7string ^7to ^7the ^7Windows ^7clipboard",
    "disable - ^7Disables ^7Handlehound ^7- ^7Stops ^7monitoring ^7for ^7commands",
    "guid <GUID#> - ^7Looks ^7up ^7a ^7player's ^7Alias ^7List ^7based ^7on ^7their ^7GUID#.",
    "heartbeat | hb - ^7Beeps ^7to ^7indicate ^7that ^7Handlehound ^7is ^7still ^7Enabled",
    "help | commands - ^7Lists ^7all ^7Handlehound ^7recognized ^7commands",
    "issueDelay - ^7Sets ^7the ^7time ^7interval ^7between ^7the ^7'pb_plist' ^7and "
    "^7'condump' ^7commands ^7when ^7the ^7user ^7presses ^7the ^7Command ^7Exec ^7key",
    "mod - ^7Sets ^7the ^7current ^7Mod ^7for ^7Handlehound ^7to ^7search ^7for ^7commands ^7in",
    "more - ^7Shows ^7the ^7next ^7page ^7of ^7a ^7long ^7answer",
    "nameColor <Color> - ^7Sets ^7the ^7color ^7to ^7use ^7for ^7Names ^7in ^7an ^7AliasList",
    "numAliases <Number> - ^7Sets ^7the ^7max ^7Number ^7of ^7Aliases ^7to ^7display",
    "pb <PB ID#> - ^7Gets ^7a ^7player's ^7aliasList ^7based ^7on ^7their ^7PunkBuster ^7ID#",
    "ping <IP#/DNS> - ^7Pings ^7the ^7specified ^7IP#/DNS ^7Address ^7and ^7copies ^7the "
    "^7result ^7into ^7the ^7clipboard",
    "quit - ^7Disables ^7Handlehound ^7and ^7unloads ^7the ^7Handlehound ^7Main ^7program",
    "save <Text> - ^7Appends ^7the ^7<Text> ^7string ^7to ^7the "
    "^7[Desktop]\\Handlehound-Save ^7Text.txt ^7file",
    "seen <name> - ^7Lists ^7the ^7GUIDs ^7that ^7used ^7a ^7name, ^7last ^7seen ^7first",
    "sepColor <Color> - ^7Sets ^7the ^7color ^7to ^7use ^7for ^7the ^7commas ^7in ^7an "
    "^7AliasList",
    "statusKey <KeyName>- ^7Sets ^7the ^7Status/Results ^7KeyName",
    "time - ^7Copies ^7the ^7user's ^7current ^7System ^7Time ^7to ^7the ^7clipboard",
    "timer <numSeconds> - ^7Counts ^7up ^7from ^70 ^7to ^7<numSeconds>",
    "version | ver - ^7Copies ^7Handlehound's ^7version ^7info ^7to ^7the ^7clipboard, ",
};

std::string buildHelpText() {
    std::string text;
    for (std::size_t i = 0; i < kHelpLines.size(); ++i) {
        if (i > 0)
            text += "\\n";
        text += "\\t";
        text += kHelpLines[i];
    }
    return text;
}

// Commands are read only from lines the player typed into the console, with
// either form of the prefix; the same words in chat or a name run nothing.
constexpr std::string_view kTypedPrefixLine =
    "\\t/hh <command> | \\hh <command> - ^7Only ^7what ^7you ^7type ^7in ^7the ^7console "
    "^7runs, ^7never ^7chat ^7or ^7a ^7player ^7name";

} // namespace

std::string helpMessage() {
    return "Handlehound recognizes the following commands: \\n" + helpText() + "\\n" +
           std::string(kTypedPrefixLine);
}

const std::string& helpText() {
    static const std::string text = buildHelpText();
    return text;
}

} // namespace hh
