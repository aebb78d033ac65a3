#include "ui/window/Toolbar.h"

#include <QIcon>
#include <QToolButton>

namespace {
constexpr int kImagePixels = 32;
} // namespace

Toolbar::Toolbar(QWidget *parent) : QWidget(parent) {}

void Toolbar::AddButton(const QString &text, const QString &key, const QIcon &image)
{
    auto *button = new QToolButton(this);
    button->setText(text);
    button->setIcon(image);
    button->setIconSize({kImagePixels, kImagePixels});
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setObjectName(QStringLiteral("tbarMain_") + key);
    connect(button, &QToolButton::clicked, this, [this, key] { emit ButtonClick(key); });
    m_buttons.append(button);
    LayOutButtons();
}

QToolButton *Toolbar::Button(int index) const
{
    return m_buttons.value(index - 1);
}

void Toolbar::resizeEvent(QResizeEvent *)
{
    LayOutButtons();
}

void Toolbar::LayOutButtons()
{
    for (qsizetype i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setGeometry(static_cast<int>(i) * kButtonWidth, 0, kButtonWidth, height());
}
