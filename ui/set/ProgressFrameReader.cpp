#include "ui/set/ProgressFrameReader.h"
#include "ui/common/Utf8.h"

#include "core/session/Texts.h"
#include "core/session/WindowLayout.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

using namespace tessaldo;

namespace {

// A reading's progress, once shown (after kProgressAfterMs), is looked at this often.
constexpr int kProgressPollMs = 50;

} // namespace

bool ProgressFrameReader::IsImage(const QString &path)
{
    return !QImageReader::imageFormat(path).isEmpty();
}

// Until the progress shows, the user's input waits, as it would for a quick import.
bool ProgressFrameReader::Read(const QString &path, std::vector<FrameGreys> &frames, std::string &problem,
                               PictureSize size) const
{
    std::atomic<int> done{0};
    std::atomic<int> count{0};
    std::atomic<bool> cancelled{false};
    bool read = false;
    const std::unique_ptr<QThread> worker(QThread::create([&] {
        read = ReadFrameGreys(
            path, frames, problem,
            [&](int framesRead, int frameCount) {
                done = framesRead;
                count = frameCount;
                return !cancelled;
            },
            size);
    }));
    QProgressDialog progress(FromUtf8(FilledText(TextId::Importing, {QFileInfo(path).fileName().toStdString()})),
                             QStringLiteral("Cancel"), 0, 0, m_window);
    progress.setWindowTitle(FromUtf8(Text(TextId::ImportImage)));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressAfterMs);
    // Cancel, or Escape, which rejects the dialog and alone would only hide it.
    const auto cancel = [&] {
        cancelled = true;
        progress.cancel();
    };
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, cancel);
    QObject::connect(&progress, &QProgressDialog::rejected, &progress, cancel);
    QTimer poll;
    poll.setInterval(kProgressPollMs);
    QObject::connect(&poll, &QTimer::timeout, &progress, [&] {
        progress.setMaximum(count > 1 ? count.load() : 0); // one frame: busy, not 0 %
        if (done != progress.value())
            progress.setValue(done); // only when it moves: setting 0 again restarts the wait before showing
    });
    QObject::connect(worker.get(), &QThread::finished, &progress, [] {}); // wakes the loop below
    progress.setValue(0);
    worker->start();
    poll.start();
    while (!worker->isFinished()) {
        const QEventLoop::ProcessEventsFlags input =
            progress.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
        QCoreApplication::processEvents(input | QEventLoop::WaitForMoreEvents);
    }
    worker->wait();
    if (cancelled)
        problem.clear(); // cancelled during the last frame, which the reading does not look back on
    return read && !cancelled;
}
