#include "CommandLine.h"
#include "core/platform/PlatformFile.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    tessaldo::UseBinaryStandardOutput();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tessaldo::RunCli(tessaldo::ToolCommands(), args, std::cin, std::cout, std::cerr);
}
