#pragma once

#include <QObject>

#include "document/core/MenuSettings.h"
#include "document/core/SlotRecord.h"

class QComboBox;
class QLabel;

namespace cofferon {

// The line under the grid that names the slots in rows the menu does not
// show, right under the last row shown; a click on it chooses the rows that
// show them all.
class HiddenRowsLine : public QObject {
public:
    HiddenRowsLine(QLabel* line, QComboBox* rows, QObject* parent);

    // After every change of the work: shown, moved and worded, or hidden.
    void update(const MenuSettings& settings, const SlotTable& slots);

private:
    QLabel* m_line;
    QComboBox* m_rows;
    int m_enoughRows = 0;
};

}  // namespace cofferon
