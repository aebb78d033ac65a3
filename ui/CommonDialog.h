#pragma once

#include <QString>

class QWidget;

// The open/save dialog as the main window uses it: set the properties, show
// it, then read FileName, which is empty when the user cancelled. Tests put a
// scripted dialog in the place of the real one.
class CommonDialog {
public:
    virtual ~CommonDialog() = default;

    QString DialogTitle;
    // Pairs of description and pattern, each followed by '|':
    // "All Files (*.*)|*.*|LCD File (*.Lcd)|*.Lcd|".
    QString Filter;
    QString FileName;
    // The further setting: which filter (counted from 1) is selected when the dialog opens.
    int FilterIndex = 0;

    virtual void ShowOpen() = 0;
    virtual void ShowSave() = 0;
};
