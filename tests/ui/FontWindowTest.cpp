#include "../DebianFonts.h"
#include "UiDoubles.h"
#include "ui/canvas/GlyphGuides.h"
#include "ui/files/FontWorkflow.h"
#include "ui/window/DisplayPreviewPanel.h"

#include <QAbstractListModel>
#include <QAction>
#include <QInputDialog>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

using namespace tessaldo;

// A font as a user works on it in the window: opened from its file, a
// glyph's baseline moved on the canvas and taken back, saved as a u8g2 font
// the command line would write the same.
class FontWindowTest : public QObject, private WindowUnderTest {
    Q_OBJECT

private slots:
    void init() { Open(); }
    void cleanup() { Close(); }

    void aBdfOpensAsGlyphsWhoseBaselineMovesAndSavesAsTheCommandLineWrites();
    void aTrueTypeFontOpensDrawnAtItsPixelSize();
    void aTextsGlyphsShowAsTheyDrawAndSaveAsTheWork();

private:
    QAction *action(CommandId id) const
    {
        const QString caption = QString::fromUtf8(CommandWithId(id).caption.data(),
                                                  static_cast<qsizetype>(CommandWithId(id).caption.size()));
        for (QAction *found : window->findChildren<QAction *>())
            if (found->text() == caption)
                return found;
        return nullptr;
    }
};

void FontWindowTest::aBdfOpensAsGlyphsWhoseBaselineMovesAndSavesAsTheCommandLineWrites()
{
    std::string why;
    const std::filesystem::path bdf = DebianBdf("5x7", tempDir->path().toStdString(), why);
    if (bdf.empty())
        QSKIP(why.c_str());
    QVERIFY(!action(CommandId::BaselineUp)->isEnabled());
    window->OpenFile(QString::fromStdString(bdf.string()));
    const Document &set = window->Session().Doc();
    QVERIFY(set.font.has_value());
    QCOMPARE(set.Size(), (PictureSize{5, 7}));
    const auto a = std::find_if(set.pictures.begin(), set.pictures.end(),
                                [](const Picture &picture) { return picture.name == "U_0041"; });
    QVERIFY(a != set.pictures.end());
    // The strip shows each glyph as its character, its name in the tooltip.
    auto *strip = window->findChild<QAbstractListModel *>();
    QVERIFY(strip != nullptr);
    const QModelIndex row = strip->index(static_cast<int>(a - set.pictures.begin()));
    QCOMPARE(strip->data(row).toString(), QStringLiteral("A"));
    QCOMPARE(strip->data(row, Qt::ToolTipRole).toString(), QStringLiteral("U_0041"));

    // The baseline moves a row up on the canvas, and Undo brings it back.
    auto *guides = window->findChild<GlyphGuides *>();
    QVERIFY(guides != nullptr);
    const int baseline = guides->BaselineY();
    action(CommandId::BaselineUp)->trigger();
    QVERIFY(guides->BaselineY() < baseline);
    action(CommandId::Undo)->trigger();
    QCOMPARE(guides->BaselineY(), baseline);
    QVERIFY(guides->AdvanceX() > 0);

    // The preview draws the sample line in the font.
    auto *sample = window->findChild<QLineEdit *>(QStringLiteral("previewSample"));
    QVERIFY(sample != nullptr && sample->text().startsWith(QStringLiteral(" !\"")));
    const QImage shown = window->findChild<DisplayPreviewPanel *>()->Shown();
    QVERIFY(!shown.isNull());

    // Saved unchanged as u8g2's C source: the bytes the command line writes from the same file.
    QDir(tempDir->path()).mkpath(QStringLiteral("window"));
    QDir(tempDir->path()).mkpath(QStringLiteral("cli"));
    const QString saved = tempDir->filePath(QStringLiteral("window/u8g2_font_five.c"));
    const QString written = tempDir->filePath(QStringLiteral("cli/u8g2_font_five.c"));
    QVERIFY(window->Fonts().SaveFontAs(saved, FontFormat::U8g2, U8g2Mode::Proportional));
    QProcess cli;
    cli.start(QStringLiteral(TESSALDO_CLI),
              {QStringLiteral("font"), QString::fromStdString(bdf.string()), QStringLiteral("--output"), written});
    QVERIFY(cli.waitForFinished());
    QCOMPARE(cli.exitCode(), 0);
    QFile ours(saved);
    QFile theirs(written);
    QVERIFY(ours.open(QIODevice::ReadOnly) && theirs.open(QIODevice::ReadOnly));
    QCOMPARE(ours.readAll(), theirs.readAll());
}

void FontWindowTest::aTrueTypeFontOpensDrawnAtItsPixelSize()
{
    const QString ttf = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    if (!QFile::exists(ttf))
        QSKIP("DejaVuSans.ttf is not here: it needs Debian's fonts-dejavu-core");
    QVERIFY(FontWorkflow::IsFont(ttf));
    QVERIFY(window->Fonts().OpenFontAt(ttf, 12));
    const Document &set = window->Session().Doc();
    QVERIFY(set.font.has_value());
    QVERIFY(std::any_of(set.pictures.begin(), set.pictures.end(),
                        [](const Picture &picture) { return picture.glyph && picture.glyph->codePoint == U'A'; }));
}

// A font as a fresh user tried it: opened by Open Set, Open offering fonts,
// a text's glyphs kept that the preview then draws whole, a wide advance in
// view, saved as a font and closed with nothing asked.
void FontWindowTest::aTextsGlyphsShowAsTheyDrawAndSaveAsTheWork()
{
    std::string why;
    const std::filesystem::path bdf = DebianBdf("5x7", tempDir->path().toStdString(), why);
    if (bdf.empty())
        QSKIP(why.c_str());
    window->OpenSetPaths({QString::fromStdString(bdf.string())});
    QVERIFY(window->Session().Doc().font.has_value());
    action(CommandId::Open)->trigger();
    QVERIFY(dialog->shown.constLast().filter.contains(QStringLiteral("Fonts (*.bdf *.ttf *.otf *.c *.h)")));

    OnNextModal([](QWidget *modal) {
        auto *input = qobject_cast<QInputDialog *>(modal);
        input->setTextValue(QStringLiteral("23.5°C"));
        input->accept();
    });
    action(CommandId::GlyphsFromText)->trigger();
    QCOMPARE(window->Session().Doc().pictures.size(), std::size_t{6});
    auto *sample = window->findChild<QLineEdit *>(QStringLiteral("previewSample"));
    QCOMPARE(sample->text(), QStringLiteral("23.5°C"));

    auto *guides = window->findChild<GlyphGuides *>();
    for (int i = 0; i < 20; ++i)
        action(CommandId::AdvanceWider)->trigger();
    QVERIFY(guides->AdvanceX() > 0 && guides->AdvanceX() < guides->width());

    QVERIFY(window->Fonts().SaveFontAs(tempDir->filePath(QStringLiteral("five.h")), FontFormat::Gfx,
                                       U8g2Mode::Proportional));
    QVERIFY(window->close());
    QCOMPARE(question->asked, 0);
}

QTEST_MAIN(FontWindowTest)
#include "FontWindowTest.moc"
