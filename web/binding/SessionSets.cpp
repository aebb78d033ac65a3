// The session's set as files (PageSession.h): frames, headers and sources,
// drawing files opened as a set, and the set saved as a header, a folder or a zip.
#include "web/binding/PageSession.h"

#include "core/formats/SetFiles.h"
#include "core/formats/SetHeader.h"
#include "core/formats/StoredZip.h"
#include "core/platform/FileIo.h"
#include "core/platform/ScratchFolder.h"

#include <filesystem>
#include <string>
#include <vector>

using emscripten::val;

namespace tessaldo::page {

namespace {

// The page's file system lives in memory; the set's files pass through it.
constexpr std::string_view kScratchRoot = "/scratch";

// All of a picture's file the set's folder holds: a drawing file's first
// bytes, or a bitmap of any size, as large as a source may be.
constexpr std::size_t kPictureFileBytes = kMaxSourceBytes;

// The line a header of the page's begins with: "Made by ...".
constexpr std::string_view kHeaderMaker = "the Tessaldo window";

} // namespace

int FrameDelay(const val &frame, bool gif)
{
    const int delayMs = frame["delayMs"].as<int>();
    return gif ? GifFrameDelayMs(delayMs) : delayMs;
}

void PageSession::OpenFrames(const std::string &fileName, const val &frames, bool gif)
{
    const tessaldo::PictureSize size = m_session.Doc().Size();
    std::vector<Picture> pictures;
    const auto count = frames["length"].as<std::size_t>();
    pictures.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const val frame = frames[i];
        pictures.push_back({{}, FrameDelay(frame, gif), DotsFrom(frame["dots"].as<std::string>(), size)});
    }
    m_session.OpenSet(SetOfFrames(std::move(pictures), m_session.Doc().type, NameFromFileName(fileName)));
}

val PageSession::OpenSetText(const std::string &fileName, const std::string &text, const std::string &layout)
{
    const SetReading reading = ReadSet(text, m_session.Doc().type, {}, AnsweredLayout(layout));
    val result = val::object();
    result.set("problem", reading.set ? std::string() : OpenFailed(fileName, reading.problem).message());
    result.set("note", ReadingNote(fileName, reading));
    result.set("choices", ChoicesValue(reading.set ? reading.choices : std::vector<LayoutChoice>{}));
    if (reading.set && reading.choices.empty())
        m_session.OpenSet(*reading.set, reading.layout);
    return result;
}

std::string PageSession::OpenSetDocument(const std::string &documentText, int layoutIndex)
{
    DocumentReading reading = ReadDocumentText(documentText);
    if (reading.document)
        m_session.OpenSet(std::move(*reading.document), kEveryBitLayout.at(static_cast<std::size_t>(layoutIndex)));
    return reading.problem;
}

val PageSession::OpenSetDrawings(const val &files)
{
    val result = val::object();
    result.set("note", std::string());
    result.set("problem", std::string());
    const ScratchFolder folder(kScratchRoot);
    std::vector<std::filesystem::path> names;
    const auto count = files["length"].as<std::size_t>();
    for (std::size_t i = 0; i < count; ++i) {
        names.emplace_back(files[i]["name"].as<std::string>());
        if (FileStatus put = ScratchFolder::Put(names.back(), BytesOf(files[i]["bytes"])); !put) {
            result.set("problem", put.message());
            return result;
        }
    }
    Document set;
    std::vector<std::string> leftOut;
    if (FileStatus opened = OpenSetFiles(names, set, &leftOut); !opened) {
        result.set("problem", opened.message());
        return result;
    }
    result.set("note", LeftOutNote(leftOut));
    m_session.OpenSet(std::move(set));
    return result;
}

val PageSession::SetHeaderText(const std::string &fileName) const
{
    const SetText header = FormatSetHeader(m_session.Doc(), std::filesystem::path(fileName), kHeaderMaker, std::nullopt,
                                           m_session.HeaderLayout());
    val result = val::object();
    result.set("text", header.text);
    result.set("problem", header.problem);
    return result;
}

val PageSession::SetFolderFiles(const std::string &folderName) const
{
    const ScratchFolder folder(kScratchRoot);
    val result = val::object();
    val files = val::array();
    const FileStatus saved = SaveSetFolder(m_session.Doc(), folderName);
    result.set("problem", saved.message());
    result.set("files", files);
    if (!saved)
        return result;
    for (const Picture &picture : m_session.Doc().pictures) {
        val file = val::object();
        const std::string name = PictureFileName(picture.name, picture.dots.Size());
        file.set("name", name);
        const std::optional<std::string> bytes =
            ScratchFolder::Read(std::filesystem::path(folderName) / name, kPictureFileBytes);
        file.set("bytes", bytes ? Uint8Array(*bytes) : val::null());
        files.call<void>("push", file);
    }
    return result;
}

val PageSession::SetFolderZip(const std::string &folderName, const val &time) const
{
    const ScratchFolder folder(kScratchRoot);
    val result = val::object();
    const FileStatus saved = SaveSetFolder(m_session.Doc(), folderName);
    std::vector<ZipEntry> entries;
    for (const Picture &picture : m_session.Doc().pictures) {
        const std::string name = folderName + "/" + PictureFileName(picture.name, picture.dots.Size());
        entries.push_back(
            {name, saved ? ScratchFolder::Read(name, kPictureFileBytes).value_or(std::string()) : std::string()});
    }
    const ZipMade zip =
        saved ? StoredZip(entries, {time["year"].as<int>(), time["month"].as<int>(), time["day"].as<int>(),
                                    time["hour"].as<int>(), time["minute"].as<int>(), time["second"].as<int>()})
              : ZipMade{{}, saved.message()};
    result.set("problem", zip.problem);
    result.set("bytes", Uint8Array(zip.bytes));
    return result;
}

} // namespace tessaldo::page
