#include "app/gui/HiddenRowsLine.h"

#include <QComboBox>
#include <QLabel>

#include "menufile/core/MenuFileReport.h"
#include "preview/core/GridGeometry.h"
#include "ui/gui/DocText.h"

namespace cofferon {

namespace {

// The gap between the last row shown and the line.
constexpr int kGap = 2;

}  // namespace

HiddenRowsLine::HiddenRowsLine(QLabel* line, QComboBox* rows, QObject* parent)
    : QObject(parent), m_line(line), m_rows(rows)
{
    // A link, so that it looks and acts as something to click.
    m_line->setTextFormat(Qt::RichText);
    connect(m_line, &QLabel::linkActivated, this, [this] {
        if (m_enoughRows > 0)
            m_rows->setCurrentIndex(m_enoughRows - 1);
    });
}

void HiddenRowsLine::update(const MenuSettings& settings, const SlotTable& slots)
{
    const auto hidden = hiddenSlots(settings, slots);
    m_enoughRows = hidden ? hidden->lastRow : 0;
    if (!hidden) {
        m_line->hide();
        return;
    }
    const CellPoint lastShown = cellPosition((hidden->firstRow - 1) * kColumns);
    m_line->move(m_line->x(), lastShown.y + kCellSize + kGap);
    m_line->setText(
        QStringLiteral("<a href=\"rows\">%1</a>").arg(programText(hiddenSlotsNote(*hidden)).toHtmlEscaped()));
    m_line->show();
}

}  // namespace cofferon
