#include "app/AppOptions.h"

#include "app/ThisSystem.h"

#include <CLI/CLI.hpp>

namespace hh {

std::string usageText() {
    return "Usage: handlehound [options]\n"
           "  (no option)              run the desktop program: tray icon, start detector, main "
           "window\n"
           "  --headless               run without any window; console lines go to standard "
           "output\n"
           "  --always-on              switch monitoring on at start instead of waiting for the "
           "game\n"
           "  --program-dir DIR        keep every file in DIR (a portable program folder); "
           "default:\n"
           "                           the user's folders for settings, data and logs\n"
           "  --lookup-url URL         alias database address (default: setting Main / LookupURL)\n"
           "  --no-file-events         notice dump changes by the 1 s poll only\n"
           "  --quiet                  play no sounds\n"
           "  --setup --game-dir DIR --mod NAME [--engine PROFILE] [--command-key K]\n"
           "          [--status-key K] [--program-dir DIR]\n"
           "                           set up without a window (profiles: quake3, quake3-linux,\n"
           "                           ioquake3, openarena)\n"
           "  --version                print the version\n"
           "  --help                   print this text\n" +
           systemUsageNote();
}

AppOptions parseAppOptions(int argc, const char* const* argv) {
    AppOptions o;
    CLI::App cli("handlehound");
    cli.set_help_flag(); // our own text, printed by main
    cli.add_flag("--help,-h", o.showHelp);
    cli.add_flag("--version", o.showVersion);
    cli.add_flag("--headless", o.headless);
    cli.add_flag("--always-on", o.alwaysOn);
    cli.add_flag("--setup", o.setup);
    cli.add_flag("--no-file-events", o.noFileEvents);
    cli.add_flag("--quiet", o.quiet);
    cli.add_option("--program-dir", o.programDir);
    cli.add_option("--lookup-url", o.lookupUrl);
    cli.add_option("--game-dir", o.gameDir);
    cli.add_option("--mod", o.mod);
    cli.add_option("--engine", o.engine);
    cli.add_option("--command-key", o.commandKey);
    cli.add_option("--status-key", o.statusKey);
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        o.error = e.what();
    }
    return o;
}

} // namespace hh
