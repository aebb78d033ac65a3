#include "QtCommands.h"
#include "FontCommands.h"
#include "ImageCommands.h"
#include "fontraster/FontRaster.h"

#include <QGuiApplication>

#include <algorithm>
#include <optional>
#include <string_view>

namespace tessaldo {
namespace {

// The toolkit's own notes (no runtime folder, socket notifiers and the like)
// are no business of the tool's user; the tool says what went wrong itself.
void DropToolkitMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

enum class Toolkit {
    Plain, // images and files need no application
    Core,  // the serial port's notifiers need an event dispatcher
    Gui,   // fonts come with a GUI application; this one opens no window and needs no display
};

template <int (*Run)(const Arguments &, Streams &), Toolkit kind>
int WithToolkit(const Arguments &arguments, Streams &streams)
{
    qInstallMessageHandler(DropToolkitMessage);
    int argc = 1;
    char program[] = "tessaldo-cli";
    char *argv[] = {program, nullptr};
    std::optional<QCoreApplication> core;
    std::optional<QGuiApplication> gui;
    if (QCoreApplication::instance() == nullptr && kind == Toolkit::Core)
        core.emplace(argc, argv);
    if (QCoreApplication::instance() == nullptr && kind == Toolkit::Gui) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        gui.emplace(argc, argv);
    }
    return Run(arguments, streams);
}

// What runs each command this build's helper takes.
int (*HandlerFor(std::string_view name))(const Arguments &, Streams &)
{
    if (name == "import")
        return WithToolkit<Import, Toolkit::Plain>;
    if (name == "png")
        return WithToolkit<Png, Toolkit::Plain>;
    if (name == "export")
        return WithToolkit<Export, Toolkit::Plain>;
    if (name == "text")
        return WithToolkit<Text, Toolkit::Gui>;
    return WithToolkit<SendPicture, Toolkit::Core>;
}

int MakeFontDrawn(const Arguments &arguments, Streams &streams)
{
    return MakeFontWith(arguments, streams, RasteriseFont);
}

} // namespace

CommandTable ImageHelperCommands()
{
    static const std::vector<Command> commands = [] {
        std::vector<Command> attached(ImageCommands().begin(), ImageCommands().end());
        for (Command &command : attached)
            command.run = HandlerFor(command.name);
        // font comes here for the TrueType and OpenType fonts FreeType draws.
        attached.push_back(*std::find_if(TextCommands().begin(), TextCommands().end(),
                                         [](const Command &command) { return command.name == "font"; }));
        attached.back().run = MakeFontDrawn;
        return attached;
    }();
    return {{commands}, {}};
}

} // namespace tessaldo
