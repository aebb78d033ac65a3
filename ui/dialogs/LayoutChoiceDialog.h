#pragma once

#include "core/code/LayoutGuess.h"

#include <QDialog>

#include <optional>
#include <vector>

class QListWidget;

// "Which Layout?": pasted or opened values that do not say whose display they
// are for, drawn as each layout reads them, the likeliest first and chosen.
// One picture's readings stand side by side with the layouts' names under
// them; a set's, one below the other, each as its first pictures. Arrow keys
// move between them, Enter or a double click takes one.
class LayoutChoiceDialog final : public QDialog {
    Q_OBJECT

public:
    LayoutChoiceDialog(std::vector<tessaldo::LayoutChoice> choices, tessaldo::LcdType type, QWidget *parent = nullptr);

    // The layout the user picks for `choices`, drawn in `type`; nullopt when they cancel.
    static std::optional<tessaldo::LayoutChoice> Ask(const std::vector<tessaldo::LayoutChoice> &choices,
                                                     tessaldo::LcdType type, QWidget *parent);

    // The reading chosen.
    const tessaldo::LayoutChoice &Chosen() const;

private:
    std::vector<tessaldo::LayoutChoice> m_choices;
    QListWidget *m_list = nullptr;
};
