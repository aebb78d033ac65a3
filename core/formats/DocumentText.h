#pragma once

#include "core/model/Document.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A document as one short line of text: what the page keeps in the browser's
// storage and puts in a link's fragment. Only letters, digits and "._-~"
// appear in it, none of which an address ever escapes, so the line survives
// mail, chat and address bars as it is. It reads back as the very document
// it was written from.
//
//   lcd1.TYPE.FORM.CURRENT~NAME.DELAY.DOTS~NAME.DELAY.DOTS...      (16 x 16)
//   lcd2.TYPE.FORM.CURRENT.WxH~NAME.DELAY.DOTS~NAME.DELAY.DOTS...  (any size)
//
// TYPE is 0 or 1, FORM p (pictures) or f (frames), CURRENT the edited
// picture's place from 0, W and H the pictures' size, DELAY in ms. A font's
// set says its metrics too, so that it is saved as the font it was:
//
//   HEAD.FONTNAME.COPYRIGHT.ASCENT_DESCENT.DEFAULT.SAMPLE.OPENED~NAME.DELAY.DOTS.CODE_COLUMN_BASELINE_ADVANCE...
//
// the name, copyright and the preview's sample line their UTF-8 in
// base64url, DEFAULT the default character's code ("" for none), OPENED
// (none in texts of earlier pages) what the font's writers still take from
// the font as opened once the set leaves glyphs out: its characters as runs
// of codes, N_FIRST_LENGTH..., then the glyphs they measure as read,
// CODE_A_W_H_X_Y_DOTS... (DOTS eight to a number, dot 8k+j in bit j), and each
// glyph its character's code, its origin's column, the rows above the
// baseline and its advance, then, while the picture shows the glyph as its
// font gave it, that glyph's advance and box: _A_W_H_X_Y, its dots the
// picture's. The dots
// are packed eight to a byte, dot 8k+j in bit j of byte k; DOTS is those
// bytes (lcd1: the 32 bytes themselves; lcd2: packed again by PackBits, as
// runs of clear dots are common) in base64url without padding.
namespace tessaldo {

std::string WriteDocumentText(const Document &document);
// Its two halves: the head up to CURRENT (or WxH), and "~NAME.DELAY.DOTS" for each picture.
std::string DocumentHead(const Document &document);
std::string PicturesText(std::span<const Picture> pictures, LcdType type);

// The text of a large set in parts, so that the browser's storage rewrites
// only those a change touched: the head (part 0), then the pictures
// kPicturesPerPart at a time. Joined, the parts are WriteDocumentText's text.
inline constexpr std::size_t kPicturesPerPart = 256;
struct TextPart {
    std::size_t index;
    std::string text;
};
class PartWriter {
public:
    // The parts that differ from those of the last call; any past Count() are no longer the document's.
    std::vector<TextPart> Changed(const Document &document);
    std::size_t Count() const { return m_written.size() + 1; }
    // The next call gives every part.
    void Forget();

private:
    std::string m_head;
    std::vector<std::vector<Picture>> m_written; // each part's pictures as last written
};

// The document, or the reason a text is none (a phrase, for a sentence of the caller's).
struct DocumentReading {
    std::optional<Document> document;
    std::string problem;
};
DocumentReading ReadDocumentText(std::string_view text);

// The session's work as kept between visits: the document, and on a second
// line the set as last saved when that differs, so that unsaved work comes
// back unsaved.
std::string WriteKeptText(const Document &document, const Document &saved);

struct KeptReading {
    std::optional<Document> document;
    Document saved;
    std::string problem; // the whole sentence for the user
};
KeptReading ReadKeptText(std::string_view text);

} // namespace tessaldo
