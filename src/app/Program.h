#pragma once

namespace hh {

// Everything main() does once the arguments are UTF-8 text: the answers that
// need no program (--version, --help, a bad command line), then --setup,
// --headless or the desktop program.
int runProgram(int argc, char** argv);

} // namespace hh
