#include "ui/dialogs/InsertTextDialog.h"
#include "ui/common/Utf8.h"

#include "core/convert/PixelsToDots.h"
#include "core/session/Texts.h"
#include "image/TextImage.h"
#include "ui/canvas/PicturePreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace tessaldo;

namespace {

// Far enough to move the text off any side of a picture `side` dots long.
QSpinBox *OffsetBox(const QString &name, const QString &prefix, int side, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(-side, side);
    box->setPrefix(prefix);
    return box;
}

} // namespace

InsertTextDialog::InsertTextDialog(const DotGrid &picture, std::optional<Cell> at, QWidget *parent)
    : QDialog(parent),
      m_under(picture)
{
    setWindowTitle(FromUtf8(Text(TextId::InsertText)));

    m_preview = new PicturePreview(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->SetNudgeable(true);
    m_preview->setToolTip(FromUtf8(Text(TextId::TextMoveTip)));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setPlaceholderText(FromUtf8(Text(TextId::TextExample)));
    m_font = new QComboBox(this);
    m_font->setObjectName(QStringLiteral("font"));
    m_font->addItems(TextFamilies());
    m_size = new QSpinBox(this);
    m_size->setObjectName(QStringLiteral("size"));
    m_size->setRange(4, 64);
    m_size->setValue(kDefaultTextPixels);
    m_size->setSuffix(QStringLiteral(" px"));
    m_align = new QComboBox(this);
    m_align->setObjectName(QStringLiteral("align"));
    m_align->addItems({QStringLiteral("Centre"), QStringLiteral("Left")});
    m_invert = new QCheckBox(FromUtf8(Text(TextId::Invert)), this);
    m_invert->setObjectName(QStringLiteral("invert"));
    m_placement = new QComboBox(this);
    m_placement->setObjectName(QStringLiteral("placement"));
    m_placement->addItems({FromUtf8(Text(TextId::ReplacePicture)), FromUtf8(Text(TextId::OntoPicture))});
    m_offsetX = OffsetBox(QStringLiteral("offsetX"), QStringLiteral("right "), picture.Size().width, this);
    m_offsetY = OffsetBox(QStringLiteral("offsetY"), QStringLiteral("down "), picture.Size().height, this);
    if (at) {
        m_align->setCurrentIndex(1);
        m_placement->setCurrentIndex(1);
        m_offsetX->setValue(at->column);
        m_offsetY->setValue(at->row);
    }
    auto *offset = new QHBoxLayout;
    offset->addWidget(m_offsetX);
    offset->addWidget(m_offsetY);
    m_width = new QLabel(this);
    m_width->setObjectName(QStringLiteral("width"));
    m_width->setWordWrap(true);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setWordWrap(true);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(FromUtf8(Text(TextId::TextLabel)), m_text);
    form->addRow(FromUtf8(Text(TextId::FontLabel)), m_font);
    form->addRow(QStringLiteral("Size:"), m_size);
    form->addRow(FromUtf8(Text(TextId::AlignmentLabel)), m_align);
    form->addRow(QString(), m_invert);
    form->addRow(FromUtf8(Text(TextId::PlacementLabel)), m_placement);
    form->addRow(FromUtf8(Text(TextId::OffsetLabel)), offset);
    auto *box = new QVBoxLayout(this);
    box->addWidget(m_preview, 0, Qt::AlignHCenter);
    box->addLayout(form);
    box->addWidget(m_width);
    box->addWidget(m_problem);
    box->addWidget(m_buttons);
    box->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_text, &QLineEdit::textChanged, this, &InsertTextDialog::Redraw);
    connect(m_font, &QComboBox::currentIndexChanged, this, &InsertTextDialog::Redraw);
    connect(m_size, &QSpinBox::valueChanged, this, &InsertTextDialog::Redraw);
    connect(m_align, &QComboBox::currentIndexChanged, this, &InsertTextDialog::Redraw);
    connect(m_invert, &QCheckBox::toggled, this, &InsertTextDialog::Redraw);
    connect(m_placement, &QComboBox::currentIndexChanged, this, &InsertTextDialog::Redraw);
    connect(m_offsetX, &QSpinBox::valueChanged, this, &InsertTextDialog::Redraw);
    connect(m_offsetY, &QSpinBox::valueChanged, this, &InsertTextDialog::Redraw);
    connect(m_preview, &PicturePreview::Nudged, this, &InsertTextDialog::Nudge);
    Redraw();
    m_text->setFocus(); // what the user types first is the text
}

const DotGrid &InsertTextDialog::Picture() const
{
    return m_preview->Picture();
}

void InsertTextDialog::Redraw()
{
    TextOptions options;
    options.family = m_font->currentText();
    options.pixelSize = m_size->value();
    options.alignLeft = m_align->currentIndex() == 1;
    options.invert = m_invert->isChecked();
    options.offsetX = m_offsetX->value();
    options.offsetY = m_offsetY->value();
    options.onto = m_placement->currentIndex() == 1;
    DotGrid picture = m_under;
    TextExtent extent;
    std::string problem;
    const bool drawn = PutText(picture, m_text->text(), options, extent, problem);
    m_problem->setText(drawn ? QString() : FromUtf8(FilledText(TextId::CannotDraw, {problem})));
    m_problem->setVisible(!drawn);
    // No text would replace the picture with nothing.
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(drawn && !m_text->text().isEmpty());
    if (!drawn)
        return; // the preview keeps the last text that could be drawn
    m_width->setText(m_text->text().isEmpty() ? QString()
                                              : QString::fromStdString(TextWidthNote(extent.width, extent.cut)));
    m_preview->SetPicture(picture);
}

void InsertTextDialog::Nudge(int dx, int dy)
{
    m_offsetX->setValue(m_offsetX->value() + dx);
    m_offsetY->setValue(m_offsetY->value() + dy);
}
