#include "UiDoubles.h"
#include "core/formats/DrawingFile.h"
#include "core/model/Document.h"
#include "core/session/EditSession.h"
#include "core/session/EditorCommands.h"
#include "ui/dialogs/PictureSizeDialog.h"
#include "ui/set/PictureDelegate.h"
#include "ui/set/PictureStrip.h"
#include "ui/window/DisplayPreviewPanel.h"
#include "ui/window/Toolbar.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QDropEvent>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <QToolTip>

using namespace tessaldo;

namespace {

// A P1 PBM of `size` with the dots `set` gives, row by row.
QByteArray PlainPbm(PictureSize size, const std::function<bool(int, int)> &set)
{
    QByteArray text =
        QByteArrayLiteral("P1\n") + QByteArray::number(size.width) + ' ' + QByteArray::number(size.height) + '\n';
    for (int row = 0; row < size.height; ++row) {
        for (int column = 0; column < size.width; ++column)
            text += set(column, row) ? "1 " : "0 ";
        text += '\n';
    }
    return text;
}

// A box outline and a diagonal: wrong in any layout but the right one.
bool Splash(int column, int row)
{
    return row == 2 || row == 60 || column == 3 || column == 120 || column == row;
}

QRgb DotRgb(PanelColours colours)
{
    return 0xFF000000 | PaletteOf(colours).dot;
}

bool IsSetAt(const Dots &dots, int column, int row)
{
    return dots[static_cast<std::size_t>(row * dots.Size().width + column)] == DotState::Set;
}

// How `got` differs from `want`, for the failure to name; "" when it is the same set.
QString Difference(const Document &got, const Document &want)
{
    if (got.Size() != want.Size() || got.type != want.type || got.form != want.form
        || got.pictures.size() != want.pictures.size())
        return QStringLiteral("%1 x %2, type %3, form %4, %5 pictures")
            .arg(got.Size().width)
            .arg(got.Size().height)
            .arg(int(got.type))
            .arg(int(got.form))
            .arg(got.pictures.size());
    for (std::size_t at = 0; at < got.pictures.size(); ++at) {
        const Picture &picture = got.pictures[at];
        if (picture == want.pictures[at])
            continue;
        int differing = 0;
        for (std::size_t dot = 0; dot < picture.dots.size(); ++dot)
            differing += picture.dots[dot] != want.pictures[at].dots[dot] ? 1 : 0;
        return QStringLiteral("picture %1 is %2, %3 ms, %4 dots differ")
            .arg(at)
            .arg(QString::fromStdString(picture.name))
            .arg(picture.delayMs)
            .arg(differing);
    }
    return {};
}

} // namespace

// The window with a picture of any size: the size dialogs, the display
// preview, the strip's pictures and names, and files of other sizes.
class AnySizeWindowTest : public QObject, WindowUnderTest {
    Q_OBJECT

private slots:
    void init() { Open(); }
    void cleanup() { Close(); }

    void newPictureTakesAPresetOrATypedSizeOnceUnsavedWorkIsSettled();
    void pictureSizeCropsAtAnAnchorOrScalesAsOneStep();
    void previewReadsTheArrayFormsBytesAsTheDisplayDoes();
    void previewEnlargedNeverBlursAOneDotLine();
    void stripFitsEachPictureAndTipsOnlyANameItCuts();
    void sizedPbmAndSetOpenAndSaveAtTheirSizeWithoutTheModule();
    void everyWayOutAndBackKeepsThePicturesTheirNamesDelaysAndDots_data();
    void everyWayOutAndBackKeepsThePicturesTheirNamesDelaysAndDots();

private:
    QAction *action(CommandId id) const
    {
        const QString caption = QString::fromUtf8(CommandWithId(id).caption.data());
        for (QAction *candidate : window->findChildren<QAction *>()) {
            if (candidate->text() == caption)
                return candidate;
        }
        return nullptr;
    }
    const Document &doc() const { return window->Session().Doc(); }
    static QByteArray ReadAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString WriteFile(const QString &name, const QByteArray &bytes) const
    {
        const QString path = tempDir->filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return path;
    }
    // Runs `choose` on the size dialog `id` opens, then presses OK.
    void AnswerSizeDialog(CommandId id, const std::function<void(QDialog *)> &choose)
    {
        bool answered = false;
        OnNextModal([&](QWidget *modal) {
            auto *dialog = qobject_cast<QDialog *>(modal);
            choose(dialog);
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
            answered = true;
        });
        action(id)->trigger();
        QVERIFY(answered);
    }
    static void ChoosePreset(QDialog *dialog, PictureSize size)
    {
        auto *preset = dialog->findChild<QComboBox *>(QStringLiteral("preset"));
        const int index = static_cast<int>(*DisplayOfSize(size)) + 1;
        preset->setCurrentIndex(index);
        emit preset->activated(index);
    }
    static void TypeSize(QDialog *dialog, PictureSize size)
    {
        dialog->findChild<QSpinBox *>(QStringLiteral("width"))->setValue(size.width);
        dialog->findChild<QSpinBox *>(QStringLiteral("height"))->setValue(size.height);
    }
};

void AnySizeWindowTest::newPictureTakesAPresetOrATypedSizeOnceUnsavedWorkIsSettled()
{
    window->lbDot_Click(0);
    question->answers = {SaveChangesQuestion::Answer::Cancel};
    AnswerSizeDialog(CommandId::NewPicture, [](QDialog *dialog) { ChoosePreset(dialog, {128, 64}); });
    QCOMPARE(question->asked, 1);
    QCOMPARE(doc().Size(), kModuleSize); // kept, as the user asked

    question->answers = {SaveChangesQuestion::Answer::Discard};
    AnswerSizeDialog(CommandId::NewPicture, [](QDialog *dialog) {
        ChoosePreset(dialog, {128, 64});
        QCOMPARE(dialog->findChild<QSpinBox *>(QStringLiteral("width"))->value(), 128);
    });
    QCOMPARE(doc().Size(), (PictureSize{128, 64}));
    QCOMPARE(doc().pictures.size(), std::size_t{1});
    QCOMPARE(doc().Edited().dots, Dots({128, 64}));

    // A size no preset has shows as any size; the new picture is clean, so nothing is asked.
    AnswerSizeDialog(CommandId::NewPicture, [](QDialog *dialog) {
        TypeSize(dialog, {300, 7});
        QCOMPARE(dialog->findChild<QComboBox *>(QStringLiteral("preset"))->currentIndex(), 0);
    });
    QCOMPARE(doc().Size(), (PictureSize{300, 7}));
    QCOMPARE(question->asked, 2);
    window->Undo();
    QCOMPARE(doc().Size(), (PictureSize{128, 64}));

    // A typed side that is no whole number from 1 to 1024 stays as typed and is refused in the core's words.
    bool shown = false;
    OnNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QDialog *>(modal);
        const auto closing = qScopeGuard([dialog] { dialog->reject(); });
        const auto *problem = dialog->findChild<QLabel *>(QStringLiteral("sizeProblem"));
        const auto *ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        QVERIFY(problem != nullptr);
        for (const PictureSize typed :
             {PictureSize{99999, 64}, PictureSize{128, 0}, PictureSize{1024, 1024}, PictureSize{1, 1}}) {
            TypeSize(dialog, typed);
            QCOMPARE(dialog->findChild<QSpinBox *>(QStringLiteral("width"))->value(), typed.width);
            const Result<PictureSize> taken =
                TypedPictureSize(std::to_string(typed.width), std::to_string(typed.height));
            QCOMPARE(ok->isEnabled(), static_cast<bool>(taken));
            QCOMPARE(problem->text().toStdString(), taken ? std::string() : taken.message());
        }
        shown = true;
    });
    action(CommandId::NewPicture)->trigger();
    QVERIFY(shown);
    QCOMPARE(doc().Size(), (PictureSize{128, 64}));
}

void AnySizeWindowTest::pictureSizeCropsAtAnAnchorOrScalesAsOneStep()
{
    // Its top-left and bottom-right dots set.
    const auto corners = [](int column, int row) { return (column == 0 && row == 0) || (column == 31 && row == 7); };
    window->OpenFile(WriteFile(QStringLiteral("small.pbm"), PlainPbm({32, 8}, corners)));
    QCOMPARE(doc().Size(), (PictureSize{32, 8}));
    const int steps = window->Session().Steps().Index();

    AnswerSizeDialog(CommandId::PictureSize, [](QDialog *dialog) {
        TypeSize(dialog, {34, 9});
        dialog->findChild<QAbstractButton *>(QStringLiteral("bottom-right"))->click();
    });
    const Dots &extended = doc().Edited().dots;
    QCOMPARE(extended.Size(), (PictureSize{34, 9}));
    QVERIFY(IsSetAt(extended, 2, 1) && IsSetAt(extended, 33, 8) && !IsSetAt(extended, 0, 0));
    QCOMPARE(window->Session().Steps().Index(), steps + 1);

    AnswerSizeDialog(CommandId::PictureSize, [](QDialog *dialog) {
        dialog->findChild<QAbstractButton *>(QStringLiteral("enlarge"))->click();
        dialog->findChild<QSpinBox *>(QStringLiteral("enlargeBy"))->setValue(3);
    });
    QCOMPARE(doc().Size(), (PictureSize{102, 27}));
    QCOMPARE(window->Session().Steps().Index(), steps + 2);
    window->Undo();
    window->Undo();
    QCOMPARE(doc().Size(), (PictureSize{32, 8}));
}

void AnySizeWindowTest::previewReadsTheArrayFormsBytesAsTheDisplayDoes()
{
    auto *preview = window->findChild<DisplayPreviewPanel *>();
    QVERIFY(preview != nullptr);
    QVERIFY(preview->isHidden()); // at 16 x 16 the window stays as it was

    window->OpenFile(WriteFile(QStringLiteral("splash.pbm"), PlainPbm({128, 64}, Splash)));
    QVERIFY(preview->isVisible());
    // Docked in the window, beside the canvas and never over it.
    const auto onScreen = [](const QWidget *widget) { return QRect(widget->mapToGlobal(QPoint()), widget->size()); };
    QCOMPARE(preview->window(), window);
    QVERIFY(!onScreen(preview).intersects(onScreen(window->findChild<QWidget *>(QStringLiteral("lbDot")))));
    // Pages on the SSD1306, which takes its buffer in pages: as drawn, white on black.
    const QImage &shown = preview->Shown();
    QCOMPARE(shown.size(), QSize(128, 64));
    const QRgb lit = DotRgb(PanelColours::WhiteOled);
    for (int row = 0; row < 64; ++row)
        for (int column = 0; column < 128; ++column)
            QCOMPARE(shown.pixel(column, row) == lit, Splash(column, row));
    QVERIFY(preview->Note().isEmpty());

    // The same bytes on an e-paper, which reads rows: not the drawing, and the note says why.
    // Choosing the display chooses its rows, so the pages are chosen again after it.
    auto *display = preview->findChild<QComboBox *>(QStringLiteral("previewDisplay"));
    const int paper = static_cast<int>(*DisplayOfSize({250, 122}));
    display->setCurrentIndex(paper);
    emit display->activated(paper);
    action(CommandId::PagesArrayForm)->trigger();
    QCOMPARE(preview->Shown().size(), QSize(250, 122));
    QVERIFY(preview->Note().contains(QStringLiteral("250 x 122")));
    const QRgb ink = DotRgb(PanelColours::EPaper);
    bool differs = false;
    for (int row = 0; row < 64 && !differs; ++row)
        for (int column = 0; column < 128 && !differs; ++column)
            differs = (preview->Shown().pixel(column, row) == ink) != Splash(column, row);
    QVERIFY(differs);
    // It says which form the e-paper takes, and its button switches to it.
    auto *useForm = preview->findChild<QPushButton *>(QStringLiteral("previewUseForm"));
    QCOMPARE(preview->Advice(), QString::fromStdString(window->Session().FormAdvice()));
    QVERIFY(!preview->Advice().isEmpty());
    QVERIFY(useForm->isVisible());
    useForm->click();
    QCOMPARE(window->Session().ArrayForm(), CodeFormat::Gfx);
    QVERIFY(preview->Advice().isEmpty());
    QVERIFY(useForm->isHidden());

    // X BitMap is drawn by the library's own call: as drawn on any display.
    action(CommandId::XbmArrayForm)->trigger();
    for (int column = 0; column < 128; ++column)
        QCOMPARE(preview->Shown().pixel(column, 30) == ink, Splash(column, 30));

    action(CommandId::DisplayPreview)->trigger();
    QVERIFY(preview->isHidden());
}

void AnySizeWindowTest::previewEnlargedNeverBlursAOneDotLine()
{
    // A 0.96-inch OLED's dots are 0.6 of a pixel at 96 dpi: real size is a whole device pixel at the least.
    QImage dots(128, 64, QImage::Format_RGB32);
    dots.fill(Qt::white);
    for (int row = 0; row < 64; ++row)
        dots.setPixel(5, row, qRgb(0, 0, 0));
    const struct {
        PreviewScale scale;
        qreal ratio;
        int dotPixels;
    } cases[] = {
        {PreviewScale::Real, 1, 1},  {PreviewScale::Twice, 1, 2},  {PreviewScale::FourTimes, 1, 4},
        {PreviewScale::Fit, 1, 2},   {PreviewScale::Real, 1.5, 1}, {PreviewScale::Twice, 1.5, 2},
        {PreviewScale::Fit, 1.5, 3}, {PreviewScale::Real, 2, 1},   {PreviewScale::FourTimes, 2, 4},
        {PreviewScale::Fit, 2, 4},
    };
    for (const auto &c : cases) {
        const int dotPixels = PreviewDotPixels(c.scale, 0.6 * c.ratio, dots.size(), QSize(260, 260) * c.ratio);
        QCOMPARE(dotPixels, c.dotPixels);
        const QPixmap drawn = EnlargedDots(dots, dotPixels, c.ratio);
        QCOMPARE(drawn.deviceIndependentSize() * c.ratio, QSizeF(dots.size() * dotPixels));
        const QImage pixels = drawn.toImage();
        for (int x = 0; x < pixels.width(); ++x) {
            const bool onLine = x / dotPixels == 5;
            QCOMPARE(pixels.pixel(x, pixels.height() / 2), onLine ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }

    // The panel offers each, and each draws whole multiples of the display's dots.
    window->OpenFile(WriteFile(QStringLiteral("splash.pbm"), PlainPbm({128, 64}, Splash)));
    auto *scale = window->findChild<QComboBox *>(QStringLiteral("previewScale"));
    const auto *view = window->findChild<QLabel *>(QStringLiteral("previewView"));
    QCOMPARE(scale->count(), 4);
    QList<int> widths;
    for (int index = 0; index < scale->count(); ++index) {
        scale->setCurrentIndex(index);
        emit scale->activated(index);
        const QPixmap shown = view->pixmap();
        QCOMPARE(shown.width() % 128, 0);
        QCOMPARE(shown.height() * 2, shown.width());
        widths << shown.width();
    }
    QCOMPARE(widths[1], 2 * widths[0]);
    QCOMPARE(widths[2], 4 * widths[0]);

    // Fit shows an e-paper larger than the dock whole, blocks of dots averaged so
    // that a one-dot line stays in sight, and follows the dock when it is widened.
    window->OpenFile(
        WriteFile(QStringLiteral("paper.pbm"), PlainPbm({800, 480}, [](int column, int) { return column == 5; })));
    const auto *scroller = qobject_cast<QScrollArea *>(view->parentWidget()->parentWidget());
    auto *dock = window->findChild<QDockWidget *>(QStringLiteral("previewDock"));
    const auto fitsWhole = [&] {
        const QSize shown = view->pixmap().deviceIndependentSize().toSize();
        return shown.width() <= scroller->viewport()->width() && shown.height() <= scroller->viewport()->height()
               && shown.width() > 0;
    };
    QVERIFY(fitsWhole());
    QVERIFY(!scroller->horizontalScrollBar()->isVisible() && !scroller->verticalScrollBar()->isVisible());
    const QImage shrunk = view->pixmap().toImage();
    const int middle = shrunk.height() / 2;
    QVERIFY(shrunk.pixel(5 * shrunk.width() / 800, middle) != shrunk.pixel(shrunk.width() - 1, middle));
    const int before = view->pixmap().width();
    window->resizeDocks({dock}, {dock->width() + 300}, Qt::Horizontal);
    QTRY_VERIFY(view->pixmap().width() > before);
    QVERIFY(fitsWhole());
}

void AnySizeWindowTest::stripFitsEachPictureAndTipsOnlyANameItCuts()
{
    Document set;
    set.pictures = {Picture{"a_name_far_too_long_for_any_strip_to_show_whole", kDefaultDelayMs, Dots({128, 64})},
                    Picture{"dot", kDefaultDelayMs, Dots({128, 64})}};
    for (std::size_t dot = 0; dot < static_cast<std::size_t>(set.pictures[0].dots.Size().DotCount()); ++dot)
        set.pictures[0].dots[dot] = DotState::Set;
    PictureStrip strip(set);
    strip.resize(150, 300);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    strip.Refresh();

    // The black 128 x 64 picture keeps its shape: twice as wide as high.
    const QImage row = strip.viewport()->grab(strip.visualRect(strip.model()->index(0, 0))).toImage();
    QRect dark;
    for (int y = 0; y < row.height(); ++y)
        for (int x = 0; x < row.width(); ++x)
            if (qGray(row.pixel(x, y)) < 40)
                dark |= QRect(x, y, 1, 1);
    QVERIFY(!dark.isEmpty());
    QVERIFY2(qAbs(dark.width() - 2 * dark.height()) <= 2,
             qPrintable(QStringLiteral("%1 x %2").arg(dark.width()).arg(dark.height())));

    const auto tipAt = [&strip](int index) {
        const QPoint at = strip.visualRect(strip.model()->index(index, 0)).center();
        QHelpEvent help(QEvent::ToolTip, at, strip.viewport()->mapToGlobal(at));
        QApplication::sendEvent(strip.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tipAt(1), QString());
    QCOMPARE(tipAt(0), QString::fromUtf8(set.pictures[0].name.c_str()));
}

void AnySizeWindowTest::sizedPbmAndSetOpenAndSaveAtTheirSizeWithoutTheModule()
{
    const QByteArray pbm = PlainPbm({128, 64}, Splash);
    window->OpenFile(WriteFile(QStringLiteral("splash.pbm"), pbm));
    QCOMPARE(doc().Size(), (PictureSize{128, 64}));
    QVERIFY(IsSetAt(doc().Edited().dots, 120, 30) && !IsSetAt(doc().Edited().dots, 119, 30));
    QVERIFY(window->Session().IsClean());
    QVERIFY(!action(CommandId::SendToModule)->isEnabled());
    QVERIFY(!window->findChild<QWidget *>(QStringLiteral("Frame2"))->isEnabled()); // the LCD type

    const QString saved = tempDir->filePath(QStringLiteral("again.pbm"));
    dialog->answers = {saved};
    QTest::mouseClick(window->findChild<Toolbar *>()->Button(3), Qt::LeftButton); // Save
    QVERIFY(dialog->shown.last().filter.startsWith(QStringLiteral("Pictures (*.pbm *.xbm)|*.pbm;*.xbm|PBM Picture")));
    Drawing again;
    QVERIFY(ReadPictureFile(saved.toStdString(), again, doc().type));
    QCOMPARE(again.dots, doc().Edited().dots);

    // A set of two such pictures saved as a header opens again at their size.
    action(CommandId::CopyPicture)->trigger();
    const QString header = tempDir->filePath(QStringLiteral("splash.h"));
    dialog->answers = {header};
    action(CommandId::SaveSetAs)->trigger();
    QVERIFY(window->Session().IsClean());
    window->OpenSetPaths({header});
    QCOMPARE(doc().pictures.size(), std::size_t{2});
    QCOMPARE(doc().pictures[1].dots, again.dots);

    action(CommandId::DeletePicture)->trigger();
    window->OpenFile(WriteFile(QStringLiteral("module.pbm"), PlainPbm(kModuleSize, Splash)));
    QCOMPARE(doc().Size(), kModuleSize);
    QVERIFY(action(CommandId::SendToModule)->isEnabled());
}

void AnySizeWindowTest::everyWayOutAndBackKeepsThePicturesTheirNamesDelaysAndDots_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("type");
    const QStringList ways = {QStringLiteral("Save .Lcd, Open"),
                              QStringLiteral("Save .pbm, Open"),
                              QStringLiteral("Save .xbm, Open"),
                              QStringLiteral("Save Set, Open Set"),
                              QStringLiteral("Save Set of frames, Open Set"),
                              QStringLiteral("Copy as C Array, Paste"),
                              QStringLiteral("Save, drop")};
    for (const PictureSize size :
         {PictureSize{1, 1}, PictureSize{12, 7}, kModuleSize, PictureSize{128, 64}, PictureSize{800, 480}}) {
        for (const QString &way : ways) {
            // A drawing file holds a 16 x 16 picture, whose type places its dots.
            if (way.contains(QStringLiteral(".Lcd")) && !IsModuleSize(size))
                continue;
            for (int type = 0; type < (IsModuleSize(size) ? kLcdTypeCount : 1); ++type) {
                const QString row =
                    QStringLiteral("%1 at %2 x %3, type %4").arg(way).arg(size.width).arg(size.height).arg(type);
                QTest::newRow(qPrintable(row)) << way << size.width << size.height << type;
            }
        }
    }
}

void AnySizeWindowTest::everyWayOutAndBackKeepsThePicturesTheirNamesDelaysAndDots()
{
    QFETCH(QString, way);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, type);
    const PictureSize size{width, height};
    const bool set = way.startsWith(QStringLiteral("Save Set"));
    const Document made =
        PatternedSet(size, set ? 3 : 1, way.contains(QStringLiteral("frames")) ? SetForm::Frames : SetForm::Pictures);
    const QString header = tempDir->filePath(QStringLiteral("made.h"));
    WriteSetHeader(header, made);
    window->OpenSetPaths({header});
    QCOMPARE(Difference(doc(), made), QString());
    window->optType_Click(type);
    const Document before = doc();

    // Out, then the picture cleared (or the work replaced), then back.
    const QString file = tempDir->filePath(way.contains(QStringLiteral(".xbm")) ? QStringLiteral("out.xbm")
                                           : way.contains(QStringLiteral(".Lcd"))
                                                   || (way.contains(QStringLiteral("drop")) && IsModuleSize(size))
                                               ? QStringLiteral("out.Lcd")
                                           : set ? QStringLiteral("out.h")
                                                 : QStringLiteral("out.pbm"));
    if (set) {
        dialog->answers = {file};
        action(CommandId::SaveSetAs)->trigger();
    } else if (way.startsWith(QStringLiteral("Copy"))) {
        window->CopyAsCArray();
        clipboard->contents.setText(clipboard->text);
    } else {
        QVERIFY(window->SaveFile(file));
        // The name's ending says the format, at 16 x 16 too.
        const QByteArray bytes = ReadAll(file);
        if (file.endsWith(QStringLiteral(".pbm")))
            QVERIFY(bytes.startsWith("P1") || bytes.startsWith("P4"));
        if (file.endsWith(QStringLiteral(".xbm")))
            QVERIFY(bytes.startsWith("#define"));
    }
    window->tbarMain_ButtonClick(QStringLiteral("new"));
    QVERIFY(!doc().SameSet(before));
    question->answers = {SaveChangesQuestion::Answer::Discard};
    if (set) {
        window->OpenSetPaths({file});
    } else if (way.startsWith(QStringLiteral("Copy"))) {
        window->Paste();
    } else if (way.contains(QStringLiteral("drop"))) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(50, 200), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window, &enter);
        QDropEvent dropped(QPointF(50, 200), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window, &dropped);
        QTRY_VERIFY(doc().SameSet(before));
    } else {
        window->OpenFile(file);
    }
    QCOMPARE(Difference(doc(), before), QString());
}

QTEST_MAIN(AnySizeWindowTest)
#include "AnySizeWindowTest.moc"
