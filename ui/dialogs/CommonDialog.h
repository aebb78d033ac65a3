#pragma once

#include <QString>

class QWidget;

// The open/save dialog as the main window uses it: set the properties, show
// it, then read FileName, which is empty when the user cancelled, and
// FilterIndex, the filter they chose. Tests put a scripted dialog in the place of the real one.
class CommonDialog {
public:
    virtual ~CommonDialog() = default;

    QString DialogTitle;
    // Pairs of description and patterns, each followed by '|':
    // "All Files (*.*)|*.*|LCD File (*.Lcd)|*.Lcd|"; a description's patterns are parted by ';'.
    QString Filter;
    QString FileName;
    // The further setting: which filter (counted from 1) is selected when the dialog opens, and was chosen after.
    int FilterIndex = 0;
    // The folder the dialog opens in: the one a file was last chosen in, at this start or an earlier one.
    QString initialFolder;
    // Whether a name typed without an extension takes the chosen filter's; else it is kept exactly as typed.
    bool addsExtension = true;

    // Each opens in the folder last used and keeps the chosen file's for next time.
    void ShowOpen() { Show(false); }
    void ShowSave() { Show(true); }
    // The extension a name typed without one takes under the chosen filter,
    // its first pattern's (".Lcd"); empty for all files.
    QString ChosenExtension() const;

protected:
    // Asks the user, then sets FileName and FilterIndex.
    virtual void Ask(bool save) = 0;

private:
    void Show(bool save);
};
