#include "core/formats/SetFiles.h"

#include "core/formats/SetHeader.h"
#include "core/platform/FileIo.h"

#include <string>

namespace tessaldo {

namespace {

// The whole text, or a refusal for a file too large to be a source.
FileStatus ReadSourceText(const std::filesystem::path &file, std::string &text)
{
    if (FileStatus read = ReadFileStart(file, kMaxSourceBytes + 1, text); !read)
        return read;
    return CheckSourceSize(file, text.size());
}

} // namespace

FileStatus CheckSourceSize(const std::filesystem::path &file, std::uintmax_t size)
{
    return size > kMaxSourceBytes ? OpenFailed(file, "it is larger than 16 MiB") : FileStatus::Ok();
}

FileStatus HeaderMayReplace(const std::filesystem::path &file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return FileStatus::Ok(); // nothing to lose; a folder or the like refuses the write itself
    std::string existing;
    if (FileStatus read = ReadFileStart(file, kMaxSourceBytes + 1, existing); !read)
        return read;
    return HeaderMayReplaceText(file, existing);
}

FileStatus HeaderMayReplaceText(const std::filesystem::path &file, const std::string &existing)
{
    if (existing.size() <= kMaxSourceBytes && SafeToOverwrite(existing))
        return FileStatus::Ok();
    return SaveFailed(file, "it holds code that is no header of this program, or one changed since it was written, "
                            "which writing over it would lose; remove it first, or write to another file");
}

SetFile ReadSetFile(const std::filesystem::path &file, LcdType typeIfUnsaid, std::optional<BitLayout> unsaidLayout)
{
    std::string text;
    if (FileStatus read = ReadSourceText(file, text); !read)
        return {std::nullopt, read};
    SetReading reading = ReadSet(text, typeIfUnsaid, {}, unsaidLayout);
    if (!reading.set)
        return {std::nullopt, OpenFailed(file, reading.problem)};
    std::string note = ReadingNote(DisplayPath(file.filename()), reading);
    return {std::move(reading.set),     FileStatus::Ok(), reading.ownHeader, reading.layout,
            std::move(reading.choices), std::move(note),  std::move(text)};
}

std::string HeaderNameFor(std::string_view opened)
{
    const std::size_t folder = opened.find_last_of("/\\");
    const std::size_t nameStart = folder == std::string_view::npos ? 0 : folder + 1;
    const std::size_t dot = opened.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && dot > nameStart;
    return std::string(opened.substr(0, hasExtension ? dot : opened.size())) + ".h";
}

FileStatus HeaderUnchanged(const std::filesystem::path &file, const std::string &known)
{
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return FileStatus::Ok(); // gone: writing loses nothing
    std::string held;
    // One byte more than what was known tells a longer file from an equal one.
    const FileStatus read = ReadFileStart(file, known.size() + 1, held);
    if (read && held == known)
        return FileStatus::Ok();
    return SaveFailed(file, "it changed on disk since the set was opened or saved there, and writing over it would "
                            "lose what it holds now; save the set under another name, or choose this one again to "
                            "write over it");
}

} // namespace tessaldo
