// The workspace's text form, so that the page keeps the workspace as the
// window does: each part under the window's key, read back tolerantly.
#include "core/session/Workspace.h"

#include <emscripten/bind.h>

#include <string>

namespace {

using emscripten::val;
using namespace tessaldo;

// The parts as the page holds them: an object of each key's text.
val WorkspaceParts(const Workspace &workspace)
{
    val parts = val::object();
    for (const std::string_view key : kWorkspaceKeys)
        parts.set(std::string(key), WorkspaceValue(workspace, key));
    return parts;
}

// What the text holds, every part there, those missing or not fitting at their defaults.
val ReadWorkspace(const std::string &text)
{
    return WorkspaceParts(WorkspaceFromText(text));
}

// parts: an object of key to text, as ReadWorkspace gives; what does not fit keeps its default.
std::string WriteWorkspace(const val &parts)
{
    Workspace workspace;
    for (const std::string_view key : kWorkspaceKeys) {
        const val part = parts[std::string(key)];
        if (part.isString())
            SetWorkspaceValue(workspace, key, part.as<std::string>());
    }
    return WorkspaceText(workspace);
}

} // namespace

EMSCRIPTEN_BINDINGS(workspace)
{
    emscripten::function("readWorkspace", &ReadWorkspace);
    emscripten::function("writeWorkspace", &WriteWorkspace);
}
