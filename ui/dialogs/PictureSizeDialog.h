#pragma once

#include "core/model/PictureSize.h"
#include "core/model/Resize.h"

#include <QDialog>

class QBoxLayout;
class QButtonGroup;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QRadioButton;
class QSpinBox;

// What the user asks of the picture's size: another size, the picture kept
// at an anchor while it is cropped or extended, or a whole factor up or down.
struct SizeChange {
    enum class Kind { Crop, Enlarge, Reduce };
    Kind kind = Kind::Crop;
    tessaldo::PictureSize size;
    tessaldo::Anchor anchor = tessaldo::Anchor::TopLeft;
    int factor = 2;
};

// "New Picture…" and "Picture Size…": a size from the displays' presets or
// typed, 1 to 1024 dots each way, any other typed side refused in
// the core's words; resizing also asks how.
class PictureSizeDialog final : public QDialog {
    Q_OBJECT

public:
    enum class Mode { NewPicture, Resize };
    PictureSizeDialog(Mode mode, tessaldo::PictureSize current, QWidget *parent = nullptr);

    SizeChange Chosen() const;

private:
    void BuildResizeChoices(QBoxLayout *into);
    // The preset chosen fills in its size; a size typed shows the preset it fits, if any.
    void ShowPreset(int index);
    void MatchPreset();
    // The size is typed only while cropping or extending.
    void ShowKind();
    // A typed side that is no whole number from 1 to 1024 is refused in the core's words, OK disabled.
    void ShowProblem();

    QComboBox *m_preset = nullptr;
    QSpinBox *m_width = nullptr;
    QSpinBox *m_height = nullptr;
    QLabel *m_problem = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QRadioButton *m_crop = nullptr;
    QRadioButton *m_enlarge = nullptr;
    QRadioButton *m_reduce = nullptr;
    QButtonGroup *m_anchor = nullptr;
    QSpinBox *m_enlargeBy = nullptr;
    QSpinBox *m_reduceBy = nullptr;
};
