#pragma once

#include <QMainWindow>
#include <array>

class QLabel;
class QLineEdit;

// The reference the window's benchmarks are measured against: a plain Qt
// Widgets main window of Mensura's size with a line edit and 30 labels in
// fixed places, nothing of Mensura's own. Every change of the line edit's
// text sets the text of 15 of the labels, as a keystroke in Mensura sets
// its 15 value captions.
class BareWindow : public QMainWindow {
public:
    BareWindow();
    QLineEdit* Edit() const { return m_edit; }

private:
    void Update(const QString& text);

    QLineEdit* m_edit;
    std::array<QLabel*, 30> m_labels{};
};
