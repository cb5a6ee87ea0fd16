// Drawing the main window's filled and outlined rectangles.
#include "shape.h"

#include <QPainter>

namespace mensura {

Shape::Shape(Kind kind, QWidget* parent) : QWidget(parent), m_kind(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_kind == Kind::Filled) {
        painter.fillRect(rect(), palette().brush(backgroundRole()));
    } else {
        painter.setPen(palette().color(foregroundRole()));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

}  // namespace mensura
