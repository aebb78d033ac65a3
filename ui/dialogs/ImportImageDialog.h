#pragma once

#include "image/PictureImage.h"
#include "serial/ModulePlayer.h"

#include <QDialog>
#include <QTimer>

#include <filesystem>
#include <vector>

class PicturePreview;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

// "Import Image": the image turned into dots as the options say, previewed
// in the grid's layout and following every change at once. An animation
// plays in the preview at its own delays, can be stepped through, saved
// frame by frame and played on the module.
class ImportImageDialog final : public QDialog {
    Q_OBJECT

public:
    // `stem` names the frames' files.
    ImportImageDialog(std::vector<tessaldo::FrameGreys> frames, QString stem, tessaldo::LcdType layout,
                      const tessaldo::DotOptions &options, QWidget *parent = nullptr);

    tessaldo::DotOptions Options() const;
    // What the grid becomes on OK: the frame shown, in the grid's layout.
    const tessaldo::DotGrid &Picture() const;
    // The port and rate "Play on Module…" plays through.
    void SetModulePort(const QString &port, int baud);

    // The work of "Save Frames…" without the folder dialog: every frame as a
    // drawing file; says how many it wrote, or why none. Frames of the same
    // stem that these would not replace are removed first if the user agrees,
    // and nothing is written if not.
    QString SaveFrames(const QString &folder);
    // The work of "Play on Module…": starts or stops playing the frames.
    void TogglePlayOnModule();

private:
    void BuildControls(const tessaldo::DotOptions &options);
    QWidget *BuildAnimationControls();
    QLabel *DotForDotNote();
    void Halftone();
    void ShowFrame(int index);
    void TogglePlaying();
    void AskFolderAndSaveFrames();
    bool AskToRemove(const QString &folder, const std::vector<std::filesystem::path> &others);

    std::vector<tessaldo::FrameGreys> m_frames;
    QString m_stem;
    tessaldo::LcdType m_layout;
    QString m_port;
    int m_baud = tessaldo::kDefaultBaud;
    QTimer m_playing;
    tessaldo::ModulePlayer m_onModule;

    PicturePreview *m_preview = nullptr;
    QComboBox *m_fit = nullptr;
    QSlider *m_thresholdSlider = nullptr;
    QSpinBox *m_threshold = nullptr;
    QComboBox *m_dither = nullptr;
    QCheckBox *m_invert = nullptr;
    QSlider *m_frame = nullptr;
    QLabel *m_frameLabel = nullptr;
    QPushButton *m_play = nullptr;
    QPushButton *m_playOnModule = nullptr;
    QLabel *m_result = nullptr;
};
