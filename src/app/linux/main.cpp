#include "app/Program.h"

int main(int argc, char** argv) {
    return hh::runProgram(argc, argv);
}
