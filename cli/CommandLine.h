#pragma once

#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// How tessaldo-cli reads its words: one table of commands, from which the
// help, every usage error and the dispatch all come.
namespace tessaldo {

enum CliExit { kExitOk = 0, kExitRefused = 1, kExitUsage = 2, kExitInterrupted = 130 };

// The file name that means standard input, or standard output where a file is written.
inline constexpr std::string_view kStandardStream = "-";

// A wrong usage, said in one line; the dispatch prints it with the command's name.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct OptionSpec {
    std::string_view name;
    bool takesValue = true;
    bool repeats = false; // may be given more than once, as a compiler's -D
};

// --define NAME[=VALUE], which every command that reads C sources takes, as often as needed.
inline constexpr OptionSpec kDefineOption{"--define", true, true};

struct Streams {
    std::istream &in;
    std::ostream &out;
    std::ostream &err;
};

// What one command was given, checked against its options.
class Arguments {
public:
    std::vector<std::string> all;      // every word after the program's name, for a header's first line
    std::vector<std::string> operands; // the words that are not options, the command's name first

    // Throws unless exactly these operands follow the command's name.
    void ExpectOperands(std::initializer_list<std::string_view> names) const;
    // Throws unless at least one operand follows the command's name.
    void ExpectSomeOperands(std::string_view name) const;
    // --each FOLDER stands in for OUT: expects `input` alone with it, `input` and
    // OUT without; --replace, where a command takes it, goes with --each alone.
    std::optional<std::string> EachFolder(std::string_view input) const;
    bool Has(std::string_view option) const;
    std::optional<std::string> Value(std::string_view option) const;
    // Every value of an option that repeats, in the order given.
    std::vector<std::string> Values(std::string_view option) const;

    std::vector<std::pair<std::string, std::optional<std::string>>> options;
};

// The operand that reads standard input for '-', and what it reads there.
struct StandardInput {
    std::string_view operand;
    std::string_view what;
};
inline constexpr StandardInput kDrawingInput{"FILE", "the drawing"};

struct Command {
    std::string_view name;
    std::string_view synopsis;    // what follows the name
    std::string_view description; // the help's lines for it, each indented
    std::vector<OptionSpec> options;
    int (*run)(const Arguments &, Streams &);
    StandardInput standardInput = {};
    bool writesStandardOutput = false; // OUT '-' writes standard output
};

// Every command of a build, in the order the help lists them, and a note on
// what the build leaves out.
struct CommandTable {
    std::vector<std::span<const Command>> parts;
    std::string_view note;
};
// The commands that need only the core.
std::span<const Command> TextCommands();
// The whole tool as this build has it (defined by whichever build links this).
CommandTable ToolCommands();

std::string UsageText(const CommandTable &table);

// A whole number from low to high, or a usage error that names the option.
int NumberValue(std::string_view option, const std::string &value, int low, int high);
// The option's number, checked as NumberValue does, or `fallback` when it is not given.
int NumberOption(const Arguments &arguments, std::string_view option, int fallback, int low, int high);
// One of the names `parse` knows, or a usage error listing them.
template <typename T, typename Parse>
T ChoiceValue(std::string_view option, const std::string &value, Parse parse, std::string_view choices)
{
    if (const std::optional<T> chosen = parse(value))
        return *chosen;
    throw UsageError(std::string(option) + " must be " + std::string(choices) + ", not '" + value + "'");
}

int Refused(std::ostream &err, const std::string &message);

// Runs one command line (without the program name) and returns the exit status.
int RunCli(const CommandTable &table, const std::vector<std::string> &args, std::istream &in, std::ostream &out,
           std::ostream &err);

} // namespace tessaldo
