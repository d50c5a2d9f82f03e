#include "main_window.h"

#include "ad_panel_host.h"
#include "alarm_entry.h"
#include "alarm_file.h"
#include "alarm_list_view.h"
#include "app_icon.h"
#include "auto_start.h"
#include "clock.h"
#include "clock_ticks.h"
#include "date_time_text.h"
#include "gap_label.h"
#include "link_label.h"
#include "strict_number.h"
#include "tray_icon.h"
#include "url_opener.h"

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

// The layout is drawn in twips: 15 twips to a logical pixel.
int Px(int twips)
{
    return (twips * 2 + 15) / 30;
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

// Puts a control at its place. A control whose text needs more room than
// the drawn size (another font than the one the layout was drawn with) is
// made larger rather than cut: wider to the right, taller around its middle
// so that it stays on its row.
void Place(QWidget* widget, int left, int top, int width, int height, Grow grow = Grow::WidthAndHeight)
{
    QRect rect(Px(left), Px(top), Px(width), Px(height));
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

void SetRed(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(0xFF, 0x00, 0x00));
    widget->setPalette(palette);
}

// A field whose text cannot be read gets a red frame and says why.
void MarkUnreadable(QLineEdit* field, bool unreadable)
{
    if (unreadable == !field->toolTip().isEmpty())
        return;
    field->setStyleSheet(unreadable ? QStringLiteral("QLineEdit { border: 2px solid #ff0000; }") : QString());
    field->setToolTip(unreadable ? (field->objectName() == u"tSJ"
                                        ? QStringLiteral("无法识别，请填写分钟数，例如 2")
                                        : QStringLiteral("无法识别，请按 2026/12/6 23:00 的样式填写"))
                                 : QString());
}

const QString kClockPrefix = QStringLiteral("当前时间 ");
const QString kAdvanceCaption = QStringLiteral("提前提醒         分钟（推荐）");

} // namespace

MainWindow::MainWindow(MainWindowParts parts, QWidget* parent)
    : QWidget(parent)
    , m_parts(std::move(parts))
    , m_sites(m_parts.settings)
    , m_options(m_parts.settings)
    , m_entry(m_parts.clock, m_parts.dateTimeText)
    , m_book(m_parts.alarmFile, m_parts.saveFailure)
    , m_outputs({m_parts.sound, m_parts.reminder, m_parts.browser, m_parts.powerOff, m_book,
                 [this] { m_ended = true; }, [this] { endProgram(); }})
    , m_scanner(m_book, m_outputs, m_parts.clock, m_parts.dateTimeText, m_sites)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Nelo闹钟2.1版"));
    setWindowIcon(AppIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    createControls();
    placeControls(false);
    connectControls();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    m_frame1 = new QGroupBox(QStringLiteral("添加闹钟"), this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_lTime = MakeLabel(QStringLiteral("lTime"), kClockPrefix, m_frame1);
    SetRed(m_lTime);
    m_label2 = MakeLabel(QStringLiteral("Label2"), QStringLiteral("剩余时间"), m_frame1);
    m_cZQH = MakeCombo(QStringLiteral("cZQH"), true, m_frame1);
    m_label1 = MakeLabel(QStringLiteral("Label1"), QStringLiteral("时"), m_frame1);
    m_cZQM = MakeCombo(QStringLiteral("cZQM"), true, m_frame1);
    m_label7 = MakeLabel(QStringLiteral("Label7"), QStringLiteral("分"), m_frame1);
    m_label3 = new GapLabel(kAdvanceCaption, m_frame1);
    m_label3->setObjectName(QStringLiteral("Label3"));
    m_tSJ = new QLineEdit(QStringLiteral("2"), m_frame1);
    m_tSJ->setObjectName(QStringLiteral("tSJ"));
    m_label4 = MakeLabel(QStringLiteral("Label4"), QStringLiteral("报警时间"), m_frame1);
    m_cJS = new QLineEdit(m_frame1);
    m_cJS->setObjectName(QStringLiteral("cJS"));
    m_label5 = MakeLabel(QStringLiteral("Label5"), QStringLiteral("提醒类型"), m_frame1);
    m_cTX = MakeCombo(QStringLiteral("cTX"), false, m_frame1);
    m_label10 = MakeLabel(QStringLiteral("Label10"), QStringLiteral("提示文字"), m_frame1);
    m_cTxt = MakeCombo(QStringLiteral("cTxt"), true, m_frame1);
    m_label6 = MakeLabel(QStringLiteral("Label6"), QStringLiteral("附加动作"), m_frame1);
    m_cDZ = MakeCombo(QStringLiteral("cDZ"), false, m_frame1);
    m_cmdAdd = new QPushButton(QStringLiteral("添加闹钟"), m_frame1);
    m_cmdAdd->setObjectName(QStringLiteral("cmdAdd"));

    m_frame3 = new QGroupBox(QStringLiteral("选项"), this);
    m_frame3->setObjectName(QStringLiteral("Frame3"));
    m_ckClr = new QCheckBox(QStringLiteral("自动清除过期闹钟。"), m_frame3);
    m_ckClr->setObjectName(QStringLiteral("ckClr"));
    m_ckClr->setChecked(true);
    m_ckAuto = new QCheckBox(QStringLiteral("随电脑自动启动。"), m_frame3);
    m_ckAuto->setObjectName(QStringLiteral("ckAuto"));

    m_frame2 = new QGroupBox(QStringLiteral("闹钟列表(鼠标右键调出删除闹钟菜单)"), this);
    m_frame2->setObjectName(QStringLiteral("Frame2"));
    m_lstA = new AlarmListView(m_frame2);
    m_lstA->setObjectName(QStringLiteral("lstA"));
    m_lstA->setModel(&m_book.model());
    m_pBox = m_parts.adPanel.createPanel(m_frame2);
    m_pBox->setObjectName(QStringLiteral("pBox"));
    m_pBox->raise();

    auto* forum = new LinkLabel(QStringLiteral("交流论坛"), this);
    QFont forumFont = forum->font();
    forumFont.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), forumFont.family()});
    forumFont.setPointSize(9);
    forumFont.setUnderline(true);
    forum->setFont(forumFont);
    connect(forum, &LinkLabel::clicked, this, [this] { m_parts.browser.openUrl(m_sites.forum()); });
    m_label8 = forum;
    m_label8->setObjectName(QStringLiteral("Label8"));
    m_label9 = MakeLabel(QStringLiteral("Label9"),
                         QStringLiteral("剩余时间从选定那一刻算起；闹钟会按“提前提醒”的分钟数提早响起。"), this);

    m_mM = new QMenu(this);
    m_mM->setObjectName(QStringLiteral("mM"));
    m_mDelC = m_mM->addAction(QStringLiteral("删除这个闹钟"));
    m_mDelC->setObjectName(QStringLiteral("mDelC"));
    m_mDelC->setEnabled(false);
    m_mDelAC = m_mM->addAction(QStringLiteral("删除全部闹钟"));
    m_mDelAC->setObjectName(QStringLiteral("mDelAC"));
}

void MainWindow::placeControls(bool listsFilled)
{
    const Grow list = listsFilled ? Grow::WidthAndHeight : Grow::None;
    // The two short number lists stay as drawn between their labels.
    const Grow number = listsFilled ? Grow::HeightOnly : Grow::None;
    // Sizes are only final once the style has seen the controls.
    ensurePolished();
    Place(m_frame1, 105, 75, 2865, 3960, Grow::HeightOnly);
    Place(m_lTime, 120, 330, 765, 180);
    Place(m_label2, 120, 750, 720, 180);
    Place(m_cZQH, 900, 686, 690, 300, number);
    Place(m_label1, 1635, 750, 180, 180);
    Place(m_cZQM, 1875, 686, 690, 300, number);
    Place(m_label7, 2610, 750, 180, 180);
    Place(m_tSJ, 900, 1091, 690, 300, Grow::HeightOnly);

    // The advance field stands in the run of blanks inside its label; the
    // run is drawn as wide as the field needs, whatever the font's blanks.
    {
        const int runStart = Px(120) + m_label3->gapStart();
        if (runStart > m_tSJ->x() - 2)
            m_tSJ->move(runStart + 2, m_tSJ->y());
        m_label3->setGapWidth(m_tSJ->geometry().right() + 4 - runStart);
    }
    Place(m_label3, 120, 1155, 2610, 180);
    m_tSJ->raise();

    Place(m_label4, 120, 1560, 720, 180);
    Place(m_cJS, 900, 1496, 1860, 300, Grow::HeightOnly);
    Place(m_label5, 120, 1965, 720, 180);
    Place(m_cTX, 900, 1901, 1860, 300, list);
    Place(m_label10, 120, 2370, 720, 180);
    Place(m_cTxt, 900, 2306, 1860, 300, list);
    Place(m_label6, 120, 2775, 720, 180);
    Place(m_cDZ, 900, 2715, 1860, 300, list);
    Place(m_cmdAdd, 120, 3165, 2625, 690);

    Place(m_frame3, 105, 4080, 2865, 1050, Grow::HeightOnly);
    Place(m_ckClr, 150, 315, 2040, 225);
    Place(m_ckAuto, 150, 660, 1770, 255);

    Place(m_frame2, 3015, 75, 5340, 5055, Grow::HeightOnly);
    Place(m_lstA, 120, 315, 5085, 4560, Grow::HeightOnly);
    m_pBox->setGeometry(Px(145), Px(545), Px(4995), Px(4215));

    Place(m_label9, 90, 5250, 6450, 240);
    Place(m_label8, 7605, 5280, 720, 180);

    makeRoom();
}

void MainWindow::makeRoom()
{
    // A widened control may reach past its frame: the left frames grow with
    // it, the list frame moves right, and the window grows to hold them.
    int frameWidth = m_frame1->width();
    for (QGroupBox* frame : {m_frame1, m_frame3}) {
        for (const QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            frameWidth = std::max(frameWidth, child->geometry().right() + Px(120));
    }
    m_frame1->resize(frameWidth, m_frame1->height());
    m_frame3->resize(frameWidth, m_frame3->height());
    m_frame2->move(std::max(Px(3015), m_frame1->geometry().right() + Px(60)), m_frame2->y());
    m_label8->move(std::max(m_label8->x(), m_label9->geometry().right() + Px(120)), m_label8->y());

    QRect used;
    for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            used = used.united(child->geometry());
    }
    resize(std::max(used.right() + Px(90), Px(8445)), std::max(used.bottom() + Px(75), Px(5565)));
}

void MainWindow::connectControls()
{
    connect(m_cZQH, &QComboBox::editTextChanged, this, &MainWindow::recomputeAlarmTime);
    connect(m_cZQH, &QComboBox::activated, this, &MainWindow::recomputeAlarmTime);
    connect(m_cZQM, &QComboBox::editTextChanged, this, &MainWindow::recomputeAlarmTime);
    connect(m_cZQM, &QComboBox::activated, this, &MainWindow::recomputeAlarmTime);
    connect(m_cTX, &QComboBox::currentIndexChanged, this, &MainWindow::applyReminderType);
    connect(m_cmdAdd, &QPushButton::clicked, this, &MainWindow::addAlarm);
    m_tSJ->installEventFilter(this);
    connect(m_cJS, &QLineEdit::textChanged, this, &MainWindow::clearCorrectedMarks);
    connect(m_tSJ, &QLineEdit::textChanged, this, &MainWindow::clearCorrectedMarks);

    connect(m_tSJ, &QLineEdit::textChanged, this, &MainWindow::saveOptions);
    connect(m_ckClr, &QCheckBox::stateChanged, this, &MainWindow::saveOptions);
    connect(m_ckAuto, &QCheckBox::toggled, this, &MainWindow::autoStartToggled);
    connect(m_ckAuto, &QCheckBox::stateChanged, this, &MainWindow::saveOptions);

    connect(m_lstA, &AlarmListView::mouseDown, this, &MainWindow::handleListMouseDown);
    connect(m_mDelC, &QAction::triggered, this, &MainWindow::deleteSelectedAlarm);
    connect(m_mDelAC, &QAction::triggered, this, &MainWindow::deleteAllAlarms);
    connect(&m_book, &AlarmBook::adPanelVisibleChanged, m_pBox, &QWidget::setVisible);

    connect(&m_parts.ticks, &ClockTicks::clockDue, this, &MainWindow::refreshClock);
    connect(&m_parts.ticks, &ClockTicks::scanDue, this, &MainWindow::scanAlarms);
}

void MainWindow::load()
{
    m_loading = true;
    m_tray = std::make_unique<TrayIcon>(*this, windowIcon(), m_parts.trayAvailable);
    centre();
    refreshClock();
    restoreOptions();
    m_book.load(m_ckClr->checkState() != Qt::Unchecked, m_parts.clock, m_parts.dateTimeText);
    if (m_book.count() > 0) {
        m_startsHidden = true;
        setWindowState(windowState() | Qt::WindowMinimized);
        m_book.setAdPanelVisible(false);
    }
    fillEntryLists();
    m_loading = false;
    // The advertisement page loads once the window is on screen (showEvent),
    // so that starting the web view never holds up the first frame.
    scanAlarms();
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
    const Options::Restored restored = m_options.load();
    m_tSJ->setText(restored.time);
    // Setting a box runs the same reaction as the user's click: a stored
    // "Auto" of 1 registers the program at login again, so the registration
    // follows the program when it has been moved.
    if (restored.clear)
        m_ckClr->setCheckState(CheckState(*restored.clear));
    if (restored.autoRun)
        m_ckAuto->setCheckState(CheckState(*restored.autoRun));
}

void MainWindow::fillEntryLists()
{
    // Filling an empty list selects its first item, which runs the list's
    // reaction as a choice by the user would: the alarm time, then the
    // fields the type uses.
    m_cZQH->addItems(TwoDigitNumbers(24));
    m_cZQH->setCurrentIndex(0);
    m_cZQM->addItems(TwoDigitNumbers(60));
    m_cZQM->setCurrentIndex(0);
    m_cTX->addItems(ReminderTypeTexts());
    m_cTX->setCurrentIndex(0);
    m_cDZ->addItems(ExtraActionTexts());
    m_cDZ->setCurrentIndex(0);
    m_cTxt->addItems(SuggestedReminderTexts());
    m_cTxt->setCurrentIndex(0);
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
    state.hours = m_cZQH->currentText();
    state.minutes = m_cZQM->currentText();
    state.advance = m_tSJ->text();
    state.alarmTime = m_cJS->text();
    state.type = m_cTX->currentText();
    state.text = m_cTxt->currentText();
    state.action = m_cDZ->currentText();
    state.textEnabled = m_cTxt->isEnabled();
    state.actionEnabled = m_cDZ->isEnabled();
    return state;
}

void MainWindow::recomputeAlarmTime()
{
    EntryPanelState state = panelState();
    m_entry.recomputeAlarmTime(state);
    m_cJS->setText(state.alarmTime);
    // A time longer than the field (some locales spell the month out)
    // shows its beginning, the date, rather than its end.
    m_cJS->setCursorPosition(0);
}

void MainWindow::applyReminderType()
{
    EntryPanelState state = panelState();
    m_entry.applyReminderType(state);
    m_cTxt->setEnabled(state.textEnabled);
    m_cDZ->setEnabled(state.actionEnabled);
}

void MainWindow::addAlarm()
{
    // A time the program cannot read would fire at once: nothing is added,
    // and the field that needs correcting says so.
    const EntryPanelState state = panelState();
    const bool timeRead = m_entry.alarmTimeReadable(state);
    const bool advanceRead = m_entry.advanceReadable(state);
    MarkUnreadable(m_cJS, !timeRead);
    MarkUnreadable(m_tSJ, !advanceRead);
    if (const auto line = m_entry.alarmLine(state))
        m_book.add(*line);
}

void MainWindow::clearCorrectedMarks()
{
    const EntryPanelState state = panelState();
    if (m_entry.alarmTimeReadable(state))
        MarkUnreadable(m_cJS, false);
    if (m_entry.advanceReadable(state))
        MarkUnreadable(m_tSJ, false);
}

void MainWindow::handleListMouseDown(Qt::MouseButton button, const QPoint& globalPosition)
{
    if (button == Qt::RightButton && m_book.count() > 0)
        m_mM->exec(globalPosition);
    // Refreshed after every press, so the menu shows at its next opening
    // whether there is a selection to delete.
    m_mDelC->setEnabled(!m_lstA->selectedText().isEmpty());
}

void MainWindow::deleteSelectedAlarm()
{
    m_book.deleteAt(m_lstA->selectedRow());
}

void MainWindow::deleteAllAlarms()
{
    m_book.deleteAll();
}

void MainWindow::refreshClock()
{
    // Nobody reads the clock of a window hidden in the notification area:
    // it is brought up to date when the window shows again, so a program
    // left in the tray all day does next to nothing every second.
    if (!isVisible() && !m_loading)
        return;
    m_lTime->setText(kClockPrefix + m_parts.dateTimeText.format(m_parts.clock.now()));
    m_lTime->adjustSize();
}

void MainWindow::scanAlarms()
{
    if (m_unloaded || m_ended)
        return;
    const int fired = m_scanner.scan();
    if (!m_ended)
        m_book.scanned(fired);
}

void MainWindow::saveOptions()
{
    if (m_loading)
        return;
    m_options.save(m_tSJ->text(), StoredState(m_ckClr->checkState()), StoredState(m_ckAuto->checkState()));
}

void MainWindow::autoStartToggled(bool checked)
{
    if (checked)
        m_parts.autoStart.enable();
    else
        m_parts.autoStart.disable();
}

void MainWindow::endProgram()
{
    m_ended = true;
    m_parts.endProgram();
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
    if (m_navigated)
        return;
    m_navigated = true;
    QTimer::singleShot(0, this, [this] { m_parts.adPanel.navigate(m_sites.advertisement()); });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A click into the advance field selects its whole text, so typing
    // replaces the number. Done after the field has placed its cursor.
    if (watched == m_tSJ && event->type() == QEvent::MouseButtonPress)
        QTimer::singleShot(0, m_tSJ, &QLineEdit::selectAll);
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    unload();
    event->accept();
}

void MainWindow::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    disconnect(&m_parts.ticks, nullptr, this, nullptr);
    m_book.save();
    m_loading = false;
    saveOptions();
    m_tray.reset();
    Q_EMIT closed();
}
