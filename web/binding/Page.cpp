// What the whole page shows from the core: its menu's commands and the serial
// speeds it offers.
#include "core/model/LcdType.h"
#include "core/platform/FileIo.h"
#include "core/session/EditorCommands.h"
#include "core/session/SerialRates.h"

#include <emscripten/bind.h>

using namespace tessaldo;
using emscripten::val;

namespace {

val Commands()
{
    val commands = val::array();
    for (const EditorCommand &command : EditorCommands()) {
        if (!command.OfferedBy(Face::Page))
            continue;
        val keys = val::array();
        for (const std::string_view key : command.keys) {
            if (!key.empty())
                keys.call<void>("push", std::string(key));
        }
        val entry = val::object();
        entry.set("id", command.id);
        entry.set("caption", std::string(command.caption));
        entry.set("keys", keys);
        entry.set("gridOnly", command.gridOnly);
        entry.set("startsGroup", command.startsGroup);
        entry.set("checkable", command.checkable);
        // Checking it unchecks the others.
        entry.set("oneOfSeveral", command.arrayForm.has_value() || command.tool.has_value());
        entry.set("submenu", std::string(command.submenu));
        commands.call<void>("push", entry);
    }
    return commands;
}

val Bauds()
{
    val bauds = val::array();
    for (const int baud : kStandardBauds)
        bauds.call<void>("push", baud);
    return bauds;
}

} // namespace

EMSCRIPTEN_BINDINGS(tessaldo_page)
{
    emscripten::function("commands", &Commands);
    emscripten::function("bauds", &Bauds);
    emscripten::function("isCarriedOutByFace", &IsCarriedOutByFace);
    // Every command of the core's table, by its enumerator's name.
    emscripten::enum_<CommandId> ids("CommandId");
    for (const EditorCommand &command : EditorCommands())
        ids.value(CommandName(command.id).data(), command.id);
}
