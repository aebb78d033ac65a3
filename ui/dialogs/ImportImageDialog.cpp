#include "ui/dialogs/ImportImageDialog.h"

#include "ui/canvas/PicturePreview.h"
#include "ui/common/Utf8.h"

#include "core/code/CodeGenerator.h"
#include "core/model/Document.h"
#include "core/session/Texts.h"

#include "core/formats/DrawingFile.h"
#include "core/session/ProgramTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace tessaldo;

namespace {

// In the order the lists show them.
constexpr Fit kFits[] = {Fit::Contain, Fit::Cover, Fit::Stretch};
constexpr Dither kDithers[] = {Dither::None, Dither::FloydSteinberg, Dither::Atkinson, Dither::Bayer};

template <typename T, std::size_t N> int IndexOf(const T (&values)[N], T value)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (values[i] == value)
            return static_cast<int>(i);
    }
    return 0;
}

} // namespace

ImportImageDialog::ImportImageDialog(std::vector<FrameGreys> frames, QString stem, LcdType layout,
                                     const DotOptions &options, QWidget *parent)
    : QDialog(parent),
      m_frames(std::move(frames)),
      m_stem(std::move(stem)),
      m_layout(layout)
{
    setWindowTitle(FromUtf8(Text(TextId::ImportImage)));
    m_playing.setSingleShot(true);
    m_playing.setTimerType(Qt::PreciseTimer);
    connect(&m_playing, &QTimer::timeout, this, [this] { ShowFrame((m_frame->value() + 1) % int(m_frames.size())); });
    BuildControls(options);
    ShowFrame(0);
}

void ImportImageDialog::BuildControls(const DotOptions &options)
{
    m_preview = new PicturePreview(this);
    m_preview->setObjectName(QStringLiteral("preview"));

    m_fit = new QComboBox(this);
    m_fit->setObjectName(QStringLiteral("fit"));
    m_fit->addItems(
        {FromUtf8(Text(TextId::FitContain)), FromUtf8(Text(TextId::FitCover)), FromUtf8(Text(TextId::FitStretch))});
    m_fit->setCurrentIndex(IndexOf(kFits, options.fit));

    m_thresholdSlider = new QSlider(Qt::Horizontal, this);
    m_thresholdSlider->setObjectName(QStringLiteral("thresholdSlider"));
    m_threshold = new QSpinBox(this);
    m_threshold->setObjectName(QStringLiteral("threshold"));
    m_thresholdSlider->setRange(0, 255);
    m_thresholdSlider->setValue(options.threshold);
    m_threshold->setRange(0, 255);
    m_threshold->setValue(options.threshold);
    m_threshold->setToolTip(FromUtf8(Text(TextId::ThresholdTip)));

    m_dither = new QComboBox(this);
    m_dither->setObjectName(QStringLiteral("dither"));
    m_dither->addItems({FromUtf8(Text(TextId::DitherNone)), FromUtf8(Text(TextId::DitherFloydSteinberg)),
                        FromUtf8(Text(TextId::DitherAtkinson)), FromUtf8(Text(TextId::DitherBayer))});
    m_dither->setCurrentIndex(IndexOf(kDithers, options.dither));

    m_invert = new QCheckBox(FromUtf8(Text(TextId::Invert)), this);
    m_invert->setObjectName(QStringLiteral("invert"));
    m_invert->setChecked(options.invert);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *threshold = new QHBoxLayout;
    threshold->addWidget(m_thresholdSlider, 1);
    threshold->addWidget(m_threshold);
    auto *form = new QFormLayout;
    form->addRow(FromUtf8(Text(TextId::FitLabel)), m_fit);
    form->addRow(FromUtf8(Text(TextId::ThresholdLabel)), threshold);
    form->addRow(FromUtf8(Text(TextId::DitheringLabel)), m_dither);
    form->addRow(QString(), m_invert);
    auto *layout = new QVBoxLayout(this);
    auto *size =
        new QLabel(QStringLiteral("%1 x %2 pixels").arg(m_frames.front().width).arg(m_frames.front().height), this);
    layout->addWidget(m_preview, 0, Qt::AlignHCenter);
    layout->addWidget(size, 0, Qt::AlignHCenter);
    QWidget *animation = BuildAnimationControls();
    animation->setVisible(m_frames.size() > 1);
    layout->addWidget(animation);
    if (m_frames.front().dotForDot)
        layout->addWidget(DotForDotNote());
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_fit, &QComboBox::currentIndexChanged, this, &ImportImageDialog::Halftone);
    connect(m_thresholdSlider, &QSlider::valueChanged, m_threshold, &QSpinBox::setValue);
    connect(m_threshold, &QSpinBox::valueChanged, m_thresholdSlider, &QSlider::setValue);
    connect(m_threshold, &QSpinBox::valueChanged, this, &ImportImageDialog::Halftone);
    connect(m_dither, &QComboBox::currentIndexChanged, this, &ImportImageDialog::Halftone);
    connect(m_invert, &QCheckBox::toggled, this, &ImportImageDialog::Halftone);
}

// A 16 x 16 XBM or PBM is taken as it stands: the options, which could not
// change it, stay in sight but disabled, and a note says why.
QLabel *ImportImageDialog::DotForDotNote()
{
    for (QWidget *option : std::initializer_list<QWidget *>{m_fit, m_thresholdSlider, m_threshold, m_dither, m_invert})
        option->setEnabled(false);
    auto *note = new QLabel(FromUtf8(kDotForDotNote), this);
    note->setObjectName(QStringLiteral("note"));
    note->setWordWrap(true);
    return note;
}

QWidget *ImportImageDialog::BuildAnimationControls()
{
    auto *box = new QWidget(this);
    m_play = new QPushButton(FromUtf8(Text(TextId::Play)), box);
    m_play->setObjectName(QStringLiteral("play"));
    m_frame = new QSlider(Qt::Horizontal, box);
    m_frame->setObjectName(QStringLiteral("frame"));
    m_frame->setRange(0, int(m_frames.size()) - 1);
    m_frameLabel = new QLabel(box);
    m_frameLabel->setObjectName(QStringLiteral("frameLabel"));
    auto *save = new QPushButton(QStringLiteral("Save Frames…"), box);
    save->setObjectName(QStringLiteral("saveFrames"));
    m_playOnModule = new QPushButton(QStringLiteral("Play on Module…"), box);
    m_playOnModule->setObjectName(QStringLiteral("playOnModule"));
    m_result = new QLabel(box);
    m_result->setObjectName(QStringLiteral("result"));
    m_result->setWordWrap(true);
    auto *steps = new QHBoxLayout;
    steps->addWidget(m_play);
    steps->addWidget(m_frame, 1);
    auto *actions = new QHBoxLayout;
    actions->addWidget(save);
    actions->addWidget(m_playOnModule);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(steps);
    column->addWidget(m_frameLabel, 0, Qt::AlignHCenter);
    column->addLayout(actions);
    column->addWidget(m_result);
    connect(m_play, &QPushButton::clicked, this, &ImportImageDialog::TogglePlaying);
    connect(m_frame, &QSlider::valueChanged, this, &ImportImageDialog::ShowFrame);
    connect(save, &QPushButton::clicked, this, &ImportImageDialog::AskFolderAndSaveFrames);
    connect(m_playOnModule, &QPushButton::clicked, this, &ImportImageDialog::TogglePlayOnModule);
    connect(&m_onModule, &ModulePlayer::Failed, this, [this](const QString &problem) {
        m_playOnModule->setText(QStringLiteral("Play on Module…"));
        m_result->setText(FromUtf8(CannotSendTo(m_port.toStdString(), problem.toStdString())));
    });
    return box;
}

DotOptions ImportImageDialog::Options() const
{
    return {kFits[m_fit->currentIndex()], m_threshold->value(), kDithers[m_dither->currentIndex()],
            m_invert->isChecked()};
}

const DotGrid &ImportImageDialog::Picture() const
{
    return m_preview->Picture();
}

void ImportImageDialog::SetModulePort(const QString &port, int baud)
{
    m_port = port;
    m_baud = baud;
}

void ImportImageDialog::Halftone()
{
    m_preview->SetPicture(FramePicture(m_frames[static_cast<std::size_t>(m_frame->value())], m_layout, Options()));
}

void ImportImageDialog::ShowFrame(int index)
{
    if (m_frame->value() != index) {
        m_frame->setValue(index); // comes back here through valueChanged
        return;
    }
    const int delay = m_frames[static_cast<std::size_t>(index)].delayMs;
    m_frameLabel->setText(QStringLiteral("Frame %1 of %2, %3 ms").arg(index + 1).arg(m_frames.size()).arg(delay));
    Halftone();
    if (m_play->text() == FromUtf8(Text(TextId::Pause)))
        m_playing.start(GifFrameDelayMs(delay));
}

void ImportImageDialog::TogglePlaying()
{
    const bool play = m_play->text() == FromUtf8(Text(TextId::Play));
    m_play->setText(FromUtf8(Text(play ? TextId::Pause : TextId::Play)));
    if (play)
        m_playing.start(GifFrameDelayMs(m_frames[static_cast<std::size_t>(m_frame->value())].delayMs));
    else
        m_playing.stop();
}

bool ImportImageDialog::AskToRemove(const QString &folder, const std::vector<std::filesystem::path> &others)
{
    const QString question =
        QStringLiteral("\"%1\" holds frames of another import that this one would not write "
                       "(%2).\n\nRemove them, so that the folder holds this import's frames alone?")
            .arg(folder, QString::fromStdString(FrameNames(others)));
    return QMessageBox::question(this, QStringLiteral("Save Frames"), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
           == QMessageBox::Yes;
}

QString ImportImageDialog::SaveFrames(const QString &folder)
{
    const std::filesystem::path where(folder.toStdU16String());
    const std::string stem = m_stem.toStdString();
    const std::vector<std::filesystem::path> others = OtherFrames(where, stem, m_frames.size());
    if (!others.empty() && !AskToRemove(folder, others))
        return QStringLiteral("Nothing was written.");
    if (const FileStatus removed = RemoveFrames(others); !removed)
        return QString::fromStdString(removed.message());
    const DotOptions options = Options();
    for (std::size_t i = 0; i < m_frames.size(); ++i) {
        const auto file = where / FrameFileName(stem, i, m_frames.size());
        if (const FileStatus saved = SaveFile(FramePicture(m_frames[i], m_layout, options), file); !saved)
            return QString::fromStdString(saved.message());
    }
    const QString wrote = QStringLiteral("Wrote %1 frames to \"%2\"").arg(m_frames.size()).arg(folder);
    if (others.empty())
        return wrote + u'.';
    return wrote
           + QStringLiteral(" and removed %1 older frame%2.").arg(others.size()).arg(others.size() == 1 ? "" : "s");
}

void ImportImageDialog::AskFolderAndSaveFrames()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Save Frames"));
    if (!folder.isEmpty())
        m_result->setText(SaveFrames(folder));
}

void ImportImageDialog::TogglePlayOnModule()
{
    if (m_onModule.IsPlaying()) {
        m_onModule.Stop();
        m_playOnModule->setText(QStringLiteral("Play on Module…"));
        m_result->setText(QStringLiteral("Stopped."));
        return;
    }
    if (m_port.isEmpty()) {
        m_result->setText(QStringLiteral("Choose the module's port in \"Send to Module…\" first."));
        return;
    }
    const DotOptions options = Options();
    std::vector<ModulePlayer::Frame> frames;
    for (const FrameGreys &frame : m_frames) {
        const ModuleBytes bytes = PictureModuleBytes(FramePicture(frame, m_layout, options));
        frames.push_back({QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())),
                          GifFrameDelayMs(frame.delayMs)});
    }
    if (const QString problem = m_onModule.Start(m_port, m_baud, std::move(frames)); !problem.isEmpty()) {
        m_result->setText(FromUtf8(CannotSendTo(m_port.toStdString(), problem.toStdString())));
        return;
    }
    m_playOnModule->setText(QStringLiteral("Stop Playing"));
    m_result->setText(FromUtf8(FilledText(TextId::PlayingOn, {m_port.toStdString(), std::to_string(m_baud)})));
}
