#include "CliCommands.h"

#include <QGuiApplication>

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

namespace {

// The toolkit's notes about its surroundings (no runtime folder, and the like)
// are no business of a script's; the tool says what went wrong itself.
void KeepOnlySeriousMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << message.toStdString() << '\n';
}

} // namespace

int main(int argc, char *argv[])
{
#ifdef _WIN32
    // The generated code carries its own CR LF; text mode would double the CR.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Fonts come with a GUI application; it opens no window and needs no display.
    std::optional<QGuiApplication> fonts;
    if (tessaldo::NeedsFonts(args)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(KeepOnlySeriousMessages);
        fonts.emplace(argc, argv);
    }
    return tessaldo::RunCli(args, std::cin, std::cout, std::cerr);
}
