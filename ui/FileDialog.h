#pragma once

#include "CommonDialog.h"

#include <QStringList>

// The toolkit's file dialog behind the CommonDialog properties.
class FileDialog final : public CommonDialog {
public:
    explicit FileDialog(QWidget *owner);

    void ShowOpen() override;
    void ShowSave() override;

    // The filter list in the toolkit's form: "LCD File (*.Lcd)". A "*.*"
    // pattern becomes "*" so that files without an extension still show.
    static QStringList NameFilters(const QString &filter);

private:
    void Show(bool save);

    QWidget *m_owner;
};
