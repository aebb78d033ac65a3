#include "ui/dialogs/PictureSizeDialog.h"

#include "core/model/Displays.h"
#include "core/session/EditSession.h"
#include "core/session/EditorCommands.h"
#include "core/session/Texts.h"
#include "ui/common/Utf8.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

using namespace tessaldo;

namespace {

// The nine anchors as they stand on the grid of buttons, row by row.
constexpr std::array kAnchors{Anchor::TopLeft, Anchor::Top,        Anchor::TopRight, Anchor::Left,       Anchor::Centre,
                              Anchor::Right,   Anchor::BottomLeft, Anchor::Bottom,   Anchor::BottomRight};
// Each points where the picture goes; the centre stays where it is.
constexpr std::array<char16_t, kAnchors.size()> kAnchorArrows{u'\u2196', u'\u2191', u'\u2197', u'\u2190', u'\u00B7',
                                                              u'\u2192', u'\u2199', u'\u2193', u'\u2198'};
constexpr int kAnchorColumns = 3;
constexpr int kAnchorButtonSide = 24;
// A side typed past the largest stays as typed, for the core's sentence to refuse rather than a silent clamp.
constexpr int kLongestTypedSide = 99999;

QSpinBox *SideBox(const QString &name, int value, int least, int most, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(least, most);
    box->setValue(value);
    return box;
}

QString Caption(std::string_view withEllipsis)
{
    QString caption = FromUtf8(withEllipsis);
    if (caption.endsWith(QChar(0x2026)))
        caption.chop(1);
    return caption;
}

} // namespace

PictureSizeDialog::PictureSizeDialog(Mode mode, PictureSize current, QWidget *parent) : QDialog(parent)
{
    const CommandId command = mode == Mode::NewPicture ? CommandId::NewPicture : CommandId::PictureSize;
    setWindowTitle(Caption(CommandWithId(command).caption));

    m_preset = new QComboBox(this);
    m_preset->setObjectName(QStringLiteral("preset"));
    m_preset->addItem(FromUtf8(Text(TextId::AnySize)));
    for (const Display &display : Displays())
        m_preset->addItem(FromUtf8(display.name));
    m_width = SideBox(QStringLiteral("width"), current.width, 0, kLongestTypedSide, this);
    m_height = SideBox(QStringLiteral("height"), current.height, 0, kLongestTypedSide, this);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("sizeProblem"));
    m_problem->setWordWrap(true);

    auto *form = new QFormLayout;
    form->addRow(FromUtf8(Text(TextId::SizePresetLabel)), m_preset);
    form->addRow(FromUtf8(Text(TextId::WidthLabel)), m_width);
    form->addRow(FromUtf8(Text(TextId::HeightLabel)), m_height);
    auto *box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addWidget(m_problem);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    if (mode == Mode::Resize)
        BuildResizeChoices(box);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    box->addWidget(m_buttons);
    box->setSizeConstraint(QLayout::SetFixedSize);

    MatchPreset();
    ShowProblem();
    connect(m_preset, &QComboBox::activated, this, &PictureSizeDialog::ShowPreset);
    for (QSpinBox *side : {m_width, m_height}) {
        connect(side, &QSpinBox::valueChanged, this, &PictureSizeDialog::MatchPreset);
        connect(side, &QSpinBox::valueChanged, this, &PictureSizeDialog::ShowProblem);
    }
    m_preset->setFocus();
}

void PictureSizeDialog::BuildResizeChoices(QBoxLayout *into)
{
    m_crop = new QRadioButton(FromUtf8(Text(TextId::CropOrExtend)), this);
    m_crop->setObjectName(QStringLiteral("crop"));
    m_crop->setChecked(true);
    m_enlarge = new QRadioButton(FromUtf8(Text(TextId::ScaleUp)), this);
    m_enlarge->setObjectName(QStringLiteral("enlarge"));
    m_reduce = new QRadioButton(FromUtf8(Text(TextId::ScaleDown)), this);
    m_reduce->setObjectName(QStringLiteral("reduce"));
    m_enlargeBy = SideBox(QStringLiteral("enlargeBy"), 2, 2, kLargestSide, this);
    m_reduceBy = SideBox(QStringLiteral("reduceBy"), 2, 2, kLargestSide, this);

    m_anchor = new QButtonGroup(this);
    auto *anchors = new QGridLayout;
    anchors->setSpacing(2);
    for (std::size_t index = 0; index < kAnchors.size(); ++index) {
        auto *button = new QToolButton(this);
        const QString name = FromUtf8(AnchorName(kAnchors[index]));
        button->setObjectName(name);
        button->setToolTip(name);
        button->setAccessibleName(name);
        button->setText(QChar(kAnchorArrows[index]));
        button->setCheckable(true);
        button->setFixedSize(kAnchorButtonSide, kAnchorButtonSide);
        button->setChecked(index == 0);
        const int at = static_cast<int>(index);
        m_anchor->addButton(button, at);
        anchors->addWidget(button, at / kAnchorColumns, at % kAnchorColumns);
    }
    auto *grid = new QGridLayout;
    grid->addWidget(m_crop, 0, 0);
    grid->addLayout(anchors, 0, 1);
    grid->addWidget(m_enlarge, 1, 0);
    grid->addWidget(m_enlargeBy, 1, 1);
    grid->addWidget(m_reduce, 2, 0);
    grid->addWidget(m_reduceBy, 2, 1);
    into->addLayout(grid);
    for (QRadioButton *kind : {m_crop, m_enlarge, m_reduce})
        connect(kind, &QRadioButton::toggled, this, &PictureSizeDialog::ShowKind);
    ShowKind();
}

void PictureSizeDialog::ShowPreset(int index)
{
    if (index < 1)
        return;
    const PictureSize size = Displays()[static_cast<std::size_t>(index - 1)].size;
    m_width->setValue(size.width);
    m_height->setValue(size.height);
    m_preset->setCurrentIndex(index); // two presets may share a size: keep the one chosen
}

void PictureSizeDialog::MatchPreset()
{
    const std::span<const Display> displays = Displays();
    const int shown = m_preset->currentIndex();
    const PictureSize size{m_width->value(), m_height->value()};
    if (shown >= 1 && displays[static_cast<std::size_t>(shown - 1)].size == size)
        return;
    const std::optional<std::size_t> preset = DisplayOfSize(size);
    m_preset->setCurrentIndex(preset ? static_cast<int>(*preset) + 1 : 0);
}

void PictureSizeDialog::ShowKind()
{
    const bool crop = m_crop->isChecked();
    m_preset->setEnabled(crop);
    m_width->setEnabled(crop);
    m_height->setEnabled(crop);
    for (QAbstractButton *button : m_anchor->buttons())
        button->setEnabled(crop);
    m_enlargeBy->setEnabled(m_enlarge->isChecked());
    m_reduceBy->setEnabled(m_reduce->isChecked());
    ShowProblem();
}

void PictureSizeDialog::ShowProblem()
{
    const bool typed = m_crop == nullptr || m_crop->isChecked();
    const Result<PictureSize> size =
        TypedPictureSize(m_width->cleanText().toStdString(), m_height->cleanText().toStdString());
    const QString problem = typed && !size ? FromUtf8(size.message()) : QString();
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}

SizeChange PictureSizeDialog::Chosen() const
{
    SizeChange change;
    change.size = {m_width->value(), m_height->value()};
    if (m_crop == nullptr)
        return change;
    change.anchor = kAnchors[static_cast<std::size_t>(m_anchor->checkedId())];
    if (m_enlarge->isChecked()) {
        change.kind = SizeChange::Kind::Enlarge;
        change.factor = m_enlargeBy->value();
    } else if (m_reduce->isChecked()) {
        change.kind = SizeChange::Kind::Reduce;
        change.factor = m_reduceBy->value();
    }
    return change;
}
