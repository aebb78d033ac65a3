#include "core/session/EditSession.h"

#include "core/code/CodeFormats.h"
#include "core/code/CodeGenerator.h"
#include "core/convert/GlyphNames.h"
#include "core/formats/DrawingFile.h"
#include "core/session/GlyphSet.h"
#include "core/session/ProgramTexts.h"
#include "core/session/Texts.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>

namespace tessaldo {

void EditSession::ToggleDot(int dot)
{
    Change("Dot " + std::to_string(dot), [dot](Document &document) {
        DotState &state = document.Edited().dots.at(static_cast<std::size_t>(dot));
        state = state == DotState::Set ? DotState::Clear : DotState::Set;
    });
}

std::string EditSession::SetType(LcdType type)
{
    // Any other size runs along rows whatever the type: a change would be a step that changes nothing.
    if (!IsModuleSize(m_document.Size()))
        return FilledText(TextId::TypeOnlyAtModuleSize,
                          {PictureSizeText(kModuleSize), PictureSizeText(m_document.Size())});
    Change("Type " + std::to_string(LcdTypeValue(type)), [type](Document &document) { document.type = type; });
    return {};
}

std::string EditSession::Apply(Transform transform)
{
    if (m_selection) {
        ApplyToSelection(transform);
        return {};
    }
    if (!Fits(transform))
        return FilledText(TextId::TurnInSet, {PictureSizeText(m_document.Size())});
    Change(std::string(TransformName(transform)), [transform](Document &document) {
        DotGrid grid = document.Grid();
        ApplyTransform(grid, transform);
        document.Edited().dots = grid.AllDots();
    });
    return {};
}

std::string EditSession::TakeDots(const std::string &caption, const DotGrid::Dots &dots)
{
    if (std::string refused = SizeRefusal(dots.Size()); !refused.empty())
        return refused;
    Change(caption, [&dots](Document &document) { document.Edited().dots = dots; });
    return {};
}

std::string EditSession::TakePictures(const std::string &caption, std::vector<Picture> pictures)
{
    if (pictures.empty())
        return {};
    // Alone, the edited picture gives way to the first pasted one, whose size the set then has.
    const PictureSize size = HoldsSet() ? m_document.Size() : pictures.front().dots.Size();
    for (const Picture &picture : pictures)
        if (picture.dots.Size() != size)
            return FilledText(TextId::OtherSize, {PictureSizeText(picture.dots.Size()), PictureSizeText(size)});
    std::string renamed;
    Change(caption, [&pictures, &renamed](Document &document) {
        const std::size_t at = document.current;
        document.pictures.erase(document.pictures.begin() + static_cast<std::ptrdiff_t>(at));
        document.pictures.insert(document.pictures.begin() + static_cast<std::ptrdiff_t>(at), pictures.begin(),
                                 pictures.end());
        for (std::size_t i = at; i < at + pictures.size(); ++i) {
            std::string &name = document.pictures[i].name;
            const std::string unique = UniqueName(document.pictures, name, i);
            if (unique != name)
                renamed.append(renamed.empty() ? "" : ", ").append(name).append(" is now ").append(unique);
            name = unique;
        }
    });
    if (renamed.empty())
        return {};
    return "Names in a set differ in more than case, so " + renamed + ".";
}

std::string EditSession::Open(const Drawing &drawing)
{
    if (std::string refused = SizeRefusal(drawing.dots.Size()); !refused.empty())
        return refused;
    Change("Open", [&drawing](Document &document) {
        DotGrid grid = document.Grid();
        ApplyDrawing(grid, drawing);
        document.type = grid.nLCDType();
        document.Edited().dots = grid.AllDots();
    });
    PictureSaved();
    return {};
}

namespace {

bool SameWithoutCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

std::string EditSession::UniqueName(const std::vector<Picture> &pictures, const std::string &base, std::size_t except)
{
    const auto taken = [&pictures, except](const std::string &name) {
        for (std::size_t i = 0; i < pictures.size(); ++i)
            if (i != except && SameWithoutCase(pictures[i].name, name))
                return true;
        return false;
    };
    return DistinctName(base, taken);
}

void EditSession::AddPicture()
{
    Picture blank;
    blank.dots = Dots(m_document.Size());
    blank.name = UniqueName(m_document.pictures, "picture", m_document.pictures.size());
    blank.delayMs = m_document.Edited().delayMs; // frames of one animation mostly share theirs
    Change("Add Picture", [&blank](Document &document) {
        document.pictures.insert(document.pictures.begin() + static_cast<std::ptrdiff_t>(document.current + 1), blank);
        ++document.current;
    });
}

void EditSession::CopyPicture()
{
    Picture copy = m_document.Edited();
    copy.name = UniqueName(m_document.pictures, copy.name, m_document.pictures.size());
    Change("Copy Picture", [&copy](Document &document) {
        document.pictures.insert(document.pictures.begin() + static_cast<std::ptrdiff_t>(document.current + 1), copy);
        ++document.current;
    });
}

void EditSession::DeletePicture()
{
    if (!HoldsSet())
        return;
    Change("Delete Picture", [](Document &document) {
        document.pictures.erase(document.pictures.begin() + static_cast<std::ptrdiff_t>(document.current));
        document.current = std::min(document.current, document.pictures.size() - 1);
    });
}

void EditSession::MovePicture(std::size_t from, std::size_t to)
{
    const std::size_t count = m_document.pictures.size();
    if (from >= count || to >= count)
        return;
    Change("Move Picture", [from, to](Document &document) {
        auto &pictures = document.pictures;
        const auto at = [&pictures](std::size_t index) {
            return pictures.begin() + static_cast<std::ptrdiff_t>(index);
        };
        if (from < to)
            std::rotate(at(from), at(from + 1), at(to + 1));
        else
            std::rotate(at(to), at(from), at(from + 1));
        document.current = to;
    });
}

std::string EditSession::RenamePicture(std::size_t index, const std::string &name)
{
    if (index >= m_document.pictures.size())
        return "There is no such picture.";
    if (const std::string broken = NameRuleBroken(name); !broken.empty())
        return "\"" + name + "\" cannot name a picture: it " + broken + ".";
    for (std::size_t other = 0; other < m_document.pictures.size(); ++other) {
        const std::string &taken = m_document.pictures[other].name;
        if (other != index && SameWithoutCase(taken, name))
            return "Another picture is named \"" + taken
                   + "\" already; names must differ in more than case, as "
                     "file names do on some systems.";
    }
    Change("Rename Picture", [index, &name](Document &document) { document.pictures[index].name = name; });
    return {};
}

std::string EditSession::SetDelay(std::size_t index, int delayMs)
{
    if (index >= m_document.pictures.size())
        return "There is no such picture.";
    if (delayMs < 0 || delayMs > kLongestDelayMs)
        return "A delay is 0 to " + std::to_string(kLongestDelayMs) + " milliseconds.";
    Change("Picture Delay", [index, delayMs](Document &document) { document.pictures[index].delayMs = delayMs; });
    return {};
}

void EditSession::SetForm(tessaldo::SetForm form)
{
    Change("Save as Animation", [form](Document &document) { document.form = form; });
}

void EditSession::OpenSet(Document set, BitLayout layout)
{
    if (set.pictures.empty())
        return;
    m_headerLayout = layout;
    if (layout != BitLayout::Module && !IsModuleSize(set.Size()))
        m_arrayForm = FormOfLayout(layout);
    Replace("Open Set", std::move(set));
    SetSaved();
}

void EditSession::MoveBaseline(int rows)
{
    Change("Move Baseline", [rows](Document &document) {
        if (std::optional<GlyphMetrics> &glyph = document.Edited().glyph)
            glyph->baseline = std::clamp(glyph->baseline + rows, 0, document.Size().height);
    });
}

void EditSession::ChangeAdvance(int dots)
{
    Change("Change Advance", [dots](Document &document) {
        if (std::optional<GlyphMetrics> &glyph = document.Edited().glyph)
            glyph->advance = std::clamp(glyph->advance + dots, 0, kLargestSide);
    });
}

std::string EditSession::AddGlyph(char32_t codePoint)
{
    for (const Picture &picture : m_document.pictures)
        if (picture.glyph && picture.glyph->codePoint == codePoint)
            return FilledText(TextId::GlyphExists, {CodePointName(codePoint), picture.name});
    Picture blank = BlankGlyph(m_document, codePoint);
    blank.name = UniqueName(m_document.pictures, blank.name, m_document.pictures.size());
    // A font is ordered by character: the new glyph goes before the first of a later one.
    const auto later =
        std::find_if(m_document.pictures.begin(), m_document.pictures.end(), [codePoint](const Picture &picture) {
            return picture.glyph && picture.glyph->codePoint > codePoint;
        });
    const auto at = later - m_document.pictures.begin();
    Change("Add Glyph", [&blank, at](Document &document) {
        document.pictures.insert(document.pictures.begin() + at, blank);
        document.current = static_cast<std::size_t>(at);
    });
    return {};
}

std::string EditSession::KeepGlyphsForText(std::string_view text)
{
    const GlyphsKept chosen = GlyphsForText(m_document, text);
    if (std::find(chosen.kept.begin(), chosen.kept.end(), true) == chosen.kept.end())
        return chosen.missing.empty() ? std::string(Text(TextId::FontNoneChosen)) : chosen.missing;
    Change("Glyphs from Text", [&chosen, text](Document &document) {
        std::vector<Picture> kept;
        std::size_t current = 0;
        for (std::size_t i = 0; i < document.pictures.size(); ++i)
            if (chosen.kept[i]) {
                current = i <= document.current ? kept.size() : current;
                kept.push_back(std::move(document.pictures[i]));
            }
        document.pictures = std::move(kept);
        document.current = current;
        document.font->sample = text;
    });
    return chosen.missing;
}

void EditSession::OpenShared(Document document)
{
    if (!document.pictures.empty())
        Replace("Open Link", std::move(document));
}

void EditSession::Restore(Document document, Document saved)
{
    if (document.pictures.empty())
        return;
    document.current = std::min(document.current, document.pictures.size() - 1);
    m_history = History();
    m_stroke.reset();
    m_live.reset();
    m_selection.reset();
    m_codeMadeFrom.reset();
    m_playing = false;
    m_document = std::move(document);
    m_clean = std::move(saved);
    Announce();
}

void EditSession::Select(std::size_t index)
{
    EndStroke();
    if (index >= m_document.pictures.size() || index == m_document.current)
        return;
    m_selection.reset();
    m_document.current = index;
    Announce();
}

void EditSession::SetOnionSkin(bool on)
{
    m_onionSkin = on;
    Announce();
}

void EditSession::SetArrayForm(CodeFormat form)
{
    m_arrayForm = form;
    Announce();
}

CodeFormat EditSession::ArrayForm() const
{
    const PictureSize size = m_document.Size();
    if (IsModuleSize(size) || SizedArrayForm(m_arrayForm) == m_arrayForm)
        return m_arrayForm;
    return SizedArrayForm(ForADisplay() ? FormOfDisplay(Displays()[PreviewDisplay()]) : m_arrayForm);
}

std::string EditSession::CopiedText() const
{
    const PictureSize size = m_document.Size();
    const CodeFormat form = ArrayForm();
    const std::size_t bytes = form == CodeFormat::C ? kModuleByteCount : LayoutByteCount(LayoutOfForm(form), size);
    std::string count = std::to_string(bytes);
    constexpr std::size_t kGroup = 3; // 1,024: thousands apart, as the captions write numbers
    for (std::size_t at = count.size(); at > kGroup; at -= kGroup)
        count.insert(at - kGroup, ",");
    return FilledText(TextId::CopiedArray, {PictureSizeText(size), ArrayFormCaption(form), count});
}

std::string EditSession::FormAdvice() const
{
    const Display &display = Displays()[PreviewDisplay()];
    const CodeFormat taken = FormOfDisplay(display);
    if (!ForADisplay() || taken == ArrayForm() || (taken == CodeFormat::C && !IsModuleSize(m_document.Size())))
        return {};
    return FilledText(TextId::DisplayTakesForm, {display.name, ArrayFormCaption(taken), ArrayFormCaption(ArrayForm())});
}

bool EditSession::ForADisplay() const
{
    return m_previewDisplay || DisplayOfSize(m_document.Size());
}

std::string EditSession::FormSwitchCaption() const
{
    return FilledText(TextId::UseDisplaysForm, {ArrayFormCaption(FormOfDisplay(Displays()[PreviewDisplay()]))});
}

void EditSession::UseDisplaysForm()
{
    SetArrayForm(FormOfDisplay(Displays()[PreviewDisplay()]));
}

std::string EditSession::ArrayText() const
{
    // Under the picture's own name, as the set's header names its array.
    // ArrayForm() is always one the picture's size takes.
    const Result<std::string> code =
        PictureCode({Grid(), m_document.pictures.at(m_document.current).name, "the Tessaldo window"}, ArrayForm());
    if (!code)
        throw std::logic_error(code.message());
    return code.value();
}

std::optional<DotGrid::Dots> EditSession::OnionDots() const
{
    if (!m_onionSkin || m_playing || m_document.current == 0)
        return std::nullopt;
    return m_document.pictures[m_document.current - 1].dots;
}

void EditSession::SetPlaying(bool on)
{
    m_playing = on && HoldsSet();
    Announce();
}

int EditSession::ShowNextFrame()
{
    Select((m_document.current + 1) % m_document.pictures.size());
    return ShownMs();
}

void EditSession::New()
{
    Change("New", [](Document &document) { document.Edited().dots = Dots(document.Size()); });
    m_codeMadeFrom.reset();
    Announce();
}

Result<PictureSize> TypedPictureSize(std::string_view width, std::string_view height)
{
    const auto whole = [](std::string_view typed) -> std::optional<int> {
        int value = 0;
        const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), value);
        if (typed.empty() || error != std::errc{} || end != typed.data() + typed.size())
            return std::nullopt;
        return value;
    };
    const std::optional<int> across = whole(width);
    const std::optional<int> down = whole(height);
    if (!across || !down)
        return Result<PictureSize>::Failed(FilledText(TextId::SizeNotWhole, {std::to_string(kLargestSide)}));
    const PictureSize size{*across, *down};
    if (!IsPictureSize(size))
        return Result<PictureSize>::Failed(
            FilledText(TextId::SizeOutOfRange, {std::to_string(kLargestSide), PictureSizeText(size)}));
    return Result<PictureSize>::Ok(size);
}

std::string EditSession::NewPicture(PictureSize size)
{
    if (!IsPictureSize(size))
        return FilledText(TextId::SizeOutOfRange, {std::to_string(kLargestSide), PictureSizeText(size)});
    Document fresh;
    fresh.type = m_document.type;
    fresh.pictures.front().dots = Dots(size);
    Replace("New Picture", std::move(fresh));
    m_clean = m_document; // nothing drawn on it yet is lost
    Announce();
    return {};
}

std::string EditSession::Resize(PictureSize size, Anchor anchor)
{
    if (!IsPictureSize(size))
        return FilledText(TextId::SizeOutOfRange, {std::to_string(kLargestSide), PictureSizeText(size)});
    const LcdType type = m_document.type;
    ResizeAll("Resize", [type, size, anchor](const Dots &dots) { return ResizedDots(dots, type, size, anchor); });
    return {};
}

std::string EditSession::Enlarge(int factor)
{
    if (factor < 1)
        return FilledText(TextId::ScaleFactor, {std::to_string(factor)});
    const LcdType type = m_document.type;
    if (!EnlargedDots(m_document.Edited().dots, type, factor)) // the size alone decides, the same for every picture
        return FilledText(TextId::EnlargedTooFar,
                          {std::to_string(factor), PictureSizeText(m_document.Size()), std::to_string(kLargestSide)});
    ResizeAll("Enlarge", [type, factor](const Dots &dots) { return *EnlargedDots(dots, type, factor); });
    return {};
}

std::string EditSession::Reduce(int factor)
{
    if (factor < 1)
        return FilledText(TextId::ScaleFactor, {std::to_string(factor)});
    const LcdType type = m_document.type;
    ResizeAll("Reduce", [type, factor](const Dots &dots) { return *ReducedDots(dots, type, factor); });
    return {};
}

void EditSession::ResizeAll(const std::string &caption, const std::function<Dots(const Dots &)> &resized)
{
    Change(caption, [&resized](Document &document) {
        for (Picture &picture : document.pictures)
            picture.dots = resized(picture.dots);
    });
}

bool EditSession::Fits(Transform transform) const
{
    return !HoldsSet() || TransformedSize(m_document.Size(), transform) == m_document.Size();
}

std::string EditSession::SizeRefusal(PictureSize size) const
{
    if (!HoldsSet() || size == m_document.Size())
        return {};
    return FilledText(TextId::OtherSize, {PictureSizeText(size), PictureSizeText(m_document.Size())});
}

void EditSession::Paint(std::span<const int> dots, DotState state)
{
    EndLiveChange(); // a shape or a move broken into by the pencil is a step of its own
    m_selection.reset();
    if (!m_stroke)
        m_stroke.emplace();
    m_playing = false;
    for (const int dot : dots) {
        DotState &shown = m_document.Edited().dots.at(static_cast<std::size_t>(dot));
        if (shown != state)
            m_stroke->push_back(dot);
        shown = state;
    }
    Announce();
}

void EditSession::EndStroke()
{
    EndLiveChange();
    if (!m_stroke)
        return;
    std::vector<int> changes = *std::exchange(m_stroke, std::nullopt);
    // A dot changed twice is as it was: the stroke flipped those changed an odd number of times.
    std::sort(changes.begin(), changes.end());
    std::vector<int> flipped;
    for (auto same = changes.begin(); same != changes.end();) {
        const auto next = std::upper_bound(same, changes.end(), *same);
        if ((next - same) % 2 != 0)
            flipped.push_back(*same);
        same = next;
    }
    if (flipped.empty())
        return;
    m_history.PushFlips("Stroke", m_document, flipped);
    Announce();
}

void EditSession::Undo()
{
    EndStroke();
    Show(m_history.Undo(m_document));
}

void EditSession::Redo()
{
    EndStroke();
    Show(m_history.Redo(m_document));
}

void EditSession::PictureSaved()
{
    if (!HoldsSet())
        SetSaved();
}

void EditSession::SetSaved()
{
    EndStroke();
    m_clean = m_document;
    Announce();
}

bool EditSession::IsClean() const
{
    // By value, so that a dot set and cleared again, or a drag still under way, is judged by what it shows.
    return m_document.SameSet(m_clean);
}

std::string_view EditSession::SaveChangesQuestion() const
{
    if (IsClean())
        return {};
    return HoldsSet() ? kSaveSetQuestion : kSavePictureQuestion;
}

std::string EditSession::Run()
{
    EndStroke();
    m_codeMadeFrom = m_document.Edited().dots;
    Announce();
    // The module's printf lines hold 16 x 16 dots; a picture of another size
    // is code for another display, in the array form chosen for it.
    if (!IsModuleSize(m_document.Size()))
        return ArrayText();
    return LCDtoCODE(Grid());
}

void EditSession::ForgetCode()
{
    m_codeMadeFrom.reset();
    Announce();
}

bool EditSession::CodeIsStale() const
{
    return m_codeMadeFrom && *m_codeMadeFrom != m_document.Edited().dots;
}

EditSession::KeyCopy EditSession::CopyByKey(const std::string &shown)
{
    if (CodeIsStale())
        return {Run(), "The picture had changed since Run, so it was run first: its code is on the clipboard."};
    if (shown.empty())
        return {{}, std::string(kEmptyCodeBoxNote)};
    return {shown, {}};
}

bool EditSession::IsEnabled(CommandId id, bool somethingToPaste) const
{
    switch (id) {
    case CommandId::Undo:
        return m_history.CanUndo();
    case CommandId::Redo:
        return m_history.CanRedo();
    case CommandId::Paste:
        return somethingToPaste;
    case CommandId::PreviousPicture:
    case CommandId::MoveEarlier:
        return m_document.current > 0;
    case CommandId::NextPicture:
    case CommandId::MoveLater:
        return m_document.current + 1 < m_document.pictures.size();
    case CommandId::DeletePicture:
    case CommandId::Play:
        return HoldsSet();
    case CommandId::PlayOnModule:
        return HoldsSet() && IsModuleSize(m_document.Size());
    case CommandId::SelectNone:
    case CommandId::CutSelection:
    case CommandId::CopySelection:
    case CommandId::DeleteSelection:
        return m_selection.has_value();
    case CommandId::AddGlyph:
    case CommandId::GlyphsFromText:
    case CommandId::SaveFontAs:
        return HoldsFont();
    case CommandId::BaselineUp:
    case CommandId::BaselineDown:
    case CommandId::AdvanceNarrower:
    case CommandId::AdvanceWider:
        return GlyphCanMove(id);
    case CommandId::SendToModule: // the module shows 16 x 16 pictures only
    case CommandId::ModuleArrayForm:
        return IsModuleSize(m_document.Size());
    default: {
        const std::optional<Transform> transform = CommandWithId(id).transform;
        return !transform || m_selection || Fits(*transform);
    }
    }
}

bool EditSession::GlyphCanMove(CommandId id) const
{
    const std::optional<GlyphMetrics> &glyph = m_document.Edited().glyph;
    if (!glyph)
        return false;
    switch (id) {
    case CommandId::BaselineUp:
        return glyph->baseline > 0;
    case CommandId::BaselineDown:
        return glyph->baseline < m_document.Size().height;
    case CommandId::AdvanceNarrower:
        return glyph->advance > 0;
    default:
        return glyph->advance < kLargestSide;
    }
}

bool EditSession::IsChecked(CommandId id) const
{
    switch (id) {
    case CommandId::OnionSkin:
        return m_onionSkin;
    case CommandId::SaveAsAnimation:
        return m_document.form == SetForm::Frames;
    case CommandId::Play:
        return m_playing;
    case CommandId::FilledShapes:
        return m_filledShapes;
    case CommandId::ClearDots:
        return m_toolColour == DotState::Clear;
    case CommandId::DisplayPreview:
        return PreviewShown();
    default: {
        const EditorCommand &command = CommandWithId(id);
        if (command.tool)
            return command.tool == m_tool;
        return command.arrayForm == ArrayForm();
    }
    }
}

bool EditSession::Perform(CommandId id)
{
    const EditorCommand &command = CommandWithId(id);
    const std::size_t current = m_document.current;
    switch (id) {
    case CommandId::Undo:
        Undo();
        return true;
    case CommandId::Redo:
        Redo();
        return true;
    case CommandId::PreviousPicture:
        Select(current - std::min<std::size_t>(current, 1));
        return true;
    case CommandId::NextPicture:
        Select(current + 1);
        return true;
    case CommandId::AddPicture:
        AddPicture();
        return true;
    case CommandId::CopyPicture:
        CopyPicture();
        return true;
    case CommandId::DeletePicture:
        DeletePicture();
        return true;
    case CommandId::MoveEarlier:
        MovePicture(current, current - std::min<std::size_t>(current, 1));
        return true;
    case CommandId::MoveLater:
        MovePicture(current, current + 1);
        return true;
    case CommandId::OnionSkin:
        SetOnionSkin(!m_onionSkin);
        return true;
    case CommandId::SaveAsAnimation:
        SetForm(m_document.form == SetForm::Frames ? SetForm::Pictures : SetForm::Frames);
        return true;
    case CommandId::FilledShapes:
        SetFilledShapes(!m_filledShapes);
        return true;
    case CommandId::ClearDots:
        SwapToolColour();
        return true;
    case CommandId::SelectAll:
        SelectAll();
        return true;
    case CommandId::SelectNone:
        SelectNone();
        return true;
    case CommandId::DeleteSelection:
        DeleteSelection();
        return true;
    case CommandId::DisplayPreview:
        SetPreviewShown(!PreviewShown());
        return true;
    case CommandId::BaselineUp:
    case CommandId::BaselineDown:
        MoveBaseline(id == CommandId::BaselineUp ? -1 : 1);
        return true;
    case CommandId::AdvanceNarrower:
    case CommandId::AdvanceWider:
        ChangeAdvance(id == CommandId::AdvanceNarrower ? -1 : 1);
        return true;
    default:
        if (command.tool) {
            SetTool(*command.tool);
            return true;
        }
        if (command.arrayForm) {
            SetArrayForm(*command.arrayForm);
            return true;
        }
        if (!command.transform)
            return false;
        Apply(*command.transform);
        return true;
    }
}

void EditSession::Change(const std::string &caption, const std::function<void(Document &)> &edit)
{
    EndStroke();
    m_playing = false; // an edit goes to the picture the user sees, which stays
    Document after = m_document;
    edit(after);
    if (after == m_document)
        return; // a step that changes nothing would only make Undo look broken
    m_history.Push(caption, m_document, after);
    m_document = std::move(after);
    m_selection.reset();
    Announce();
}

void EditSession::Show(std::optional<Document> document)
{
    if (!document)
        return;
    m_selection.reset();
    m_document = std::move(*document);
    Announce();
}

void EditSession::Replace(const std::string &caption, Document document)
{
    document.current = std::min(document.current, document.pictures.size() - 1);
    Change(caption, [&document](Document &shown) { shown = std::move(document); });
    m_codeMadeFrom.reset();
}

void EditSession::Announce() const
{
    for (const Listener &listener : m_listeners)
        listener();
}

} // namespace tessaldo
