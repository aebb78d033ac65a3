#pragma once

#include "core/session/EditSession.h"

class QWidget;

// "Rename Picture…" and "Picture Delay…": asked until the core takes the answer or the user cancels.
class PictureQuestions {
public:
    PictureQuestions(tessaldo::EditSession &session, QWidget *window) : m_session(session), m_window(window) {}

    void AskPictureName();
    void AskPictureDelay();

private:
    tessaldo::EditSession &m_session;
    QWidget *m_window;
};
