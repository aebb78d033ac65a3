#pragma once

#include "PixelsToDots.h"

#include <QDialog>

class PicturePreview;
class QCheckBox;
class QComboBox;
class QSlider;
class QSpinBox;

// "Import Image": the image turned into dots as the options say, previewed
// in the grid's layout and following every change at once.
class ImportImageDialog final : public QDialog {
    Q_OBJECT

public:
    ImportImageDialog(tessaldo::GreyImage image, tessaldo::LcdType layout, const tessaldo::DotOptions &options,
                      QWidget *parent = nullptr);

    tessaldo::DotOptions Options() const;
    // What the grid becomes on OK: the previewed picture, in the grid's layout.
    const tessaldo::DotGrid &Picture() const;

private:
    void BuildControls(const tessaldo::DotOptions &options);
    void Resample();
    void Halftone();

    tessaldo::GreyImage m_image;
    // The cells' greys for the current fit: a new threshold or dither reuses them.
    tessaldo::CellGreys m_greys{};
    tessaldo::LcdType m_layout;

    PicturePreview *m_preview = nullptr;
    QComboBox *m_fit = nullptr;
    QSlider *m_thresholdSlider = nullptr;
    QSpinBox *m_threshold = nullptr;
    QComboBox *m_dither = nullptr;
    QCheckBox *m_invert = nullptr;
};
