#pragma once

#include "core/model/Document.h"

#include <QAbstractListModel>

// The set's pictures as rows for the strip, read straight from the
// session's document, so that a set of a thousand pictures is never copied.
class PictureListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    explicit PictureListModel(const tessaldo::Document &document, QObject *parent = nullptr);

    const tessaldo::Document &Doc() const { return m_document; }
    // Brings the rows to the document after a change: laid out again when
    // their number changed, else only drawn again.
    void Refresh();

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDropActions() const override;

private:
    const tessaldo::Document &m_document;
    int m_rows = 0;
};
