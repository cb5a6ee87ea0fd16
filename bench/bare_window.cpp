#include "bare_window.h"

#include <QLabel>
#include <QLineEdit>

BareWindow::BareWindow() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    setFixedSize(360, 436);
    m_edit = new QLineEdit(client);
    m_edit->setGeometry(170, 186, 49, 21);
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        const int row = int(i % 15);
        const bool value = i >= 15;
        m_labels[i] =
            new QLabel(value ? QString() : QStringLiteral("UNIT %1").arg(row + 1), client);
        m_labels[i]->setGeometry(value ? 100 : 244, 22 * row, value ? 140 : 107, 21);
        if (value) m_labels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    connect(m_edit, &QLineEdit::textChanged, this, &BareWindow::Update);
    setWindowTitle(QStringLiteral("Bare"));
}

void BareWindow::Update(const QString& text) {
    const double value = text.toDouble();
    for (std::size_t i = 15; i < m_labels.size(); ++i)
        m_labels[i]->setText(QString::number(value * double(i), 'f', 7));
}
