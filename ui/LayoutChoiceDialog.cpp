#include "LayoutChoiceDialog.h"

#include "PictureImage.h"
#include "ProgramTexts.h"
#include "Utf8.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QVBoxLayout>

using namespace tessaldo;

namespace {

// Whole pixels a dot: the drawings stay crisp, and four fit beside each other on any screen.
constexpr int kDotPixels = 5;

QListWidgetItem *ItemOf(const LayoutCandidate &candidate, LcdType type)
{
    DotGrid grid;
    grid.SetLCDType(type);
    grid.SetAllDots(candidate.dots);
    const QPixmap drawing = QPixmap::fromImage(ImageFromPicture(grid, kDotPixels));
    QIcon icon(drawing);
    icon.addPixmap(drawing, QIcon::Selected); // black on white as the grid shows it; the name shows the choice
    auto *item = new QListWidgetItem(icon, FromUtf8(CandidateName(candidate)));
    item->setTextAlignment(Qt::AlignHCenter);
    return item;
}

} // namespace

LayoutChoiceDialog::LayoutChoiceDialog(std::vector<LayoutCandidate> candidates, LcdType type, QWidget *parent)
    : QDialog(parent),
      m_candidates(std::move(candidates))
{
    setWindowTitle(FromUtf8(kLayoutChoiceTitle));
    auto *question = new QLabel(FromUtf8(kLayoutQuestion), this);
    question->setWordWrap(true);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("layouts"));
    m_list->setViewMode(QListView::IconMode);
    m_list->setFlow(QListView::LeftToRight);
    m_list->setWrapping(false);
    m_list->setMovement(QListView::Static);
    m_list->setResizeMode(QListView::Adjust);
    const int side = kGridSide * kDotPixels;
    m_list->setIconSize({side, side});
    const QSize cell(side + 4 * kDotPixels, side + fontMetrics().height() + 3 * kDotPixels);
    m_list->setGridSize(cell);
    for (const LayoutCandidate &candidate : m_candidates)
        m_list->addItem(ItemOf(candidate, type));
    m_list->setCurrentRow(0);
    // Just the drawings in one row: no scrolling, no empty room below them.
    const int frame = 2 * m_list->frameWidth();
    m_list->setFixedSize(static_cast<int>(m_candidates.size()) * cell.width() + frame, cell.height() + frame);
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

const DotGrid::Dots &LayoutChoiceDialog::Chosen() const
{
    return m_candidates.at(static_cast<std::size_t>(std::max(m_list->currentRow(), 0))).dots;
}
