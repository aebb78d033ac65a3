#include "ui/dialogs/PictureQuestions.h"

#include "core/session/ProgramTexts.h"
#include "core/session/Texts.h"
#include "ui/common/Utf8.h"

#include <QInputDialog>
#include <QLabel>

#include <functional>

using namespace tessaldo;

namespace {

// Shows `dialog` until `take` accepts its answer (gives "") or the user
// cancels; each refusal is shown above the question.
void AskUntilTaken(QInputDialog &dialog, const QString &question, const std::function<QString()> &take)
{
    dialog.setLabelText(question);
    // A refusal is a long sentence: wrapped, it does not stretch the dialog across the screen.
    // Wrapped, though, the question would leave the dialog too narrow for its
    // title, which a window manager draws in a larger font beside an icon and
    // three buttons; the dialog's layout takes its width from the label's.
    constexpr int kTitleBarRoom = 180;
    if (auto *label = dialog.findChild<QLabel *>()) {
        label->setWordWrap(true);
        label->setMinimumWidth(dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) * 3 / 2 + kTitleBarRoom);
    }
    while (dialog.exec() == QDialog::Accepted) {
        const QString problem = take();
        if (problem.isEmpty())
            return;
        dialog.setLabelText(problem + QStringLiteral("\n\n") + question);
    }
}

} // namespace

void PictureQuestions::AskPictureName()
{
    m_session.EndStroke();
    const std::size_t index = m_session.Doc().current;
    QInputDialog dialog(m_window);
    dialog.setWindowTitle(FromUtf8(Text(TextId::RenamePicture)));
    dialog.setTextValue(FromUtf8(m_session.Doc().Edited().name));
    AskUntilTaken(dialog, FromUtf8(kRenameQuestion),
                  [&] { return FromUtf8(m_session.RenamePicture(index, dialog.textValue().toStdString())); });
}

void PictureQuestions::AskPictureDelay()
{
    m_session.EndStroke();
    const std::size_t index = m_session.Doc().current;
    // The box lets through what the core refuses, so that the user reads why.
    constexpr int kBoxLimit = 9'999'999;
    constexpr int kStep = 10;
    QInputDialog dialog(m_window);
    dialog.setWindowTitle(FromUtf8(Text(TextId::PictureDelay)));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(0, kBoxLimit);
    dialog.setIntStep(kStep);
    dialog.setIntValue(m_session.Doc().Edited().delayMs);
    AskUntilTaken(dialog, FromUtf8(kDelayQuestion),
                  [&] { return FromUtf8(m_session.SetDelay(index, dialog.intValue())); });
}
