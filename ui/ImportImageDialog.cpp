#include "ImportImageDialog.h"

#include "PicturePreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
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

ImportImageDialog::ImportImageDialog(GreyImage image, LcdType layout, const DotOptions &options, QWidget *parent)
    : QDialog(parent),
      m_image(std::move(image)),
      m_layout(layout)
{
    setWindowTitle(QStringLiteral("Import Image"));
    BuildControls(options);
    Resample();
}

void ImportImageDialog::BuildControls(const DotOptions &options)
{
    m_preview = new PicturePreview(this);
    m_preview->setObjectName(QStringLiteral("preview"));

    m_fit = new QComboBox(this);
    m_fit->setObjectName(QStringLiteral("fit"));
    m_fit->addItems({QStringLiteral("Contain: all of the image, white margins"),
                     QStringLiteral("Cover: fill every cell, cut the rest"),
                     QStringLiteral("Stretch: fill every cell, change the aspect")});
    m_fit->setCurrentIndex(IndexOf(kFits, options.fit));

    m_thresholdSlider = new QSlider(Qt::Horizontal, this);
    m_thresholdSlider->setObjectName(QStringLiteral("thresholdSlider"));
    m_threshold = new QSpinBox(this);
    m_threshold->setObjectName(QStringLiteral("threshold"));
    m_thresholdSlider->setRange(0, 255);
    m_thresholdSlider->setValue(options.threshold);
    m_threshold->setRange(0, 255);
    m_threshold->setValue(options.threshold);
    m_threshold->setToolTip(QStringLiteral("A cell darker than this is set (0 to 255)"));

    m_dither = new QComboBox(this);
    m_dither->setObjectName(QStringLiteral("dither"));
    m_dither->addItems({QStringLiteral("None"), QStringLiteral("Floyd-Steinberg"), QStringLiteral("Atkinson"),
                        QStringLiteral("Bayer 4 x 4")});
    m_dither->setCurrentIndex(IndexOf(kDithers, options.dither));

    m_invert = new QCheckBox(QStringLiteral("Invert"), this);
    m_invert->setObjectName(QStringLiteral("invert"));
    m_invert->setChecked(options.invert);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *threshold = new QHBoxLayout;
    threshold->addWidget(m_thresholdSlider, 1);
    threshold->addWidget(m_threshold);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Fit:"), m_fit);
    form->addRow(QStringLiteral("Threshold:"), threshold);
    form->addRow(QStringLiteral("Dithering:"), m_dither);
    form->addRow(QString(), m_invert);
    auto *layout = new QVBoxLayout(this);
    auto *size = new QLabel(QStringLiteral("%1 x %2 pixels").arg(m_image.width).arg(m_image.height), this);
    layout->addWidget(m_preview, 0, Qt::AlignHCenter);
    layout->addWidget(size, 0, Qt::AlignHCenter);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_fit, &QComboBox::currentIndexChanged, this, &ImportImageDialog::Resample);
    connect(m_thresholdSlider, &QSlider::valueChanged, m_threshold, &QSpinBox::setValue);
    connect(m_threshold, &QSpinBox::valueChanged, m_thresholdSlider, &QSlider::setValue);
    connect(m_threshold, &QSpinBox::valueChanged, this, &ImportImageDialog::Halftone);
    connect(m_dither, &QComboBox::currentIndexChanged, this, &ImportImageDialog::Halftone);
    connect(m_invert, &QCheckBox::toggled, this, &ImportImageDialog::Halftone);
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

void ImportImageDialog::Resample()
{
    m_greys = ResampleToCells(m_image, Options().fit);
    Halftone();
}

void ImportImageDialog::Halftone()
{
    const DotOptions options = Options();
    DotGrid picture;
    picture.SetLCDType(m_layout);
    PutCells(picture, tessaldo::Halftone(m_greys, options.threshold, options.dither, options.invert));
    m_preview->SetPicture(picture);
}
