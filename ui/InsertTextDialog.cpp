#include "InsertTextDialog.h"

#include "PicturePreview.h"
#include "PixelsToDots.h"
#include "TextImage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace tessaldo;

InsertTextDialog::InsertTextDialog(LcdType layout, QWidget *parent) : QDialog(parent), m_layout(layout)
{
    setWindowTitle(QStringLiteral("Insert Text"));

    m_preview = new PicturePreview(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setPlaceholderText(QStringLiteral("가, 한, 温, A1 ..."));
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
    m_invert = new QCheckBox(QStringLiteral("Invert"), this);
    m_invert->setObjectName(QStringLiteral("invert"));
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setWordWrap(true);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Text:"), m_text);
    form->addRow(QStringLiteral("Font:"), m_font);
    form->addRow(QStringLiteral("Size:"), m_size);
    form->addRow(QStringLiteral("Alignment:"), m_align);
    form->addRow(QString(), m_invert);
    auto *box = new QVBoxLayout(this);
    box->addWidget(m_preview, 0, Qt::AlignHCenter);
    box->addLayout(form);
    box->addWidget(m_problem);
    box->addWidget(m_buttons);
    box->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_text, &QLineEdit::textChanged, this, &InsertTextDialog::Redraw);
    connect(m_font, &QComboBox::currentIndexChanged, this, &InsertTextDialog::Redraw);
    connect(m_size, &QSpinBox::valueChanged, this, &InsertTextDialog::Redraw);
    connect(m_align, &QComboBox::currentIndexChanged, this, &InsertTextDialog::Redraw);
    connect(m_invert, &QCheckBox::toggled, this, &InsertTextDialog::Redraw);
    Redraw();
}

const DotGrid &InsertTextDialog::Picture() const
{
    return m_preview->Picture();
}

void InsertTextDialog::Redraw()
{
    const TextOptions options{m_font->currentText(), m_size->value(), m_align->currentIndex() == 1};
    GreyImage cells;
    std::string problem;
    const bool drawn = RenderText(m_text->text(), options, cells, problem);
    m_problem->setText(drawn ? QString()
                             : QStringLiteral("Cannot draw this: %1.").arg(QString::fromStdString(problem)));
    m_problem->setVisible(!drawn);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(drawn);
    if (!drawn)
        return; // the preview keeps the last text that could be drawn
    DotGrid picture;
    picture.SetLCDType(m_layout);
    PutCells(picture, CellsFromPixels(cells, {Fit::Contain, 128, Dither::None, m_invert->isChecked()}));
    m_preview->SetPicture(picture);
}
