#include "ui/dialogs/LayoutChoiceDialog.h"

#include "core/session/ProgramTexts.h"
#include "image/PictureImage.h"
#include "ui/common/Utf8.h"

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
// A larger picture takes fewer pixels a dot, down to one, and is shrunk to this side past that.
constexpr int kDrawingSide = 2 * kGridSide * kDotPixels;

QImage PictureImage(const DotGrid &grid)
{
    const PictureSize size = grid.Size();
    const int scale = std::min(kDotPixels, kDrawingSide / std::max(size.width, size.height));
    if (scale >= 1)
        return ImageFromPicture(grid, scale);
    return ImageFromPicture(grid, 1).scaled(kDrawingSide, kDrawingSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
// Room between the pictures of one reading, and around each reading.
constexpr int kGap = 2 * kDotPixels;

// The reading's pictures side by side, black on white as the grid shows them.
QPixmap DrawingOf(const LayoutChoice &choice, LcdType type)
{
    std::vector<QImage> images;
    for (const DotGrid::Dots &dots : choice.shown) {
        DotGrid grid;
        grid.SetLCDType(type);
        grid.SetAllDots(dots);
        images.push_back(PictureImage(grid));
    }
    const QSize side = images.front().size();
    const auto count = static_cast<int>(images.size());
    QPixmap drawing(count * side.width() + (count - 1) * kGap, side.height());
    drawing.fill(Qt::transparent);
    QPainter painter(&drawing);
    for (int i = 0; i < count; ++i)
        painter.drawImage(i * (side.width() + kGap), 0, images[static_cast<std::size_t>(i)]);
    return drawing;
}

// The layouts' names, and the pictures' size under them where the readings tell sizes apart.
QString CaptionOf(const LayoutChoice &choice, bool sized)
{
    const QString name = FromUtf8(LayoutChoiceName(choice));
    return sized ? name + QLatin1Char('\n') + FromUtf8(PictureSizeText(choice.size)) : name;
}

QListWidgetItem *ItemOf(const LayoutChoice &choice, LcdType type, bool sized)
{
    const QPixmap drawing = DrawingOf(choice, type);
    QIcon icon(drawing);
    icon.addPixmap(drawing, QIcon::Selected); // as the grid shows it; the name shows the choice
    auto *item = new QListWidgetItem(icon, CaptionOf(choice, sized));
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
    const bool sized = std::any_of(m_choices.begin(), m_choices.end(),
                                   [](const LayoutChoice &choice) { return !IsModuleSize(choice.size); });
    QSize drawing;
    for (const LayoutChoice &choice : m_choices)
        drawing = drawing.expandedTo(DrawingOf(choice, type).size());
    m_list->setIconSize(drawing);
    const int nameWidth =
        std::accumulate(m_choices.begin(), m_choices.end(), 0, [this](int widest, const auto &choice) {
            return std::max(widest, fontMetrics().horizontalAdvance(FromUtf8(LayoutChoiceName(choice))));
        });
    // Beside each other the names wrap on two lines, with room for where the words break.
    const int lines = (oneEach ? 2 : 1) + (sized ? 1 : 0);
    const int nameRoom = oneEach ? nameWidth * 6 / 10 : nameWidth;
    const QSize cell(std::max(drawing.width(), nameRoom) + 2 * kGap,
                     drawing.height() + lines * fontMetrics().height() + 3 * kDotPixels);
    m_list->setGridSize(cell);
    for (const LayoutChoice &choice : m_choices)
        m_list->addItem(ItemOf(choice, type, sized));
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

std::optional<LayoutChoice> LayoutChoiceDialog::Ask(const std::vector<LayoutChoice> &choices, LcdType type,
                                                    QWidget *parent)
{
    LayoutChoiceDialog dialog(choices, type, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Chosen();
}
