#pragma once

#include <QColor>
#include <QPushButton>

namespace cofferon {

// A drop-down chooser of one colour: a button that shows its colour. The
// window that owns it decides how a new colour is chosen.
class ColourPicker : public QPushButton {
    Q_OBJECT

public:
    explicit ColourPicker(QWidget* parent = nullptr);

    QColor colour() const { return m_colour; }
    void setColour(const QColor& colour);

    // The colour as one value: red + 256 * green + 65536 * blue.
    unsigned value() const;
    void setValue(unsigned value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};

}  // namespace cofferon
