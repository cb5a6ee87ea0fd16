#include "form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QIcon>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyleOptionComplex>
#include <QVBoxLayout>

#include "application.h"
#include "caption_label.h"
#include "frm_splash.h"
#include "html_help.h"
#include "recompute.h"
#include "shape.h"
#include "twips.h"

// The icon's images live in a resource compiled into the static mensura_ui
// library; the linker drops them unless something refers to them.
static void InitResources() {
    Q_INIT_RESOURCE(mensura);
}

namespace {

using mensura::kRowCount;
using mensura::Pixels;
using mensura::Twips;

constexpr int kClientWidth = 5400;
constexpr int kClientHeight = 6180;

// Result rows: 1 to 8 above the input band, 9 to 15 below it, one every
// 330 twips; each value label ends just left of its row's name label.
QRect NameLabelPlace(int row) {
    return row <= 8 ? Twips(3660, 330 * (row - 1), 1605, 315)
                    : Twips(3390, 3240 + 330 * (row - 9), 1875, 315);
}
QRect ValueLabelPlace(int row) {
    return row <= 8 ? Twips(3480, 330 * (row - 1), 135, 315)
                    : Twips(3210, 3240 + 330 * (row - 9), 135, 315);
}

std::size_t Index(int row) {
    return static_cast<std::size_t>(row - 1);
}

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

QString ErrorCaption(mensura::FpError error) {
    switch (error) {
        case mensura::FpError::DivisionByZero:
            return QStringLiteral("Division by zero");
        case mensura::FpError::InvalidOperation:
            return QStringLiteral("Invalid operation");
        case mensura::FpError::Overflow:
        case mensura::FpError::None:
            break;
    }
    return QStringLiteral("Overflow");
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent), m_aboutCloseDelay(frmSplash::kCloseAfterMs) {
    InitResources();
    setObjectName(QStringLiteral("Form1"));
    setFont(mensura::StandardFont());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);

    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addFile(QStringLiteral(":/icons/mensura-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);

    // The menu bar on top, the fixed client area below it; the window takes
    // exactly their size and cannot be resized.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    layout->setMenuBar(menuBar);
    BuildMenus(menuBar);
    BuildControls();
    ConnectHandlers();
    Form_Load();
}

Form1::~Form1() {
    delete m_frmSplash;
}

void Form1::BuildMenus(QMenuBar* menuBar) {
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* clear = file->addAction(QStringLiteral("&Clear"));
    clear->setObjectName(QStringLiteral("mnuClearItem"));
    connect(clear, &QAction::triggered, this, &Form1::mnuClearItem_Click);
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuExitItem"));
    connect(exit, &QAction::triggered, this, &Form1::mnuExitItem_Click);

    QMenu* help = menuBar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* helpItem = help->addAction(QStringLiteral("Hel&p"));
    helpItem->setObjectName(QStringLiteral("mnuHelpItem"));
    connect(helpItem, &QAction::triggered, this, &Form1::mnuHelpItem_Click);
    help->addSeparator()->setObjectName(QStringLiteral("mnuDash1"));
    QAction* about = help->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    connect(about, &QAction::triggered, this, &Form1::mnuAbout_Click);
}

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
        auto* name = new CaptionLabel(CaptionLabel::Sizing::Fixed, true, client);
        name->setObjectName(QStringLiteral("lb_%1").arg(row));
        name->setFont(nameFont);
        name->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        name->setAutoFillBackground(true);
        SetColours(name, QPalette::WindowText, QColor(255, 255, 0), QPalette::Window, darkGrey);
        name->SetDesignGeometry(NameLabelPlace(row));
        m_names[Index(row)] = name;

        auto* value = new CaptionLabel(CaptionLabel::Sizing::KeepRight, true, client);
        value->setObjectName(QStringLiteral("lb%1").arg(row));
        value->setFont(valueFont);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setAutoFillBackground(true);
        SetColours(value, QPalette::WindowText, Qt::white, QPalette::Window, darkGrey);
        value->SetDesignGeometry(ValueLabelPlace(row));
        m_values[Index(row)] = value;
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
    // textChanged() also follows changes made by code, as the handler must.
    connect(m_txtUserData, &QLineEdit::textChanged, this, &Form1::txtUserData_Change);
    m_txtUserData->installEventFilter(this);
    // "C&LEAR" is the window's cancel button: Escape presses it.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_cmdClear, &QPushButton::click);
}

// --- ConverterFields ---------------------------------------------------------

std::string Form1::InputText() const {
    return m_txtUserData->text().toStdString();
}

std::string Form1::UnitText() const {
    return m_cboMeasures->currentText().toStdString();
}

std::string Form1::CategoryTitle() const {
    return m_lbMeasurement->text().toStdString();
}

void Form1::SetValueCaption(int row, const std::string& caption,
                            std::optional<mensura::CellNumber> /*number*/) {
    if (row < 1 || row > kRowCount) return;
    m_values[Index(row)]->SetCaption(QString::fromStdString(caption));
    m_writtenThisRun.set(Index(row));
}

// --- Events -------------------------------------------------------------------

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_txtUserData) {
        if (event->type() == QEvent::FocusIn) {
            txtUserData_GotFocus(static_cast<QFocusEvent*>(event)->reason());
        } else if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                m_txtUserData->rect().contains(mouse->position().toPoint()))
                txtUserData_Click();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

// --- Handlers -----------------------------------------------------------------

void Form1::Form_Load() {
    ShowCategory(*mensura::FindCategory("LENGTH"));
    setWindowTitle(QStringLiteral("Mensura"));
}

void Form1::Form_Unload() {
    if (m_frmSplash) m_frmSplash->close();
    // Closing through the window manager ends the program as well.
    QCoreApplication::exit(0);
}

void Form1::cmdExit_Click() {
    // exit(), not quit(): quit() would close the windows first and so run
    // Form_Unload, which "Exit" must not.
    QCoreApplication::exit(0);
}

void Form1::mnuExitItem_Click() {
    cmdExit_Click();
}

void Form1::cmdLength_Click() {
    EnterCategory("LENGTH");
}

void Form1::cmdCapacity_Click() {
    EnterCategory("CAPACITY");
}

void Form1::cmdWeight_Click() {
    EnterCategory("WEIGHT");
}

void Form1::EnterCategory(const std::string& name) {
    const mensura::Category* category = mensura::FindCategory(name);
    if (!category) return;
    m_txtUserData->setFocus(Qt::OtherFocusReason);  // its focus handler selects the text
    m_cmdClear->click();                            // runs cmdClear_Click to its end
    ShowCategory(*category);
    RecomputeResults();  // the number in the box, now in the default unit
}

// The selector's list and text, the title and the row names of a category.
// The default unit becomes the selector's text with no item selected, and
// raises nothing.
void Form1::ShowCategory(const mensura::Category& category) {
    {
        const QSignalBlocker blocker(m_cboMeasures);
        m_cboMeasures->clear();
        for (const std::string& item : category.selectorItems)
            m_cboMeasures->addItem(QString::fromStdString(item));
        m_cboMeasures->setCurrentIndex(-1);
        m_cboMeasures->setEditText(QString::fromStdString(category.defaultUnit));
    }
    m_lbMeasurement->SetCaption(QString::fromStdString(category.name));
    for (int row = 1; row <= kRowCount; ++row)
        m_names[Index(row)]->SetCaption(QString::fromStdString(category.nameCaptions[Index(row)]));
}

void Form1::cboMeasures_Click() {
    // Mark the chosen unit's row: all 45 unit strings are tried, whatever
    // the category; at most one matches, as they are all different.
    const std::string unit = UnitText();
    for (const mensura::Category& category : mensura::Categories())
        for (int row = 1; row <= kRowCount; ++row)
            if (unit == category.units[Index(row)]) SetValueCaption(row, unit, std::nullopt);
    RecomputeResults();
}

void Form1::txtUserData_Change() {
    RecomputeResults();
}

void Form1::txtUserData_Click() {
    RecomputeResults();
}

void Form1::txtUserData_GotFocus(Qt::FocusReason reason) {
    // Focus that merely comes back to the box, when the window is activated
    // again or the menus let go of the keyboard, is no move of the focus; a
    // selection the user made stays. (The first activation finds the box
    // empty.)
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
        reason == Qt::MenuBarFocusReason)
        return;
    SelectAllText(m_txtUserData);
    // A click that brings the focus goes on to place the cursor, which drops
    // the selection; select again once the click has been handled.
    if (reason == Qt::MouseFocusReason) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_txtUserData->hasFocus()) SelectAllText(m_txtUserData);
            },
            Qt::QueuedConnection);
    }
}

void Form1::cmdClear_Click() {
    for (CaptionLabel* value : m_values) value->SetCaption(QString());
}

void Form1::mnuClearItem_Click() {
    cmdClear_Click();
}

void Form1::mnuHelpItem_Click() {
    // The current directory and the file name, joined as they are: a root
    // "/" gives "//MnsHlp.chm". Where the file is then looked for, and what
    // is shown, is the help layer's business; its answer is not needed.
    const QByteArray path = (QDir::currentPath() + QStringLiteral("/MnsHlp.chm")).toLocal8Bit();
    mensura::HtmlHelp(nullptr /* no owner */, path.constData(), mensura::HH_DISPLAY_TOPIC, 0);
}

void Form1::mnuAbout_Click() {
    // One About window: while it is shown, it is only brought to the front
    // and its period runs on. Hidden, it is on its way out (an unload
    // deletes it once the event is done): build a new one.
    if (!m_frmSplash || m_frmSplash->isHidden())
        m_frmSplash = new frmSplash(this, m_aboutCloseDelay);  // no parent: no owner
    m_frmSplash->show();
    m_frmSplash->raise();
    m_frmSplash->activateWindow();
}

void Form1::SelectAllText(QLineEdit* box) {
    box->setSelection(0, static_cast<int>(box->text().length()));
}

void Form1::RecomputeResults() {
    // The user's number settings, read afresh each time.
    const QLocale locale;
    const mensura::Separators separators{locale.groupSeparator().toStdString(),
                                         locale.decimalPoint().toStdString()};
    m_writtenThisRun.reset();
    const mensura::RunStatus status = mensura::RecomputeResults(*this, separators);
    if (status.kind != mensura::RunStatus::Kind::CellFailed) return;
    // A cell's value did not fit its precision and the run stopped there.
    // Say so in that row, and empty every row the run did not reach, so that
    // no row goes on showing a number computed from an earlier input.
    for (int row = 1; row <= kRowCount; ++row) {
        if (row == status.failedRow)
            m_values[Index(row)]->SetCaption(ErrorCaption(status.error));
        else if (!m_writtenThisRun.test(Index(row)))
            m_values[Index(row)]->SetCaption(QString());
    }
}
