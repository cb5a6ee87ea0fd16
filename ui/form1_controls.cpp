// Form1's controls: the shapes, labels, box, selector and buttons of the
// client area with their names, places, colours and tab order, and the
// connections from their signals and events to the handlers.
#include <QAbstractItemView>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyleOptionComplex>
#include <cmath>

#include "caption_label.h"
#include "form1.h"
#include "form1_layout.h"
#include "line_edit_guard.h"
#include "shape.h"

namespace mensura {

namespace {

// Fusion gives a combo box's arrow 19 px; in the 101-px unit selector that
// leaves the longest unit names ("HECTOMETERS") no room. A 14-px arrow, the
// size of a classic scroll-bar arrow, does.
class SelectorStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        if (control != CC_ComboBox || !option)
            return QProxyStyle::subControlRect(control, option, sub, widget);
        constexpr int kArrow = 14;
        constexpr int kFrame = 2;
        const QRect r = option->rect;
        QRect place;
        if (sub == SC_ComboBoxArrow)
            place = QRect(r.right() - kArrow + 1, r.top(), kArrow, r.height());
        else if (sub == SC_ComboBoxEditField)
            place = QRect(r.left() + kFrame, r.top() + kFrame, r.width() - kArrow - 2 * kFrame,
                          r.height() - 2 * kFrame);
        else
            return QProxyStyle::subControlRect(control, option, sub, widget);
        return visualRect(option->direction, r, place);
    }
};

QPushButton* MakeButton(const QString& caption, const char* name, const QRect& place,
                        QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    // Enter must not press any button: it would wipe the results just typed.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

Shape* MakeShape(Shape::Kind kind, const char* name, const QRect& place, QWidget* parent) {
    auto* shape = new Shape(kind, parent);
    shape->setObjectName(QLatin1String(name));
    shape->setGeometry(place);
    return shape;
}

void SetColours(QWidget* widget, QPalette::ColorRole textRole, const QColor& text,
                QPalette::ColorRole backRole, const QColor& back) {
    QPalette palette = widget->palette();
    palette.setColor(textRole, text);
    palette.setColor(backRole, back);
    widget->setPalette(palette);
}

// The prompt ends where the input box begins. Drawn at 1.5x or 2x its
// letters come out a little wider than the metrics say, and the arrow
// touched the box. Narrow the spaces between its words just enough to keep
// a few pixels of air at every scale; the letters and the label stay as
// they are.
void KeepPromptClearOf(QLabel* prompt, const QWidget* box) {
    constexpr int kAir = 3;
    QFont font = prompt->font();
    const QString text = prompt->text();
    const qreal room = box->x() - prompt->x() - kAir;
    const qreal width = QFontMetricsF(font).horizontalAdvance(text);
    const auto spaces = text.count(QLatin1Char(' '));
    if (width <= room || spaces == 0) return;
    // In whole 64ths of a pixel, the unit the font keeps it in, rounded to
    // the narrower side.
    font.setWordSpacing(std::floor(64 * (room - width) / qreal(spaces)) / 64);
    prompt->setFont(font);
}

}  // namespace

void Form1::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    client->setFixedSize(Pixels(kClientWidth), Pixels(kClientHeight));
    layout()->addWidget(client);

    // Created bottom to top: the band first, so that it lies beneath all.
    Shape* band = MakeShape(Shape::Kind::Filled, "Shape5", Twips(60, 2700, 5295, 495), client);
    // Qt's stand-in for the desktop's application-workspace colour, the one
    // QMdiArea paints its background with.
    band->setBackgroundRole(QPalette::Dark);
    MakeShape(Shape::Kind::Outline, "Shape4", Twips(90, 2700, 5235, 510), client);
    MakeShape(Shape::Kind::Outline, "Shape3", Twips(135, 2730, 1035, 435), client);
    MakeShape(Shape::Kind::Outline, "Shape1", Twips(1290, 2730, 2085, 435), client);
    MakeShape(Shape::Kind::Outline, "Shape2", Twips(3510, 2730, 1725, 435), client);

    // The thirty row labels sit in a group of their own, the size of the
    // client area and beneath the input row and the buttons, so that
    // assistive technology sees them as "Results" and hears of their changes
    // through the group.
    m_results = new QWidget(client);
    m_results->setObjectName(QStringLiteral("results"));
    m_results->setGeometry(0, 0, client->width(), client->height());

    auto* prompt = new CaptionLabel(CaptionLabel::Sizing::Fixed, false, client);
    prompt->setObjectName(QStringLiteral("Label11"));
    prompt->SetDesignGeometry(Twips(1350, 2850, 1245, 255));
    prompt->setText(QStringLiteral("Enter Number -->"));
    prompt->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetColours(prompt, QPalette::WindowText, Qt::white, QPalette::Window, Qt::transparent);

    const QColor lightGrey(192, 192, 192);
    m_txtUserData = new QLineEdit(client);
    m_txtUserData->setObjectName(QStringLiteral("txtUserData"));
    m_txtUserData->setGeometry(Twips(2550, 2790, 735, 315));
    SetColours(m_txtUserData, QPalette::Text, Qt::black, QPalette::Base, lightGrey);
    // The prompt names the box for assistive technology. It has no access
    // key, so the buddy adds no shortcut.
    prompt->setBuddy(m_txtUserData);
    KeepPromptClearOf(prompt, m_txtUserData);
    // Bounded undo history and no busy idle, whatever is pasted.
    new LineEditGuard(m_txtUserData);

    m_cboMeasures = new QComboBox(client);
    m_cboMeasures->setObjectName(QStringLiteral("cboMeasures"));
    m_cboMeasures->setGeometry(Twips(3615, 2790, 1515, 315));
    m_cboMeasures->setEditable(true);
    // Typed text is only text: it never becomes an item, is never completed
    // to an item ("feet" must stay "feet"), and does not select one.
    m_cboMeasures->setInsertPolicy(QComboBox::NoInsert);
    m_cboMeasures->setCompleter(nullptr);
    // QComboBox picks the item equal to the typed text when editing ends
    // (Enter, or leaving the field) and reports that as activated(), which
    // is the signal of a choice from the list; cut those two links.
    disconnect(m_cboMeasures->lineEdit(), &QLineEdit::editingFinished, m_cboMeasures, nullptr);
    disconnect(m_cboMeasures->lineEdit(), &QLineEdit::returnPressed, m_cboMeasures, nullptr);
    auto* selectorStyle = new SelectorStyle;
    selectorStyle->setParent(m_cboMeasures);
    m_cboMeasures->setStyle(selectorStyle);
    for (QWidget* part :
         {static_cast<QWidget*>(m_cboMeasures), static_cast<QWidget*>(m_cboMeasures->lineEdit())})
        SetColours(part, QPalette::Text, Qt::black, QPalette::Base, lightGrey);
    // On Linux Qt gives a combo box its text as accessible name and takes
    // what it is from a label whose buddy it is. The selector has no visible
    // label; this one is never shown and only names it for screen readers.
    auto* selectorLabel = new QLabel(QStringLiteral("Unit of the number"), client);
    selectorLabel->setObjectName(QStringLiteral("lblUnit"));
    selectorLabel->setBuddy(m_cboMeasures);
    selectorLabel->hide();
    new LineEditGuard(m_cboMeasures->lineEdit());

    m_cmdClear =
        MakeButton(QStringLiteral("C&LEAR"), "cmdClear", Twips(240, 2790, 825, 325), client);
    m_cmdLength =
        MakeButton(QStringLiteral("Length"), "cmdLength", Twips(120, 5820, 915, 315), client);
    m_cmdCapacity =
        MakeButton(QStringLiteral("Capacity"), "cmdCapacity", Twips(1125, 5820, 915, 315), client);
    m_cmdWeight =
        MakeButton(QStringLiteral("Weight"), "cmdWeight", Twips(2130, 5820, 915, 315), client);
    m_cmdExit = MakeButton(QStringLiteral("Exit"), "cmdExit", Twips(3840, 5790, 915, 345), client);

    QFont nameFont = font();
    nameFont.setBold(true);
    nameFont.setItalic(true);
    QFont valueFont = font();
    valueFont.setBold(true);
    const QColor darkGrey(64, 64, 64);
    for (int row = 1; row <= kRowCount; ++row) {
        auto* name = new CaptionLabel(CaptionLabel::Sizing::Fixed, true, m_results);
        name->setObjectName(QStringLiteral("lb_%1").arg(row));
        name->setFont(nameFont);
        name->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        name->setAutoFillBackground(true);
        SetColours(name, QPalette::WindowText, QColor(255, 255, 0), QPalette::Window, darkGrey);
        name->SetDesignGeometry(NameLabelPlace(row));
        name->SetDetail([this, row] { return NameNote(row); });
        m_names[Index(row)] = name;

        auto* value = new CaptionLabel(CaptionLabel::Sizing::KeepRight, true, m_results);
        value->setObjectName(QStringLiteral("lb%1").arg(row));
        value->setFont(valueFont);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setAutoFillBackground(true);
        SetColours(value, QPalette::WindowText, Qt::white, QPalette::Window, darkGrey);
        value->SetDesignGeometry(ValueLabelPlace(row));
        value->setContextMenuPolicy(Qt::CustomContextMenu);
        // The tooltip shows the digits that the seven decimals cut off.
        value->SetDetail([this, row] {
            const auto& number = m_numbers[Index(row)];
            return number ? QString::fromStdString(AllDigits(number->value, number->precision))
                          : QString();
        });
        m_values[Index(row)] = value;
        // A recompute rewrites them all: assistive technology hears of it
        // once, through the group's description (DescribeResults).
        AccessibleBatch::Hold(name);
        AccessibleBatch::Hold(value);
    }

    m_lbMeasurement = new CaptionLabel(CaptionLabel::Sizing::KeepCentre, false, client);
    m_lbMeasurement->setObjectName(QStringLiteral("lbMeasurement"));
    m_lbMeasurement->setAlignment(Qt::AlignCenter);
    m_lbMeasurement->setAutoFillBackground(true);
    SetColours(m_lbMeasurement, QPalette::WindowText, Qt::red, QPalette::Window, Qt::black);
    m_lbMeasurement->SetDesignGeometry(Twips(1575, 5580, 75, 195));

    setTabOrder(m_txtUserData, m_cboMeasures);
    setTabOrder(m_cboMeasures, m_cmdClear);
    setTabOrder(m_cmdClear, m_cmdLength);
    setTabOrder(m_cmdLength, m_cmdCapacity);
    setTabOrder(m_cmdCapacity, m_cmdWeight);
    setTabOrder(m_cmdWeight, m_cmdExit);
    DescribeControls();
}

void Form1::ConnectHandlers() {
    connect(m_cmdClear, &QPushButton::clicked, this, &Form1::cmdClear_Click);
    connect(m_cmdLength, &QPushButton::clicked, this, &Form1::cmdLength_Click);
    connect(m_cmdCapacity, &QPushButton::clicked, this, &Form1::cmdCapacity_Click);
    connect(m_cmdWeight, &QPushButton::clicked, this, &Form1::cmdWeight_Click);
    connect(m_cmdExit, &QPushButton::clicked, this, &Form1::cmdExit_Click);
    // activated() comes only from the user's choice in the list, by mouse,
    // arrow keys or wheel, never from code changing the list or the text.
    connect(m_cboMeasures, &QComboBox::activated, this, &Form1::cboMeasures_Click);
    // Whether a choice comes from the open list or the wheel: the list's
    // window hides just before a pick in it, the selector sees the wheel
    // (eventFilter).
    m_unitList = m_cboMeasures->view()->window();
    m_cboMeasures->installEventFilter(this);
    m_unitList->installEventFilter(this);
    // A typed text equal to an item makes that item current, so that Up,
    // Down and the open list go on from the unit shown. The text stays as
    // typed and nothing is raised: typing still converts nothing by itself.
    connect(m_cboMeasures->lineEdit(), &QLineEdit::textChanged, this, [this](const QString& text) {
        // The selector's own tooltip: which unit of that name its text is.
        m_cboMeasures->setToolTip(QString::fromStdString(UnitNoteText(text.toStdString())));
        const int index = m_cboMeasures->findText(text);
        if (index < 0 || index == m_cboMeasures->currentIndex()) return;
        const QSignalBlocker blocker(m_cboMeasures);
        m_cboMeasures->setCurrentIndex(index);
    });
    // textChanged() also follows changes made by code, as the handler must.
    connect(m_txtUserData, &QLineEdit::textChanged, this, &Form1::txtUserData_Change);
    m_txtUserData->installEventFilter(this);

    for (int row = 1; row <= kRowCount; ++row)
        connect(m_values[Index(row)], &QWidget::customContextMenuRequested, this,
                [this, row](const QPoint& pos) {
                    m_menus.ShowValueMenu(row, m_values[Index(row)]->mapToGlobal(pos));
                });
    // The labels take no focus; from the buttons the context-menu key (or a
    // right click) opens the menu of all results, one entry per row.
    for (QPushButton* button : {m_cmdClear, m_cmdLength, m_cmdCapacity, m_cmdWeight, m_cmdExit})
        button->installEventFilter(this);

    // Window-wide keys. Ctrl+C only reaches the window outside the input box
    // and the selector: their text fields take it for themselves.
    auto* copyAll = new QShortcut(QKeySequence::Copy, this);
    connect(copyAll, &QShortcut::activated, this, [this] { m_menus.CopyAll(); });
    // The menu items show no shortcut; these keys belong to the window.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &Form1::mnuHelpItem_Click);
    auto* exit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(exit, &QShortcut::activated, this, &Form1::mnuExitItem_Click);
    // Shift+F10, the other context-menu key, as the Menu key does.
    auto* contextMenu = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(contextMenu, &QShortcut::activated, this, &Form1::OpenContextMenuOfFocus);
}

}  // namespace mensura
