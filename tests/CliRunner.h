#pragma once

#include "TempDir.h"

#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#include "CommandLine.h"

#include <fstream>
#include <sstream>
#else
#include <sys/wait.h>
#endif

// Runs the command-line tool as a separate process, the way a script would;
// where there is no shell to start it with, in this process.
struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuote(const std::string &word)
{
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

#ifdef _WIN32
inline CliResult RunCliProcess(const std::vector<std::string> &args, const std::string &stdinFile = "/dev/null")
{
    std::ifstream file;
    std::istringstream nothing;
    if (stdinFile != "/dev/null")
        file.open(stdinFile, std::ios::binary);
    std::ostringstream out;
    std::ostringstream err;
    CliResult result;
    result.exitCode =
        tessaldo::RunCli(tessaldo::ToolCommands(), args,
                         stdinFile == "/dev/null" ? static_cast<std::istream &>(nothing) : file, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}
#else
inline CliResult RunCliProcess(const std::vector<std::string> &args, const std::string &stdinFile = "/dev/null")
{
    TempDir dir;
    std::string command = ShellQuote(TESSALDO_CLI);
    for (const auto &arg : args)
        command += " " + ShellQuote(arg);
    command += " <" + ShellQuote(stdinFile) + " >" + ShellQuote((dir / "out").string()) + " 2>"
               + ShellQuote((dir / "err").string());
    const int status = std::system(command.c_str());
    CliResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = TempDir::Read(dir / "out");
    result.err = TempDir::Read(dir / "err");
    return result;
}
#endif
