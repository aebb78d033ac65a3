#include "../DebianFonts.h"
#include "UiDoubles.h"
#include "ui/canvas/GlyphGuides.h"
#include "ui/files/FontWorkflow.h"
#include "ui/window/DisplayPreviewPanel.h"

#include <QAbstractListModel>
#include <QAction>
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
    // The strip shows each glyph with its character.
    auto *strip = window->findChild<QAbstractListModel *>();
    QVERIFY(strip != nullptr);
    QCOMPARE(strip->data(strip->index(static_cast<int>(a - set.pictures.begin()))).toString(),
             QStringLiteral("A  U_0041"));

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

QTEST_MAIN(FontWindowTest)
#include "FontWindowTest.moc"
