#include "image/TextImage.h"

#include "image/PictureImage.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <algorithm>

namespace tessaldo {
namespace {

// The widest and tallest line drawn whole to find out whether it is cut.
constexpr int kMaxTextCanvas = 4096;

std::string CodePointName(char32_t codePoint)
{
    return QStringLiteral("U+%1").arg(static_cast<uint>(codePoint), 4, 16, QLatin1Char('0')).toUpper().toStdString();
}

// The installed family of that name, matched as fontconfig matches names: without case.
QString InstalledFamily(const QString &family)
{
    for (const QString &installed : QFontDatabase::families()) {
        if (installed.compare(family, Qt::CaseInsensitive) == 0)
            return installed;
    }
    return {};
}

// Whether any pixel outside `shown` is dark enough to have been a set dot.
bool InkOutside(const QImage &image, const QRect &shown, int threshold)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (!shown.contains(x, y) && qGray(line[x]) < threshold)
                return true;
        }
    }
    return false;
}

// Each character of the text that, drawn alone as the line draws it, sets
// fewer than half the dots its ink would fill: too small a size for it.
std::vector<std::string> FadedCharacters(const QString &text, const QFont &font, int threshold)
{
    const QFontMetrics metrics(font);
    std::vector<std::string> faded;
    for (const char32_t codePoint : text.toUcs4()) {
        const QString character = QString::fromUcs4(&codePoint, 1);
        const std::string name = character.toStdString();
        if (std::ranges::find(faded, name) != faded.end())
            continue;
        QImage image(QSize(std::max(1, metrics.horizontalAdvance(character)), metrics.height()), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(0, metrics.ascent()), character);
        painter.end();
        double ink = 0;
        int set = 0;
        for (int y = 0; y < image.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                ink += (255 - qGray(line[x])) / 255.0;
                set += qGray(line[x]) < threshold ? 1 : 0;
            }
        }
        if (GlyphFaded(ink, set))
            faded.push_back(name);
    }
    return faded;
}

} // namespace

QStringList TextFamilies()
{
    QStringList families = QFontDatabase::families();
    const QString unifont = InstalledFamily(QString::fromLatin1(kDefaultTextFamily));
    if (!unifont.isEmpty()) {
        families.removeAll(unifont);
        families.prepend(unifont);
    }
    return families;
}

bool RenderText(const QString &text, const TextOptions &options, PictureSize size, GreyImage &cells, TextExtent &extent,
                std::string &error)
{
    const QString family = InstalledFamily(options.family);
    if (family.isEmpty()) {
        error = "there is no font family \"" + options.family.toStdString()
                + "\" on this system (tessaldo-cli text --list-fonts lists the installed ones)";
        return false;
    }
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            error = "the text must be one line of characters, without control characters";
            return false;
        }
    }
    QFont font(family);
    font.setPixelSize(options.pixelSize);
    const bool pixelExact = family.compare(QString::fromLatin1(kDefaultTextFamily), Qt::CaseInsensitive) == 0
                            && options.pixelSize == kDefaultTextPixels;
    // No other font may stand in for a missing glyph.
    font.setStyleStrategy(pixelExact ? QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging)
                                     : QFont::NoFontMerging);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QRawFont raw = QRawFont::fromFont(font);
    for (const char32_t codePoint : text.toUcs4()) {
        if (!raw.supportsCharacter(codePoint)) {
            error = "the font \"" + family.toStdString() + "\" has no glyph for " + CodePointName(codePoint);
            return false;
        }
    }

    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    // Aligned left, the line starts at the top-left cell, where Insert Text
    // puts it at the cell the user pointed at.
    const QPoint centred(CentredStart(size.width, width), CentredStart(size.height, metrics.height()));
    const QPoint origin = (options.alignLeft ? QPoint() : centred) + QPoint(options.offsetX, options.offsetY);
    // The whole line is drawn, so that what falls outside the picture can be
    // told from blank space; a line too long to draw whole is cut anyway.
    const QRect grid(0, 0, size.width, size.height);
    QRect canvas = grid.united(QRect(origin, QSize(width, metrics.height())));
    const bool drawnWhole = canvas.width() <= kMaxTextCanvas && canvas.height() <= kMaxTextCanvas;
    if (!drawnWhole)
        canvas = grid;
    QImage image(canvas.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, !pixelExact);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(origin - canvas.topLeft() + QPoint(0, metrics.ascent()), text);
    painter.end();
    const QRect shown = grid.translated(-canvas.topLeft());
    extent = {width, !drawnWhole || InkOutside(image, shown, options.threshold),
              pixelExact ? std::vector<std::string>() : FadedCharacters(text, font, options.threshold)};
    cells = GreyFromImage(image.copy(shown));
    return true;
}

bool PutText(DotGrid &picture, const QString &text, const TextOptions &options, TextExtent &extent, std::string &error)
{
    GreyImage cells;
    if (!RenderText(text, options, picture.Size(), cells, extent, error))
        return false;
    PlaceText(picture, CellsFromPixels(cells, {Fit::Contain, options.threshold, Dither::None, false}, picture.Size()),
              {options.invert, options.onto});
    return true;
}

} // namespace tessaldo
