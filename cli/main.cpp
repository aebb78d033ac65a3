#include "CommandLine.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

int main(int argc, char *argv[])
{
#ifdef _WIN32
    // The generated code carries its own CR LF; text mode would double the CR.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tessaldo::RunCli(tessaldo::ToolCommands(), args, std::cin, std::cout, std::cerr);
}
