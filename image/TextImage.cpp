#include "TextImage.h"

#include "PictureImage.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>

namespace tessaldo {
namespace {

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

bool RenderText(const QString &text, const TextOptions &options, GreyImage &cells, std::string &error)
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

    QImage image(kGridSide, kGridSide, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, !pixelExact);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    const int left = options.alignLeft || width >= kGridSide ? 0 : (kGridSide - width) / 2;
    painter.drawText(QPoint(left, metrics.ascent()), text);
    painter.end();
    cells = GreyFromImage(image);
    return true;
}

} // namespace tessaldo
