#pragma once

#include "core/model/BitmapFont.h"
#include "core/model/DotGrid.h"
#include "core/model/PictureName.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace tessaldo {

// A picture's delay when nobody set one, and the longest: what the saved
// header's unsigned short holds.
inline constexpr int kDefaultDelayMs = 100;
inline constexpr int kLongestDelayMs = 65'535;

// How long a GIF's frame is shown. Viewers show a frame that asks for less
// than 20 ms for the default time instead, because tools that wrote 0 or 10 ms
// meant "no particular time"; taken literally, such an animation races past.
inline constexpr int GifFrameDelayMs(int writtenMs)
{
    return writtenMs < 20 ? kDefaultDelayMs : writtenMs;
}

// How long a picture stays while a set plays, on the screen or on the module:
// its delay, but no less than a screen can show, so that frames of 0 ms play
// fast without keeping a processor busy or flooding the module's port.
inline constexpr int kShortestShownMs = 20;
inline constexpr int ShownDelayMs(int delayMs)
{
    return delayMs < kShortestShownMs ? kShortestShownMs : delayMs;
}

// Whether two shared parts of a font hold the same: a set read back from a
// kept text holds copies of what the set it was written from shared.
template <typename Held> bool SameHeld(const std::shared_ptr<const Held> &a, const std::shared_ptr<const Held> &b)
{
    return a == b || (a != nullptr && b != nullptr && *a == *b);
}

// What a picture of a font's glyph keeps beside its dots, so that the font
// it is saved as draws text as the font it was opened from: the character,
// where the glyph's origin lies in the picture (its column, and the rows
// above the baseline) and how far the pen moves on after it.
struct GlyphMetrics {
    char32_t codePoint = 0;
    int originColumn = 0;
    int baseline = 0; // rows of the picture above the baseline, 0 to its height
    int advance = 0;
    // The glyph as its font gave it, box and all, which is saved as it was
    // for as long as the picture's dots are the glyph's: the fonts' converters
    // keep a glyph's box as read (GFX draws it whole, a blank glyph's empty box
    // counts in u8g2's), where an edited one's is shrunk to its dots.
    std::shared_ptr<const BitmapGlyph> read = nullptr;
    friend bool operator==(const GlyphMetrics &a, const GlyphMetrics &b)
    {
        return std::tie(a.codePoint, a.originColumn, a.baseline, a.advance)
                   == std::tie(b.codePoint, b.originColumn, b.baseline, b.advance)
               && SameHeld(a.read, b.read);
    }
};

// A font's own metrics, which a set of its glyphs keeps for saving it again.
struct FontMetrics {
    std::string name;
    std::string copyright;
    int ascent = 0;
    int descent = 0;
    std::optional<char32_t> defaultCharacter = std::nullopt;
    // The font opened, as read: a set that keeps only some of its glyphs is
    // saved as the whole font would be with only those chosen, as the
    // formats measure the whole font (u8g2's header takes its line metrics
    // from A, g and the parenthesis and counts its glyphs, GFX draws the codes
    // it leaves out with the default character). Shared, as every step keeps it.
    // Read back from a kept text, only the glyphs the formats measure or draw
    // are as read; the others are blank, as only their characters count.
    std::shared_ptr<const BitmapFont> opened = nullptr;
    // The line of text the preview draws, the text Glyphs from Text kept; ""
    // for the set's first characters.
    std::string sample = {};
    friend bool operator==(const FontMetrics &a, const FontMetrics &b)
    {
        return std::tie(a.name, a.copyright, a.ascent, a.descent, a.defaultCharacter, a.sample)
                   == std::tie(b.name, b.copyright, b.ascent, b.descent, b.defaultCharacter, b.sample)
               && SameHeld(a.opened, b.opened);
    }
};

// One picture of a set: its dots and their size, the C identifier its code is named by,
// and how long it stays on the module when the set is played; a font's glyph its metrics too.
struct Picture {
    std::string name = "picture";
    int delayMs = kDefaultDelayMs;
    DotGrid::Dots dots{};
    std::optional<GlyphMetrics> glyph = std::nullopt;
    friend bool operator==(const Picture &, const Picture &) = default;
};

// How a set is saved: icons the firmware picks from by name, or an animation's
// frames that it shows in turn.
enum class SetForm { Pictures, Frames };

// What the user edits: an ordered set of pictures sharing one LCD type, and
// the picture being edited. The set is never empty.
struct Document {
    LcdType type = LcdType::Column;
    std::vector<Picture> pictures{Picture{}};
    std::size_t current = 0;
    SetForm form = SetForm::Pictures;
    // A font's, whose pictures are its glyphs; none for any other set.
    std::optional<FontMetrics> font = std::nullopt;

    // The size every picture of the set has.
    PictureSize Size() const { return pictures.front().dots.Size(); }
    const Picture &Edited() const { return pictures.at(current); }
    Picture &Edited() { return pictures.at(current); }
    // The edited picture as the grid shows it, in the set's type.
    DotGrid Grid() const
    {
        DotGrid grid;
        grid.SetLCDType(type);
        grid.SetAllDots(Edited().dots);
        return grid;
    }
    // The same set, whichever picture is being edited: what saving keeps.
    bool SameSet(const Document &other) const
    {
        return type == other.type && form == other.form && font == other.font && pictures == other.pictures;
    }
    friend bool operator==(const Document &, const Document &) = default;
};

// What a screen reader says for the set's picture at `index`: its name and
// place, and as its description an animation frame's delay, as only frames are
// shown in turn ("" for icons, which have no time of their own).
// An image's frames, each a picture's dots and delay, as the set they open as:
// an animation's frames named NAME_000, NAME_001, ... at their delays, or a
// still image as one picture named NAME at the default delay.
Document SetOfFrames(std::vector<Picture> frames, LcdType type, const std::string &name);

std::string PictureAccessibleName(const Document &set, std::size_t index);
std::string PictureAccessibleDescription(const Document &set, std::size_t index);

} // namespace tessaldo
