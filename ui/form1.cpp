#include "form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyleOptionComplex>
#include <QVBoxLayout>
#include <cmath>

#include "accessible_batch.h"
#include "application.h"
#include "caption_label.h"
#include "form1_layout.h"
#include "frm_splash.h"
#include "help_command.h"
#include "line_edit_guard.h"
#include "recompute.h"
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

QString FromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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

Form1::Form1(QWidget* parent)
    : QWidget(parent),
      m_menus(this, [this](int row) { return Row(row); }),
      m_aboutCloseDelay(frmSplash::kCloseAfterMs) {
    setObjectName(QStringLiteral("Form1"));
    setFont(StandardFont());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);

    setWindowIcon(WindowIcon());

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
            return number ? FromStd(AllDigits(number->value, number->precision)) : QString();
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
    // A typed text equal to an item makes that item current, so that Up,
    // Down and the open list go on from the unit shown. The text stays as
    // typed and nothing is raised: typing still converts nothing by itself.
    connect(m_cboMeasures->lineEdit(), &QLineEdit::textChanged, this, [this](const QString& text) {
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

void Form1::SetValueCaption(int row, const std::string& caption, std::optional<CellNumber> number,
                            std::string_view rowUnit) {
    if (row < 1 || row > kRowCount) return;
    WriteValue(row, FromStd(caption), number, rowUnit);
}

void Form1::WriteValue(int row, const QString& caption, std::optional<CellNumber> number,
                       std::string_view unit) {
    if (number && !std::isfinite(number->value)) number.reset();  // "Out of range"
    m_numbers[Index(row)] = number;
    m_values[Index(row)]->SetCaption(caption);
    DescribeValue(row, unit);
}

// The unit string of a row in the category shown; also for the weight rows
// whose name labels are blank.
std::string Form1::RowUnit(int row) const {
    const Category* category = FindCategory(CategoryTitle());
    return category ? category->units[Index(row)] : std::string();
}

// The row of the unit the number is in shows that unit's own name.
bool Form1::ShowsItsUnit(int row, std::string_view unit) const {
    return !unit.empty() && !m_numbers[Index(row)] && m_values[Index(row)]->text() == FromStd(unit);
}

bool Form1::IsSourceRow(int row) const {
    return ShowsItsUnit(row, RowUnit(row));
}

// The number Copy Number takes: the shown result as a plain decimal, or on
// the source row the number read from the input box. Empty when there is
// none (an empty label, "Out of range", "Overflow").
QString Form1::NumberToCopy(int row) const {
    if (const auto& number = m_numbers[Index(row)])
        return FromStd(PlainResult(number->value, number->precision));
    if (IsSourceRow(row)) return FromStd(PlainSingle(ReadInputValue(*this)));
    return QString();
}

ResultRow Form1::Row(int row) const {
    return {FromStd(RowUnit(row)), m_values[Index(row)]->text(), NumberToCopy(row),
            !m_names[Index(row)]->text().isEmpty()};
}

// --- Events -------------------------------------------------------------------

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        const QPoint globalPos = static_cast<QContextMenuEvent*>(event)->globalPos();
        if (watched == m_txtUserData)
            txtUserData_ContextMenu(globalPos);
        else
            m_menus.ShowResultsMenu(globalPos);
        return true;
    }
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

void Form1::keyPressEvent(QKeyEvent* event) {
    // The cancel button answers an Escape that no control used. An open
    // list or menu is a window of its own and closes on its Escape, which
    // so never gets here: closing the unit list keeps the results.
    if (event->matches(QKeySequence::Cancel)) {
        m_cmdClear->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

// --- Handlers -----------------------------------------------------------------

void Form1::Form_Load() {
    ShowCategory(*FindCategory("LENGTH"));
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
    const Category* category = FindCategory(name);
    if (!category) return;
    const AccessibleBatch batch = ResultsBatch();
    m_txtUserData->setFocus(Qt::OtherFocusReason);  // its focus handler selects the text
    m_cmdClear->click();                            // runs cmdClear_Click to its end
    ShowCategory(*category);
    RecomputeResults();  // the number in the box, now in the default unit
}

// The selector's list and text, the title and the row names of a category.
// The default unit becomes the selector's text and its current item, so
// that Up, Down and the open list start from it; this raises nothing.
void Form1::ShowCategory(const Category& category) {
    const AccessibleBatch batch = ResultsBatch();
    {
        const QSignalBlocker blocker(m_cboMeasures);
        m_cboMeasures->clear();
        for (const std::string& item : category.selectorItems)
            m_cboMeasures->addItem(QString::fromStdString(item));
        const QString unit = QString::fromStdString(category.defaultUnit);
        m_cboMeasures->setCurrentIndex(m_cboMeasures->findText(unit));
        m_cboMeasures->setEditText(unit);
    }
    m_lbMeasurement->SetCaption(QString::fromStdString(category.name));
    for (int row = 1; row <= kRowCount; ++row) {
        m_names[Index(row)]->SetCaption(QString::fromStdString(category.nameCaptions[Index(row)]));
        DescribeValue(row, category.units[Index(row)]);
    }
    m_lbMeasurement->setAccessibleDescription(m_lbMeasurement->text());
}

void Form1::cboMeasures_Click() {
    const AccessibleBatch batch = ResultsBatch();
    // Mark the chosen unit's row. The unit is looked for among all 45 unit
    // strings, whatever the category; they are all different.
    const std::string unit = UnitText();
    if (const int row = UnitRow(unit)) SetValueCaption(row, unit, std::nullopt, unit);
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
    const AccessibleBatch batch = ResultsBatch();
    const Category* category = FindCategory(CategoryTitle());
    for (int row = 1; row <= kRowCount; ++row)
        WriteValue(row, QString(), std::nullopt,
                   category ? category->units[Index(row)] : std::string_view());
}

void Form1::mnuClearItem_Click() {
    cmdClear_Click();
}

void Form1::mnuHelpItem_Click() {
    // The current directory and the file name, joined as they are: a root
    // "/" gives "//MnsHlp.chm". Where the file is then looked for, and what
    // is shown, is the help layer's business; its answer is not needed.
    const QByteArray path = (QDir::currentPath() + QStringLiteral("/MnsHlp.chm")).toLocal8Bit();
    HtmlHelp(nullptr /* no owner */, path.constData(), HH_DISPLAY_TOPIC, 0);
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
    const Separators separators{locale.groupSeparator().toStdString(),
                                locale.decimalPoint().toStdString()};
    // Assistive technology hears of the whole recompute once, at its end,
    // from the results group, whose description then names what the engine
    // read: the later batch's action is the one that runs.
    const AccessibleBatch batch;
    // A cell whose value does not fit its precision stops the run; the
    // engine then says so in that row and empties the rows it did not reach.
    const RunStatus run = mensura::RecomputeResults(*this, separators, OnFailure::ShowInRows);
    const AccessibleBatch described([this, run] { DescribeResults(&run); });
}

// The box's own editing menu, and below it the results.
void Form1::txtUserData_ContextMenu(const QPoint& globalPos) {
    QMenu* menu = m_txtUserData->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("mnuInput"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (QMenu* results = m_menus.ResultsMenu(QStringLiteral("Re&sults"), menu)) {
        menu->addSeparator();
        menu->addMenu(results);
    }
    menu->popup(globalPos);
}

// Shift+F10: the context menu of the control that has the focus, as the
// Menu key opens it.
void Form1::OpenContextMenuOfFocus() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != this) return;
    const QPoint pos = focus->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, pos, focus->mapToGlobal(pos));
    QApplication::sendEvent(focus, &event);
}

}  // namespace mensura
