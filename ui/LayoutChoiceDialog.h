#pragma once

#include "LayoutGuess.h"

#include <QDialog>

#include <vector>

class QListWidget;

// "Which Layout?": 32 pasted values that do not say whose display they are
// for, drawn as each layout reads them, side by side with the layouts' names
// under them, the likeliest first and chosen. Arrow keys move between them,
// Enter or a double click takes one.
class LayoutChoiceDialog final : public QDialog {
    Q_OBJECT

public:
    LayoutChoiceDialog(std::vector<tessaldo::LayoutCandidate> candidates, tessaldo::LcdType type,
                       QWidget *parent = nullptr);

    // The dots of the picture chosen.
    const tessaldo::DotGrid::Dots &Chosen() const;

private:
    std::vector<tessaldo::LayoutCandidate> m_candidates;
    QListWidget *m_list = nullptr;
};
