// Windows hands the command line over as UTF-16; the program reads it as
// UTF-8 like every other text it keeps.
#include "app/Program.h"
#include "platform/win32/WideText.h"

#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(hh::utf8FromWide(argv[i]));
    std::vector<char*> pointers;
    for (auto& arg : args)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    return hh::runProgram(argc, pointers.data());
}
