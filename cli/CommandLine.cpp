#include "CommandLine.h"
#include "core/session/Version.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <ostream>
#include <system_error>

namespace tessaldo {
namespace {

constexpr std::string_view kProgram = "tessaldo-cli";

std::vector<const Command *> AllCommands(const CommandTable &table)
{
    std::vector<const Command *> commands;
    for (const std::span<const Command> part : table.parts) {
        for (const Command &command : part)
            commands.push_back(&command);
    }
    return commands;
}

const Command *FindCommand(const CommandTable &table, std::string_view name)
{
    for (const Command *command : AllCommands(table)) {
        if (command->name == name)
            return command;
    }
    return nullptr;
}

bool IsHelp(std::string_view word)
{
    return word == "--help" || word == "-h";
}

std::string CommandHelp(const Command &command)
{
    return "  " + std::string(command.name) + " " + std::string(command.synopsis) + "\n"
           + std::string(command.description);
}

// "code, show and edit"
std::string ListOf(const std::vector<std::string_view> &names)
{
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            list += i + 1 == names.size() ? " and " : ", ";
        list += names[i];
    }
    return list;
}

// The text in lines of at most 79 characters, broken at spaces.
std::string Wrapped(const std::string &text)
{
    constexpr std::size_t kWidth = 79;
    std::string wrapped;
    std::size_t lineStart = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        end = end == std::string::npos ? text.size() : end;
        if (start > lineStart && end - lineStart > kWidth) {
            wrapped.back() = '\n';
            lineStart = wrapped.size();
        }
        wrapped.append(text, start, end - start);
        wrapped += ' ';
        start = end + 1;
    }
    wrapped.back() = '\n';
    return wrapped;
}

// Which commands take '-' for which operand, from the table itself.
std::string StandardStreamsHelp(const CommandTable &table)
{
    std::vector<std::pair<StandardInput, std::vector<std::string_view>>> reads;
    std::vector<std::string_view> writes;
    for (const Command *command : AllCommands(table)) {
        const StandardInput input = command->standardInput;
        if (!input.operand.empty()) {
            const auto same = std::find_if(reads.begin(), reads.end(),
                                           [input](const auto &read) { return read.first.operand == input.operand; });
            if (same == reads.end())
                reads.push_back({input, {command->name}});
            else
                same->second.push_back(command->name);
        }
        if (command->writesStandardOutput)
            writes.push_back(command->name);
    }
    std::string text = "A '-' reads standard input:";
    for (const auto &[input, names] : reads) {
        text += (&input == &reads.front().first ? " for " : ", for ") + std::string(input.operand) + " "
                + std::string(input.what) + " (" + ListOf(names) + ")";
    }
    return Wrapped(text + "; for OUT it writes standard output (" + ListOf(writes) + ").");
}

const OptionSpec *FindOption(const Command &command, std::string_view name)
{
    const auto found = std::find_if(command.options.begin(), command.options.end(),
                                    [name](const OptionSpec &option) { return option.name == name; });
    return found == command.options.end() ? nullptr : &*found;
}

Arguments ReadArguments(const Command &command, const std::vector<std::string> &args)
{
    Arguments arguments;
    arguments.all = args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!args[i].starts_with("--")) {
            arguments.operands.push_back(args[i]);
            continue;
        }
        const OptionSpec *option = FindOption(command, args[i]);
        if (option == nullptr)
            throw UsageError("unknown option '" + args[i] + "'");
        if (arguments.Has(args[i]) && !option->repeats)
            throw UsageError("option '" + args[i] + "' is given twice");
        if (!option->takesValue) {
            arguments.options.emplace_back(args[i], std::nullopt);
            continue;
        }
        if (i + 1 >= args.size())
            throw UsageError("option '" + args[i] + "' needs a value");
        arguments.options.emplace_back(args[i], args[i + 1]);
        ++i;
    }
    return arguments;
}

int UsageProblem(std::ostream &err, const Command *command, const std::string &problem)
{
    err << kProgram << (command != nullptr ? " " + std::string(command->name) : std::string()) << ": " << problem
        << "\nTry '" << kProgram << " --help'.\n";
    return kExitUsage;
}

int Dispatch(const CommandTable &table, const std::vector<std::string> &args, Streams &streams, const Command *&command)
{
    if (args.empty())
        throw UsageError("missing command");
    if (IsHelp(args[0]) || args[0] == "--version" || args == std::vector<std::string>{"help"}) {
        if (args.size() > 1)
            throw UsageError("unexpected argument '" + args[1] + "'");
        streams.out << (args[0] != "--version" ? UsageText(table)
                                               : std::string(kProgram) + " " + std::string(kVersion) + "\n");
        return kExitOk;
    }
    if (args[0].starts_with("-") && args[0] != kStandardStream)
        throw UsageError("unknown option '" + args[0] + "'");
    // help COMMAND is COMMAND --help.
    const bool helpFor = args[0] == "help" && args.size() == 2;
    command = FindCommand(table, args[helpFor ? 1 : 0]);
    if (command == nullptr)
        throw UsageError("unknown command '" + args[helpFor ? 1 : 0] + "'");
    if (helpFor || (args.size() == 2 && IsHelp(args[1]))) {
        streams.out << "Usage:\n" << CommandHelp(*command);
        return kExitOk;
    }
    return command->run(ReadArguments(*command, args), streams);
}

// Every command's writing on standard output is checked here, once: a full
// disk or a closed pipe fails the command, so that a makefile never takes an
// empty header for a made one.
int StandardOutputWritten(std::ostream &out, std::ostream &err, int status)
{
    const bool good = out.good();
    errno = 0;
    out.flush();
    if (out.good())
        return status;
    // The cause is known only where the last bytes failed: earlier ones leave no errno behind.
    const std::string cause = good && errno != 0 ? std::generic_category().message(errno) : "not all of it was written";
    err << "Cannot write standard output: " << cause << ".\n";
    return kExitRefused;
}

} // namespace

void Arguments::ExpectOperands(std::initializer_list<std::string_view> names) const
{
    const std::size_t given = operands.size() - 1;
    if (given < names.size())
        throw UsageError("missing " + std::string(names.begin()[given]));
    if (given > names.size())
        throw UsageError("unexpected argument '" + operands[names.size() + 1] + "'");
}

void Arguments::ExpectSomeOperands(std::string_view name) const
{
    if (operands.size() < 2)
        throw UsageError("missing " + std::string(name));
}

std::optional<std::string> Arguments::EachFolder(std::string_view input) const
{
    std::optional<std::string> each = Value("--each");
    if (each == kStandardStream)
        throw UsageError("--each writes a folder of files; '-' is standard output, which holds one");
    if (!each && Has("--replace"))
        throw UsageError("--replace goes with --each FOLDER");
    if (each)
        ExpectOperands({input});
    else
        ExpectOperands({input, "OUT"});
    return each;
}

bool Arguments::Has(std::string_view option) const
{
    return std::any_of(options.begin(), options.end(), [option](const auto &given) { return given.first == option; });
}

std::optional<std::string> Arguments::Value(std::string_view option) const
{
    for (const auto &[name, value] : options) {
        if (name == option)
            return value;
    }
    return std::nullopt;
}

std::vector<std::string> Arguments::Values(std::string_view option) const
{
    std::vector<std::string> values;
    for (const auto &[name, value] : options) {
        if (name == option && value)
            values.push_back(*value);
    }
    return values;
}

std::string UsageText(const CommandTable &table)
{
    std::string text = "Usage: tessaldo-cli COMMAND ARGUMENTS\n\nCommands:\n";
    for (const Command *command : AllCommands(table))
        text += CommandHelp(*command);
    text += table.note;
    text += "  --help, -h   print this text; COMMAND --help or help COMMAND prints that\n"
            "               command's part\n"
            "  --version    print the program's name and version\n\n";
    text += StandardStreamsHelp(table);
    text += "\n"
            + Wrapped("A FILE is a drawing file (.Lcd) or a PBM or XBM of any size up to 1024 x 1024, read dot for "
                      "dot. OUT's ending names the format it is written in, at every size: .pbm a plain PBM (P1), "
                      ".xbm an XBM, .Lcd a drawing file, which holds a 16 x 16 picture, and .png, for import and "
                      "text, a PNG image of a pixel a dot; '-' writes a 16 x 16 picture's drawing file and a PBM of "
                      "any other. show prints 'size W x H' where a 16 x 16 picture's type stands.");
    text += "\nExit status: 0 done, 1 a file was refused or standard output could not be written, 2 wrong "
            "usage.\n";
    return text;
}

int NumberValue(std::string_view option, const std::string &value, int low, int high)
{
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    const bool whole = error == std::errc{} && end == value.data() + value.size() && !value.empty();
    if (whole && number >= low && number <= high)
        return number;
    throw UsageError(std::string(option) + " must be " + std::to_string(low) + (high == low + 1 ? " or " : " to ")
                     + std::to_string(high) + ", not " + (whole ? value : "'" + value + "'"));
}

int NumberOption(const Arguments &arguments, std::string_view option, int fallback, int low, int high)
{
    const std::optional<std::string> value = arguments.Value(option);
    return value ? NumberValue(option, *value, low, high) : fallback;
}

int Refused(std::ostream &err, const std::string &message)
{
    err << message << '\n';
    return kExitRefused;
}

int RunCli(const CommandTable &table, const std::vector<std::string> &args, std::istream &in, std::ostream &out,
           std::ostream &err)
{
    Streams streams{in, out, err};
    const Command *command = nullptr;
    int status = kExitOk;
    try {
        status = Dispatch(table, args, streams, command);
    } catch (const UsageError &problem) {
        status = UsageProblem(err, command, problem.what());
    }
    return StandardOutputWritten(out, err, status);
}

} // namespace tessaldo
