#include "ui/canvas/CanvasTools.h"

#include "core/session/Canvas.h"
#include "ui/canvas/DotGridView.h"
#include "ui/files/Clipboard.h"
#include "ui/window/WindowCorners.h"

#include <QEvent>
#include <QScreen>

#include <QLabel>
#include <algorithm>

using namespace tessaldo;

CanvasTools::CanvasTools(EditSession &session, Clipboard &clipboard, DotGridView *view)
    : QObject(view),
      m_session(session),
      m_clipboard(clipboard),
      m_view(view),
      m_pointer(new QLabel(view->parentWidget()))
{
    m_pointer->setObjectName(QStringLiteral("lbPointer"));
    // In the frame's margin under the grid, where it covers nothing.
    const QRect grid = view->geometry();
    m_pointer->setGeometry(grid.left(), grid.bottom() + 1, grid.width(),
                           view->parentWidget()->height() - grid.bottom() - 3);
    connect(view, &DotGridView::ShapeDragged, this,
            [this](Cell from, Cell to, bool constrained) { m_session.DragShape(from, to, constrained); });
    connect(view, &DotGridView::FillClicked, this, [this](Cell at) { m_session.Fill(at); });
    connect(view, &DotGridView::CellsSelected, this, [this](Cell from, Cell to) { m_session.SelectCells(from, to); });
    connect(view, &DotGridView::SelectionDragged, this,
            [this](int columns, int rows) { m_session.DragSelection(columns, rows); });
    connect(view, &DotGridView::ToolCancelled, this, [this] {
        if (m_session.CurrentTool() == Tool::Select)
            m_session.SelectNone();
        else
            m_session.CancelShape();
    });
    connect(view, &DotGridView::PointerMoved, m_pointer, &QLabel::setText);
    view->installEventFilter(this);
}

void CanvasTools::Anchor(WindowCorners &corners) const
{
    corners.Add(m_view->parentWidget(), WindowCorners::Wider | WindowCorners::Taller);
    corners.Add(m_view, WindowCorners::Wider | WindowCorners::Taller);
    corners.Add(m_pointer, WindowCorners::Down | WindowCorners::Wider);
}

void CanvasTools::MakeRoom()
{
    // A window the user has not sized yet grows to show a larger picture with
    // its grid lines, as far as the screen has room, and comes back to the
    // module's as designed, in the middle of the screen again.
    QWidget *window = m_view->window();
    const PictureSize size = m_view->Grid().Size();
    const bool leftAsMade = window->size() == window->minimumSize() || window->size() == m_roomMade;
    if (window->isMaximized() || !leftAsMade)
        return;
    if (IsModuleSize(size)) {
        if (window->size() == m_roomMade) {
            window->resize(window->minimumSize());
            CentreOnScreen(window);
        }
        return;
    }
    const QSize wanted =
        QSize(CanvasPixels(size.width, kGridLinesFrom), CanvasPixels(size.height, kGridLinesFrom)) - m_view->size();
    const QSize room = window->screen()->availableGeometry().size() * 9 / 10;
    window->resize(
        std::clamp(window->width() + wanted.width(), window->width(), std::max(room.width(), window->width())),
        std::clamp(window->height() + wanted.height(), window->height(), std::max(room.height(), window->height())));
    m_roomMade = window->size();
    CentreOnScreen(window);
}

void CanvasTools::Show()
{
    if (m_view->Grid().Size() != m_shownSize) {
        m_shownSize = m_view->Grid().Size();
        MakeRoom();
    }
    m_view->SetTool(m_session.CurrentTool());
    m_view->SetSelection(m_session.Selection());
    ShowPointerPlace();
}

void CanvasTools::ShowPointerPlace()
{
    // The module's window stays as designed; a grown window or any other size has room for the pointer's cell.
    m_pointer->setVisible(!IsModuleSize(m_view->Grid().Size()) || m_view->width() > m_view->sizeHint().width());
}

bool CanvasTools::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Resize)
        ShowPointerPlace();
    return QObject::eventFilter(watched, event);
}

bool CanvasTools::Perform(CommandId id)
{
    switch (id) {
    case CommandId::ZoomIn:
        m_view->ZoomIn();
        return true;
    case CommandId::ZoomOut:
        m_view->ZoomOut();
        return true;
    case CommandId::ZoomToFit:
        m_view->ZoomToFit();
        return true;
    case CommandId::CopySelection:
        CopySelection();
        return true;
    case CommandId::CutSelection:
        CopySelection();
        m_session.DeleteSelection();
        return true;
    default:
        return false;
    }
}

void CanvasTools::CopySelection()
{
    const std::string text = m_session.SelectionArrayText();
    if (text.empty())
        return; // nothing selected: the clipboard keeps what it holds
    m_clipboard.Clear();
    m_clipboard.SetText(QString::fromStdString(text));
}
