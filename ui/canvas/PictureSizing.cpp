#include "ui/canvas/PictureSizing.h"

#include "ui/common/Utf8.h"
#include "ui/window/CommandMenu.h"
#include "ui/window/WindowNotices.h"

#include <QAction>

using namespace tessaldo;

PictureSizing::PictureSizing(EditSession &session, std::function<bool()> nothingUnsavedIsLost, QWidget *window)
    : m_session(session),
      m_nothingUnsavedIsLost(std::move(nothingUnsavedIsLost)),
      m_window(window)
{
}

void PictureSizing::Answer(const CommandMenu &menu)
{
    connect(menu.Action(CommandId::NewPicture), &QAction::triggered, this, &PictureSizing::AskNewPicture);
    connect(menu.Action(CommandId::PictureSize), &QAction::triggered, this, &PictureSizing::AskPictureSize);
}

void PictureSizing::AskNewPicture()
{
    m_session.EndStroke();
    PictureSizeDialog dialog(PictureSizeDialog::Mode::NewPicture, m_session.Doc().Size(), m_window);
    if (dialog.exec() == QDialog::Accepted)
        NewPicture(dialog.Chosen().size);
}

void PictureSizing::AskPictureSize()
{
    m_session.EndStroke();
    PictureSizeDialog dialog(PictureSizeDialog::Mode::Resize, m_session.Doc().Size(), m_window);
    if (dialog.exec() == QDialog::Accepted)
        ChangeSize(dialog.Chosen());
}

bool PictureSizing::NewPicture(PictureSize size)
{
    if (!m_nothingUnsavedIsLost())
        return false;
    m_session.NewPicture(size);
    emit PictureStarted();
    return true;
}

bool PictureSizing::ChangeSize(const SizeChange &change)
{
    std::string problem;
    switch (change.kind) {
    case SizeChange::Kind::Crop:
        problem = m_session.Resize(change.size, change.anchor);
        break;
    case SizeChange::Kind::Enlarge:
        problem = m_session.Enlarge(change.factor);
        break;
    case SizeChange::Kind::Reduce:
        problem = m_session.Reduce(change.factor);
        break;
    }
    if (!problem.empty())
        Warn(m_window, FromUtf8(problem));
    return problem.empty();
}
