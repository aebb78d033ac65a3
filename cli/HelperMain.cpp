#include "ImageCommands.h"
#include "core/platform/PlatformFile.h"

#include <iostream>
#include <string>
#include <vector>

// tessaldo-cli-qt: the commands of tessaldo-cli that need Qt, started by
// tessaldo-cli with the words it was given.
int main(int argc, char *argv[])
{
    tessaldo::UseBinaryStandardOutput();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tessaldo::RunCli(tessaldo::ImageHelperCommands(), args, std::cin, std::cout, std::cerr);
}
