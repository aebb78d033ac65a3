#include "LayoutChoiceDialog.h"

#include "PictureImage.h"
#include "Utf8.h"
#include "core/session/ProgramTexts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

using namespace tessaldo;

namespace {

// Whole pixels a dot: the drawings stay crisp, and four fit beside each other on any screen.
constexpr int kDotPixels = 5;
// Room between the pictures of one reading, and around each reading.
constexpr int kGap = 2 * kDotPixels;

// The reading's pictures side by side, black on white as the grid shows them.
QPixmap DrawingOf(const LayoutChoice &choice, LcdType type)
{
    const int side = kGridSide * kDotPixels;
    const auto count = static_cast<int>(choice.shown.size());
    QPixmap drawing(count * side + (count - 1) * kGap, side);
    drawing.fill(Qt::transparent);
    QPainter painter(&drawing);
    for (int i = 0; i < count; ++i) {
        DotGrid grid;
        grid.SetLCDType(type);
        grid.SetAllDots(choice.shown.at(static_cast<std::size_t>(i)));
        painter.drawImage(i * (side + kGap), 0, ImageFromPicture(grid, kDotPixels));
    }
    return drawing;
}

QListWidgetItem *ItemOf(const LayoutChoice &choice, LcdType type)
{
    const QPixmap drawing = DrawingOf(choice, type);
    QIcon icon(drawing);
    icon.addPixmap(drawing, QIcon::Selected); // as the grid shows it; the name shows the choice
    auto *item = new QListWidgetItem(icon, FromUtf8(LayoutChoiceName(choice)));
    item->setTextAlignment(Qt::AlignHCenter);
    return item;
}

} // namespace

LayoutChoiceDialog::LayoutChoiceDialog(std::vector<LayoutChoice> choices, LcdType type, QWidget *parent)
    : QDialog(parent),
      m_choices(std::move(choices))
{
    // One picture's readings beside each other; a set's, each a row of pictures, below each other.
    const bool oneEach = m_choices.front().shown.size() == 1;
    setWindowTitle(FromUtf8(kLayoutChoiceTitle));
    auto *question = new QLabel(FromUtf8(oneEach ? kLayoutQuestion : kSetLayoutQuestion), this);
    question->setWordWrap(true);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("layouts"));
    m_list->setViewMode(QListView::IconMode);
    m_list->setWordWrap(true);
    m_list->setFlow(oneEach ? QListView::LeftToRight : QListView::TopToBottom);
    m_list->setWrapping(false);
    m_list->setMovement(QListView::Static);
    m_list->setResizeMode(QListView::Adjust);
    const QSize drawing = DrawingOf(m_choices.front(), type).size();
    m_list->setIconSize(drawing);
    const int nameWidth =
        std::accumulate(m_choices.begin(), m_choices.end(), 0, [this](int widest, const auto &choice) {
            return std::max(widest, fontMetrics().horizontalAdvance(FromUtf8(LayoutChoiceName(choice))));
        });
    // Beside each other the names wrap on two lines, with room for where the words break.
    const int lines = oneEach ? 2 : 1;
    const int nameRoom = oneEach ? nameWidth * 6 / 10 : nameWidth;
    const QSize cell(std::max(drawing.width(), nameRoom) + 2 * kGap,
                     drawing.height() + lines * fontMetrics().height() + 3 * kDotPixels);
    m_list->setGridSize(cell);
    for (const LayoutChoice &choice : m_choices)
        m_list->addItem(ItemOf(choice, type));
    m_list->setCurrentRow(0);
    // Just the drawings: no scrolling, no empty room around them.
    const int frame = 2 * m_list->frameWidth();
    const auto count = static_cast<int>(m_choices.size());
    m_list->setFixedSize(oneEach ? QSize(count * cell.width() + frame, cell.height() + frame)
                                 : QSize(cell.width() + frame, count * cell.height() + frame));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_list, &QListWidget::itemActivated, this, &QDialog::accept);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *box = new QVBoxLayout(this);
    box->addWidget(question);
    box->addWidget(m_list);
    box->addWidget(buttons);
    box->setSizeConstraint(QLayout::SetFixedSize);
    m_list->setFocus();
}

const LayoutChoice &LayoutChoiceDialog::Chosen() const
{
    return m_choices.at(static_cast<std::size_t>(std::max(m_list->currentRow(), 0)));
}

std::optional<BitLayout> LayoutChoiceDialog::Ask(const std::vector<LayoutChoice> &choices, LcdType type,
                                                 QWidget *parent)
{
    LayoutChoiceDialog dialog(choices, type, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Chosen().layouts.front();
}
