#pragma once

#include <QListView>

#include <cstddef>

namespace tessaldo {
struct Document;
}
class PictureListModel;

// The set's pictures beside the grid, the edited one current. A click or the
// arrow keys choose a picture and a drag moves one; the window turns both
// into calls on the session and refreshes the strip after each change.
class PictureStrip final : public QListView {
    Q_OBJECT

public:
    explicit PictureStrip(const tessaldo::Document &document, QWidget *parent = nullptr);

    // Shows the document after a change, with the edited picture current and in sight.
    void Refresh();

signals:
    void PictureChosen(std::size_t index);
    void PictureMoved(std::size_t from, std::size_t to);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The place the dragged picture takes, as an index into the set without it.
    int DropTarget(QPoint position, int from) const;

    PictureListModel *m_model = nullptr;
    bool m_refreshing = false;
};
