#pragma once

#include "ui/dialogs/CommonDialog.h"

#include <QStringList>

class QFileDialog;

// The toolkit's file dialog behind the CommonDialog properties.
class FileDialog final : public CommonDialog {
public:
    explicit FileDialog(QWidget *owner);

    // The filter list in the toolkit's form: "LCD File (*.Lcd)". A "*.*"
    // pattern becomes "*" so that files without an extension still show.
    static QStringList NameFilters(const QString &filter);

private:
    // Room for a long name with its size, type and date in Qt's own dialog.
    static constexpr int kWidth = 860;
    static constexpr int kHeight = 520;

    void Ask(bool save) override;
    void FitNamesSizesAndDates(QFileDialog &dialog);

    QWidget *m_owner;
};
