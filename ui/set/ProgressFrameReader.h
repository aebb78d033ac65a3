#pragma once

#include "image/PictureImage.h"

#include <string>
#include <vector>

class QString;
class QWidget;

// Reads an image's frames on a worker thread, so that the window stays
// painted: a reading that lasts shows its progress over the window, and
// Cancel stops it with nothing changed.
class ProgressFrameReader {
public:
    explicit ProgressFrameReader(QWidget *window) : m_window(window) {}

    // An image the installed plugins read, by its content.
    static bool IsImage(const QString &path);
    // False when the frames were not read: with the problem, or cancelled (no problem). Each frame is for a picture of
    // `size`.
    bool Read(const QString &path, std::vector<tessaldo::FrameGreys> &frames, std::string &problem,
              tessaldo::PictureSize size = tessaldo::kModuleSize) const;

private:
    QWidget *m_window;
};
