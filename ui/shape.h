#pragma once

#include <QWidget>

namespace mensura {

// A rectangle drawn on the window behind the controls, either filled with a
// palette colour or outlined with a one-pixel line in the text colour. It
// never takes the focus or the mouse.
class Shape : public QWidget {
public:
    enum class Kind { Outline, Filled };
    Shape(Kind kind, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind m_kind;
};

}  // namespace mensura
