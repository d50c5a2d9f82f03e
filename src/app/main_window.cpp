#include "main_window.h"

#include "ad_panel_host.h"
#include "alarm_entry.h"
#include "alarm_list_view.h"
#include "alarm_session.h"
#include "app_icon.h"
#include "clock.h"
#include "clock_ticks.h"
#include "control_table.h"
#include "date_time_text.h"
#include "gap_label.h"
#include "link_label.h"
#include "look.h"
#include "product.h"
#include "reminder_placement.h"
#include "tray_icon.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

int Px(int twips)
{
    return TwipsToPixels(twips);
}

// None places a control exactly as drawn without asking its size: a combo
// box remembers the first size it was asked for, and before its entries are
// there that size is too small.
enum class Grow { None, HeightOnly, WidthAndHeight };

// The size a combo box needs for its entries. Until it is first shown a
// combo box answers with the size of an empty one; a fresh box that is told
// to size itself by its entries answers for it.
QSize FittingSize(const QComboBox* combo)
{
    QComboBox probe;
    probe.setSizeAdjustPolicy(QComboBox::AdjustToContents);
    probe.setEditable(combo->isEditable());
    probe.setFont(combo->font());
    for (int i = 0; i < combo->count(); ++i)
        probe.addItem(combo->itemText(i));
    probe.ensurePolished();
    return probe.sizeHint();
}

// Puts a control at its drawn place. A control whose text needs more room
// than the drawn size (another font than the one the layout was drawn with)
// is made larger rather than cut: wider to the right, taller around its
// middle so that it stays on its row.
void Place(QWidget* widget, Grow grow = Grow::WidthAndHeight)
{
    const ControlPlace& place = PlaceOf(widget->objectName());
    QRect rect(Px(place.left), Px(place.top), Px(place.width), Px(place.height));
    if (grow == Grow::None) {
        widget->setGeometry(rect);
        return;
    }
    const auto* combo = qobject_cast<const QComboBox*>(widget);
    const QSize hint = combo ? FittingSize(combo) : widget->sizeHint();
    if (grow == Grow::WidthAndHeight && hint.width() > rect.width())
        rect.setWidth(hint.width());
    if (hint.height() > rect.height()) {
        const int extra = hint.height() - rect.height();
        rect.moveTop(rect.top() - extra / 2);
        rect.setHeight(hint.height());
    }
    widget->setGeometry(rect);
}

QLabel* MakeLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QComboBox* MakeCombo(const QString& name, bool editable, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(editable);
    // The lists are fixed and typed entries are used as typed, never added
    // and never completed: "2" stays 2 hours, not the "20" the list holds.
    combo->setInsertPolicy(QComboBox::NoInsert);
    if (editable)
        combo->setCompleter(nullptr);
    return combo;
}

QStringList TwoDigitNumbers(int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts.append(QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')));
    return texts;
}

Qt::CheckState CheckState(int value)
{
    switch (value) {
    case 0:
        return Qt::Unchecked;
    case 2:
        return Qt::PartiallyChecked;
    default:
        return Qt::Checked;
    }
}

// A check box's state as the options store it: 0 off, 1 on, 2 grey.
int StoredState(Qt::CheckState state)
{
    switch (state) {
    case Qt::Unchecked:
        return 0;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Checked:
        break;
    }
    return 1;
}

// A field whose text cannot be read gets a red frame and says how to write
// it; an empty hint takes the mark away.
void MarkUnreadable(QLineEdit* field, const QString& hint)
{
    field->setStyleSheet(hint.isEmpty() ? QString() : QStringLiteral("QLineEdit { border: 2px solid #ff0000; }"));
    field->setToolTip(hint);
}

const QString kTimeHint = QStringLiteral("无法识别，请按 2026/12/6 23:00 的样式填写");
const QString kAdvanceHint = QStringLiteral("无法识别，请填写分钟数，例如 2");

const QString kClockPrefix = QStringLiteral("当前时间 ");
const QString kAdvanceCaption = QStringLiteral("提前提醒         分钟（推荐）");

} // namespace

MainWindow::MainWindow(AlarmSession& session, ClockTicks& ticks, AdPanelHost& adPanel,
                       std::function<bool()> trayAvailable, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_ticks(ticks)
    , m_adPanelHost(adPanel)
    , m_trayAvailable(std::move(trayAvailable))
    , m_entry(session.clock(), session.dateTimeText())
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kProductName + QStringLiteral("2.1版"));
    setWindowIcon(AppIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    createControls();
    placeControls(false);
    connectControls();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    m_entryFrame = new QGroupBox(QStringLiteral("添加闹钟"), this);
    m_entryFrame->setObjectName(QStringLiteral("Frame1"));
    m_clockLabel = MakeLabel(QStringLiteral("lTime"), kClockPrefix, m_entryFrame);
    SetRedText(m_clockLabel);
    MakeLabel(QStringLiteral("Label2"), QStringLiteral("剩余时间"), m_entryFrame);
    m_hoursList = MakeCombo(QStringLiteral("cZQH"), true, m_entryFrame);
    MakeLabel(QStringLiteral("Label1"), QStringLiteral("时"), m_entryFrame);
    m_minutesList = MakeCombo(QStringLiteral("cZQM"), true, m_entryFrame);
    MakeLabel(QStringLiteral("Label7"), QStringLiteral("分"), m_entryFrame);
    m_advanceCaption = new GapLabel(kAdvanceCaption, m_entryFrame);
    m_advanceCaption->setObjectName(QStringLiteral("Label3"));
    m_advanceMinutes = new QLineEdit(QStringLiteral("2"), m_entryFrame);
    m_advanceMinutes->setObjectName(QStringLiteral("tSJ"));
    MakeLabel(QStringLiteral("Label4"), QStringLiteral("报警时间"), m_entryFrame);
    m_alarmTime = new QLineEdit(m_entryFrame);
    m_alarmTime->setObjectName(QStringLiteral("cJS"));
    MakeLabel(QStringLiteral("Label5"), QStringLiteral("提醒类型"), m_entryFrame);
    m_reminderType = MakeCombo(QStringLiteral("cTX"), false, m_entryFrame);
    MakeLabel(QStringLiteral("Label10"), QStringLiteral("提示文字"), m_entryFrame);
    m_reminderText = MakeCombo(QStringLiteral("cTxt"), true, m_entryFrame);
    MakeLabel(QStringLiteral("Label6"), QStringLiteral("附加动作"), m_entryFrame);
    m_extraAction = MakeCombo(QStringLiteral("cDZ"), false, m_entryFrame);
    m_addButton = new QPushButton(QStringLiteral("添加闹钟"), m_entryFrame);
    m_addButton->setObjectName(QStringLiteral("cmdAdd"));

    m_optionsFrame = new QGroupBox(QStringLiteral("选项"), this);
    m_optionsFrame->setObjectName(QStringLiteral("Frame3"));
    m_clearExpired = new QCheckBox(QStringLiteral("自动清除过期闹钟。"), m_optionsFrame);
    m_clearExpired->setObjectName(QStringLiteral("ckClr"));
    m_clearExpired->setChecked(true);
    m_startAtLogin = new QCheckBox(QStringLiteral("随电脑自动启动。"), m_optionsFrame);
    m_startAtLogin->setObjectName(QStringLiteral("ckAuto"));

    m_listFrame = new QGroupBox(QStringLiteral("闹钟列表(鼠标右键调出删除闹钟菜单)"), this);
    m_listFrame->setObjectName(QStringLiteral("Frame2"));
    m_alarmList = new AlarmListView(m_listFrame);
    m_alarmList->setObjectName(QStringLiteral("lstA"));
    m_alarmList->setModel(&m_session.book().model());
    m_adPanel = m_adPanelHost.createPanel(m_listFrame);
    m_adPanel->setObjectName(QStringLiteral("pBox"));
    m_adPanel->raise();

    auto* forum = new LinkLabel(QStringLiteral("交流论坛"), this);
    QFont forumFont = ChineseFont(forum->font());
    forumFont.setPointSize(9);
    forumFont.setUnderline(true);
    forum->setFont(forumFont);
    connect(forum, &LinkLabel::clicked, &m_session, &AlarmSession::openForum);
    m_forumLink = forum;
    m_forumLink->setObjectName(QStringLiteral("Label8"));
    m_hint = MakeLabel(QStringLiteral("Label9"),
                       QStringLiteral("剩余时间从选定那一刻算起；闹钟会按“提前提醒”的分钟数提早响起。"), this);

    m_listMenu = new QMenu(this);
    m_listMenu->setObjectName(QStringLiteral("mM"));
    m_deleteOne = m_listMenu->addAction(QStringLiteral("删除这个闹钟"));
    m_deleteOne->setObjectName(QStringLiteral("mDelC"));
    m_deleteOne->setEnabled(false);
    m_deleteAll = m_listMenu->addAction(QStringLiteral("删除全部闹钟"));
    m_deleteAll->setObjectName(QStringLiteral("mDelAC"));
}

void MainWindow::placeControls(bool listsFilled)
{
    const Grow list = listsFilled ? Grow::WidthAndHeight : Grow::None;
    // The two short number lists stay as drawn between their labels.
    const Grow number = listsFilled ? Grow::HeightOnly : Grow::None;
    // Sizes are only final once the style has seen the controls.
    ensurePolished();
    for (QGroupBox* frame : {m_entryFrame, m_optionsFrame, m_listFrame})
        Place(frame, Grow::HeightOnly);
    for (QWidget* control : m_entryFrame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control == m_hoursList || control == m_minutesList)
            Place(control, number);
        else if (control == m_reminderType || control == m_reminderText || control == m_extraAction)
            Place(control, list);
        else if (control == m_advanceMinutes || control == m_alarmTime)
            Place(control, Grow::HeightOnly);
        else if (control != m_advanceCaption)
            Place(control);
    }

    // The advance field stands in the run of blanks inside its label; the
    // run is drawn as wide as the field needs, whatever the font's blanks.
    {
        const int runStart = Px(PlaceOf(u"Label3").left) + m_advanceCaption->gapStart();
        if (runStart > m_advanceMinutes->x() - 2)
            m_advanceMinutes->move(runStart + 2, m_advanceMinutes->y());
        m_advanceCaption->setGapWidth(m_advanceMinutes->geometry().right() + 4 - runStart);
    }
    Place(m_advanceCaption);
    m_advanceMinutes->raise();

    Place(m_clearExpired);
    Place(m_startAtLogin);
    Place(m_alarmList, Grow::HeightOnly);
    Place(m_adPanel, Grow::None);
    Place(m_hint);
    Place(m_forumLink);

    makeRoom();
}

void MainWindow::makeRoom()
{
    // A widened control may reach past its frame: the left frames grow with
    // it, the list frame moves right, and the window grows to hold them.
    int frameWidth = m_entryFrame->width();
    for (QGroupBox* frame : {m_entryFrame, m_optionsFrame}) {
        for (const QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            frameWidth = std::max(frameWidth, child->geometry().right() + Px(120));
    }
    m_entryFrame->resize(frameWidth, m_entryFrame->height());
    m_optionsFrame->resize(frameWidth, m_optionsFrame->height());
    m_listFrame->move(std::max(Px(3015), m_entryFrame->geometry().right() + Px(60)), m_listFrame->y());
    m_forumLink->move(std::max(m_forumLink->x(), m_hint->geometry().right() + Px(120)), m_forumLink->y());

    QRect used;
    for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            used = used.united(child->geometry());
    }
    resize(std::max(used.right() + Px(90), Px(8445)), std::max(used.bottom() + Px(75), Px(5565)));
}

void MainWindow::connectControls()
{
    connect(m_hoursList, &QComboBox::editTextChanged, this, &MainWindow::recomputeAlarmTime);
    connect(m_hoursList, &QComboBox::activated, this, &MainWindow::recomputeAlarmTime);
    connect(m_minutesList, &QComboBox::editTextChanged, this, &MainWindow::recomputeAlarmTime);
    connect(m_minutesList, &QComboBox::activated, this, &MainWindow::recomputeAlarmTime);
    connect(m_reminderType, &QComboBox::currentIndexChanged, this, &MainWindow::applyReminderType);
    connect(m_addButton, &QPushButton::clicked, this, &MainWindow::addAlarm);
    m_advanceMinutes->installEventFilter(this);
    connect(m_alarmTime, &QLineEdit::textChanged, this, &MainWindow::clearCorrectedMarks);
    connect(m_advanceMinutes, &QLineEdit::textChanged, this, &MainWindow::clearCorrectedMarks);

    connect(m_advanceMinutes, &QLineEdit::textChanged, this, &MainWindow::optionsChanged);
    connect(m_clearExpired, &QCheckBox::stateChanged, this, &MainWindow::optionsChanged);
    connect(m_startAtLogin, &QCheckBox::toggled, &m_session, &AlarmSession::setAutoStart);
    connect(m_startAtLogin, &QCheckBox::stateChanged, this, &MainWindow::optionsChanged);

    AlarmBook& book = m_session.book();
    connect(m_alarmList, &AlarmListView::mouseDown, this, &MainWindow::handleListMouseDown);
    connect(m_deleteOne, &QAction::triggered, &book, [this, &book] { book.deleteAt(m_alarmList->selectedRow()); });
    connect(m_deleteAll, &QAction::triggered, &book, &AlarmBook::deleteAll);
    connect(&book, &AlarmBook::adPanelVisibleChanged, m_adPanel, &QWidget::setVisible);

    connect(&m_ticks, &ClockTicks::clockDue, this, &MainWindow::refreshClock);
}

void MainWindow::load()
{
    m_session.setRestoring(true);
    m_ticks.setClockRunning(false);
    m_tray = std::make_unique<TrayIcon>(*this, windowIcon(), m_trayAvailable);
    centre();
    refreshClock();
    restoreOptions();
    m_session.load(m_clearExpired->checkState() != Qt::Unchecked);
    if (m_session.book().count() > 0) {
        m_startsHidden = true;
        setWindowState(windowState() | Qt::WindowMinimized);
    }
    fillEntryLists();
    m_session.setRestoring(false);
    // The advertisement page loads once the window is on screen (showEvent),
    // so that starting the web view never holds up the first frame.
    m_session.scan();
}

void MainWindow::centre()
{
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

void MainWindow::restoreOptions()
{
    const Options::Restored restored = m_session.restoreOptions();
    m_advanceMinutes->setText(restored.time);
    // Setting a box runs the same reaction as the user's click: a stored
    // "Auto" of 1 registers the program at login again, so the registration
    // follows the program when it has been moved.
    if (restored.clear)
        m_clearExpired->setCheckState(CheckState(*restored.clear));
    if (restored.autoRun)
        m_startAtLogin->setCheckState(CheckState(*restored.autoRun));
}

void MainWindow::fillEntryLists()
{
    // Filling an empty list selects its first item, which runs the list's
    // reaction as a choice by the user would: the alarm time, then the
    // fields the type uses.
    m_hoursList->addItems(TwoDigitNumbers(24));
    m_hoursList->setCurrentIndex(0);
    m_minutesList->addItems(TwoDigitNumbers(60));
    m_minutesList->setCurrentIndex(0);
    m_reminderType->addItems(ReminderTypeTexts());
    m_reminderType->setCurrentIndex(0);
    m_extraAction->addItems(ExtraActionTexts());
    m_extraAction->setCurrentIndex(0);
    m_reminderText->addItems(SuggestedReminderTexts());
    m_reminderText->setCurrentIndex(0);
    // The lists' texts decide how wide their fields must be; a window that
    // grew for them is centred again.
    const QSize before = size();
    placeControls(true);
    if (size() != before)
        centre();
}

void MainWindow::showAtStart()
{
    if (!m_startsHidden) {
        show();
        return;
    }
    // Without a notification area a hidden window could never come back.
    if (!m_tray || !m_tray->isPresent())
        showMinimized();
}

void MainWindow::bringToFront()
{
    if (m_unloaded)
        return;
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

EntryPanelState MainWindow::panelState() const
{
    EntryPanelState state;
    state.hours = m_hoursList->currentText();
    state.minutes = m_minutesList->currentText();
    state.advance = m_advanceMinutes->text();
    state.alarmTime = m_alarmTime->text();
    state.type = m_reminderType->currentText();
    state.text = m_reminderText->currentText();
    state.action = m_extraAction->currentText();
    state.textEnabled = m_reminderText->isEnabled();
    state.actionEnabled = m_extraAction->isEnabled();
    return state;
}

void MainWindow::recomputeAlarmTime()
{
    EntryPanelState state = panelState();
    m_entry.recomputeAlarmTime(state);
    m_alarmTime->setText(state.alarmTime);
    // A time longer than the field (some locales spell the month out)
    // shows its beginning, the date, rather than its end.
    m_alarmTime->setCursorPosition(0);
}

void MainWindow::applyReminderType()
{
    EntryPanelState state = panelState();
    m_entry.applyReminderType(state);
    m_reminderText->setEnabled(state.textEnabled);
    m_extraAction->setEnabled(state.actionEnabled);
}

void MainWindow::addAlarm()
{
    // A time the program cannot read would fire at once: nothing is added,
    // and the field that needs correcting says so.
    const EntryPanelState state = panelState();
    const bool timeRead = m_entry.alarmTimeReadable(state);
    const bool advanceRead = m_entry.advanceReadable(state);
    MarkUnreadable(m_alarmTime, timeRead ? QString() : kTimeHint);
    MarkUnreadable(m_advanceMinutes, advanceRead ? QString() : kAdvanceHint);
    if (const auto line = m_entry.alarmLine(state))
        m_session.book().add(*line);
}

void MainWindow::clearCorrectedMarks()
{
    const EntryPanelState state = panelState();
    if (m_entry.alarmTimeReadable(state))
        MarkUnreadable(m_alarmTime, QString());
    if (m_entry.advanceReadable(state))
        MarkUnreadable(m_advanceMinutes, QString());
}

void MainWindow::handleListMouseDown(Qt::MouseButton button, const QPoint& globalPosition)
{
    if (button == Qt::RightButton && m_session.book().count() > 0)
        m_listMenu->exec(globalPosition);
    // Refreshed after every press, so the menu shows at its next opening
    // whether there is a selection to delete.
    m_deleteOne->setEnabled(!m_alarmList->selectedText().isEmpty());
}

void MainWindow::refreshClock()
{
    m_clockLabel->setText(kClockPrefix + m_session.dateTimeText().format(m_session.clock().now()));
    m_clockLabel->adjustSize();
}

void MainWindow::optionsChanged()
{
    m_session.optionsChanged(m_advanceMinutes->text(), StoredState(m_clearExpired->checkState()),
                             StoredState(m_startAtLogin->checkState()));
}

void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_tray && m_tray->isPresent()) {
        // Hidden once the window system has finished minimising; a window
        // restored meanwhile stays.
        QTimer::singleShot(0, this, &MainWindow::hideIfMinimised);
    }
}

void MainWindow::hideIfMinimised()
{
    if (isMinimized() && m_tray && m_tray->isPresent())
        hide();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refreshClock();
    m_ticks.setClockRunning(true);
    if (m_navigated)
        return;
    m_navigated = true;
    QTimer::singleShot(0, this, [this] { m_adPanelHost.navigate(m_session.sites().advertisement()); });
}

void MainWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Nobody reads the clock of a window hidden in the notification area: a
    // program left in the tray all day wakes only for the scan.
    m_ticks.setClockRunning(false);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A click into the advance field selects its whole text, so typing
    // replaces the number. Done after the field has placed its cursor.
    if (watched == m_advanceMinutes && event->type() == QEvent::MouseButtonPress)
        QTimer::singleShot(0, m_advanceMinutes, &QLineEdit::selectAll);
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (m_unloaded)
        return;
    m_unloaded = true;
    disconnect(&m_ticks, nullptr, this, nullptr);
    m_session.unload(m_advanceMinutes->text(), StoredState(m_clearExpired->checkState()),
                     StoredState(m_startAtLogin->checkState()));
    m_tray.reset();
    Q_EMIT closed();
}
