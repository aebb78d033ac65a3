#pragma once

#include "core/model/DotGrid.h"

#include <QDialog>

#include <optional>

class PicturePreview;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// "Insert Text": one line of text from a font, previewed on the 16 x 16
// cells in the grid's layout as it is typed, replacing the picture or laid
// onto it, moved by whole dots with the arrow keys on the preview.
class InsertTextDialog final : public QDialog {
    Q_OBJECT

public:
    // `at`: the cell the user pointed at, where the text starts, laid onto
    // the picture; without one the text is centred, as on a 16 x 16 picture.
    explicit InsertTextDialog(const tessaldo::DotGrid &picture, std::optional<tessaldo::Cell> at = std::nullopt,
                              QWidget *parent = nullptr);

    // What the grid becomes on OK.
    const tessaldo::DotGrid &Picture() const;

private:
    void Redraw();
    void Nudge(int dx, int dy);

    tessaldo::DotGrid m_under; // the picture the text goes onto
    QLineEdit *m_text = nullptr;
    QComboBox *m_font = nullptr;
    QSpinBox *m_size = nullptr;
    QComboBox *m_align = nullptr;
    QCheckBox *m_invert = nullptr;
    QComboBox *m_placement = nullptr;
    QSpinBox *m_offsetX = nullptr;
    QSpinBox *m_offsetY = nullptr;
    QLabel *m_width = nullptr;
    PicturePreview *m_preview = nullptr;
    QLabel *m_problem = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
