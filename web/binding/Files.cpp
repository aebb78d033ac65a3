// What the page asks before it opens or saves a file, and the messages of
// those the browser could not carry out.
#include "core/formats/DrawingFile.h"
#include "core/formats/SetFiles.h"
#include "core/platform/FileIo.h"
#include "core/session/Incoming.h"
#include "core/session/ProgramTexts.h"

#include <emscripten/bind.h>

using namespace tessaldo;

namespace {

std::string NameToSaveAsOf(const std::string &typed, const std::string &extension)
{
    return NameToSaveAs(typed, extension);
}

// The page's title for the file being edited, marked while there are unsaved changes.
std::string ShownTitleOf(const std::string &fileName, bool unsaved)
{
    return ShownTitle(fileName, unsaved);
}

// The messages of an open or save the browser could not carry out.
std::string OpenFailedOf(const std::string &name, const std::string &reason)
{
    return OpenFailed(name, reason).message();
}

std::string SaveFailedOf(const std::string &name, const std::string &reason)
{
    return SaveFailed(name, reason).message();
}

bool IsSourceFile(const std::string &name)
{
    return IsSourceFileName(name);
}

// Why a source of `size` bytes is refused unread: "" when it may be read.
std::string RefuseSourceSize(const std::string &fileName, double size)
{
    return CheckSourceSize(fileName, static_cast<std::uintmax_t>(size)).message();
}

// Why a header is not saved over a file that holds other code: "" when it may be.
std::string RefuseOverwrite(const std::string &fileName, const std::string &existingText)
{
    return HeaderMayReplaceText(fileName, existingText).message();
}

} // namespace

EMSCRIPTEN_BINDINGS(tessaldo_files)
{
    emscripten::function("refuseOverwrite", &RefuseOverwrite);
    emscripten::function("refuseSourceSize", &RefuseSourceSize);
    // All of a drawing file the reader looks at: the page reads no more of one.
    emscripten::constant("drawingBytesRead", kDrawingBytesRead);
    emscripten::function("isSourceFileName", &IsSourceFile);
    emscripten::function("nameToSaveAs", &NameToSaveAsOf);
    emscripten::function("shownTitle", &ShownTitleOf);
    emscripten::function("openFailed", &OpenFailedOf);
    emscripten::function("saveFailed", &SaveFailedOf);
}
