#include "test_registry.h"
#include "main_window.h"

#include "alarm_session.h"

#include "alarm_file.h"
#include "app_fakes.h"
#include "clock_ticks.h"
#include "date_time_text.h"
#include "fake_clock.h"
#include "site_addresses.h"
#include "tray_icon.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

QDateTime At(int day, int hour, int minute, int second)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, second), Qt::UTC);
}

QByteArray Encoded(const QStringList& lines)
{
    return EncodeAlarmFile(lines).value_or("<no bytes>");
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// One main window with a temporary program folder and settings store, a
// fake clock at 2026-12-06 10:15:42 and recording fakes for the outside.
struct Harness
{
    QTemporaryDir dir;
    QSettings settings{dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
    FakeClock clock{At(6, 10, 15, 42)};
    DateTimeText text;
    ClockTicks ticks;
    FakeSound sound;
    FakeReminder reminder;
    FakeBrowser browser;
    FakePowerOff power;
    FakeAutoStart autoStart;
    FakeAdPanelHost adPanel;
    CountingNotice notice;
    bool trayAvailable = true;
    int ends = 0;
    std::unique_ptr<AlarmSession> session;
    std::unique_ptr<MainWindow> window;

    QString alarmPath() const { return LocateAlarmFile(dir.path()).writePath; }
    QString at(int day, int hour, int minute, int second) const { return text.format(At(day, hour, minute, second)); }
    void writeAlarms(const QStringList& lines) const { QVERIFY(SaveAlarmFile(alarmPath(), lines)); }

    MainWindow& start()
    {
        session = std::make_unique<AlarmSession>(AlarmSession::Parts{
            clock, text, settings, LocateAlarmFile(dir.path()), ticks, sound, reminder, browser, power, autoStart, notice,
            [this] { ++ends; }});
        window = std::make_unique<MainWindow>(*session, ticks, adPanel, [this] { return trayAvailable; });
        window->load();
        window->showAtStart();
        return *window;
    }

    template <typename T>
    T* find(const QString& name) const
    {
        T* child = window->findChild<T*>(name);
        if (!child)
            qFatal("no control %s", qPrintable(name));
        return child;
    }

    QStringList listLines() const
    {
        QStringList lines;
        const auto* model = find<QListView>(QStringLiteral("lstA"))->model();
        for (int row = 0; row < model->rowCount(); ++row)
            lines.append(model->index(row, 0).data().toString());
        return lines;
    }

    bool panelShown() const { return !find<QWidget>(QStringLiteral("pBox"))->isHidden(); }
};

// A time as the fields show it, for the tables.
QString Shown(int day, int hour, int minute, int second)
{
    return DateTimeText().format(At(day, hour, minute, second));
}

} // namespace

class MainWindowTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Harness> m_h;

    // Selects what the field holds and types over it, as a user does.
    static void typeInto(QLineEdit* field, const QString& text)
    {
        // Completion only acts in the focused field, as it does for a user.
        field->activateWindow();
        QTest::mouseClick(field, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowActive(field->window()));
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        // Chinese arrives as text from the input method, without a key.
        for (const QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(field, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // Presses a mouse button over a line of the list (or, for row -1, over
    // its empty top edge). When the list menu opens it is answered: the
    // action named by choose is triggered, or the menu is just closed.
    // Returns whether the menu opened and, through deleteThisShown, whether
    // its first item was enabled then.
    bool pressOverList(Qt::MouseButton button, int row, const QString& choose = QString(),
                       bool* deleteThisShown = nullptr)
    {
        auto* list = m_h->find<QListView>(QStringLiteral("lstA"));
        const QPoint position = row >= 0 ? list->visualRect(list->model()->index(row, 0)).center() : QPoint(3, 3);
        bool opened = false;
        bool answered = false;
        QTimer::singleShot(0, this, [&] {
            answered = true;
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            opened = true;
            if (deleteThisShown)
                *deleteThisShown = m_h->find<QAction>(QStringLiteral("mDelC"))->isEnabled();
            if (!choose.isEmpty())
                m_h->find<QAction>(choose)->trigger();
            menu->close();
        });
        QTest::mousePress(list->viewport(), button, Qt::NoModifier, position);
        QTest::mouseRelease(list->viewport(), button, Qt::NoModifier, position);
        if (!QTest::qWaitFor([&] { return answered; }))
            qFatal("the menu check never ran");
        return opened;
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { m_h = std::make_unique<Harness>(); }
    void cleanup() { m_h.reset(); }

    void noCaptionIsCut()
    {
        MainWindow& window = m_h->start();
        const QRect client = window.rect();
        for (QWidget* control : window.findChildren<QWidget*>()) {
            const bool captioned = qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control)
                || qobject_cast<QComboBox*>(control);
            if (!captioned || control->isWindow() || control->objectName().isEmpty()
                || control->objectName() == u"lTime")
                continue;
            QVERIFY2(control->width() >= control->sizeHint().width(),
                     qPrintable(QStringLiteral("%1 %2 < %3").arg(control->objectName()).arg(control->width()).arg(control->sizeHint().width())));
            const QRect inWindow(control->mapTo(&window, QPoint(0, 0)), control->size());
            QVERIFY2(client.contains(inWindow), qPrintable(control->objectName()));
        }
        // The advance field sits in the caption's gap, clear of both words.
        auto* caption = m_h->find<QLabel>(QStringLiteral("Label3"));
        auto* advance = m_h->find<QLineEdit>(QStringLiteral("tSJ"));
        const QFontMetrics metrics(caption->font());
        const int leadEnd = caption->x() + metrics.horizontalAdvance(QStringLiteral("提前提醒"));
        const int tailStart = caption->x() + caption->width() - metrics.horizontalAdvance(QStringLiteral("分钟（推荐）"));
        QVERIFY(advance->x() >= leadEnd);
        QVERIFY(advance->geometry().right() < tailStart);
    }

    void firstStart()
    {
        MainWindow& window = m_h->start();
        QCOMPARE(window.objectName(), QStringLiteral("frmMain"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Nelo闹钟2.1版"));
        QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
        const QPointF offCentre =
            QRectF(window.frameGeometry()).center() - QRectF(window.screen()->geometry()).center();
        QVERIFY2(qAbs(offCentre.x()) <= 2 && qAbs(offCentre.y()) <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));

        auto* hours = m_h->find<QComboBox>(QStringLiteral("cZQH"));
        auto* minutes = m_h->find<QComboBox>(QStringLiteral("cZQM"));
        QCOMPARE(hours->currentText(), QStringLiteral("00"));
        QCOMPARE(hours->count(), 24);
        QCOMPARE(hours->itemText(23), QStringLiteral("23"));
        QCOMPARE(minutes->currentText(), QStringLiteral("00"));
        QCOMPARE(minutes->count(), 60);
        QCOMPARE(minutes->itemText(59), QStringLiteral("59"));
        QCOMPARE(m_h->find<QComboBox>(QStringLiteral("cTX"))->currentText(), QStringLiteral("声音及附加动作"));
        QCOMPARE(m_h->find<QComboBox>(QStringLiteral("cTX"))->count(), 5);
        auto* action = m_h->find<QComboBox>(QStringLiteral("cDZ"));
        QCOMPARE(action->currentText(), QStringLiteral("打开开心农场"));
        QVERIFY(action->isEnabled());
        auto* text = m_h->find<QComboBox>(QStringLiteral("cTxt"));
        QCOMPARE(text->currentText(), QStringLiteral("菜熟啦，赶紧偷啊"));
        QVERIFY(!text->isEnabled());
        QCOMPARE(m_h->find<QLineEdit>(QStringLiteral("tSJ"))->text(), QStringLiteral("2"));
        QCOMPARE(m_h->find<QLineEdit>(QStringLiteral("cJS"))->text(), m_h->at(6, 10, 15, 42));
        QVERIFY(m_h->find<QCheckBox>(QStringLiteral("ckClr"))->isChecked());
        QVERIFY(!m_h->find<QCheckBox>(QStringLiteral("ckAuto"))->isChecked());
        QCOMPARE(m_h->find<QLabel>(QStringLiteral("lTime"))->text(),
                 QStringLiteral("当前时间 ") + m_h->at(6, 10, 15, 42));
        QVERIFY(!m_h->find<QAction>(QStringLiteral("mDelC"))->isEnabled());
        QVERIFY(m_h->find<QAction>(QStringLiteral("mDelAC"))->isEnabled());
        QVERIFY(m_h->autoStart.calls.isEmpty());

        auto* panel = m_h->find<QWidget>(QStringLiteral("pBox"));
        auto* list = m_h->find<QWidget>(QStringLiteral("lstA"));
        QVERIFY(panel->isVisible());
        QVERIFY(list->geometry().contains(panel->geometry()));
        QVERIFY(m_h->listLines().isEmpty());
        // The page loads once, after the window is on screen.
        QVERIFY(m_h->adPanel.navigated.isEmpty());
        QTRY_COMPARE(m_h->adPanel.navigated, QStringList{SiteAddresses(m_h->settings).advertisement()});
    }

    void startFromTheAlarmFile_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QString>("clear");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<bool>("panel");
        QTest::addColumn<int>("sounds");

        const DateTimeText text;
        const QString later = text.format(At(6, 11, 0, 0)) + QStringLiteral("|声音提醒||");
        const QString expired = text.format(At(6, 9, 0, 0)) + QStringLiteral("|声音提醒||");
        const QString thisMinute = text.format(At(6, 10, 15, 0)) + QStringLiteral("|声音提醒||");
        QTest::newRow("pending alarm: in the notification area")
            << QStringList{later} << "1" << QStringList{later} << true << false << 0;
        QTest::newRow("all dropped: shown with the panel")
            << QStringList{expired, expired} << "1" << QStringList{} << false << true << 0;
        QTest::newRow("kept expired alarm fires at start")
            << QStringList{expired} << "0" << QStringList{} << true << true << 1;
        QTest::newRow("due this minute fires, the later one stays")
            << QStringList{thisMinute, later} << "1" << QStringList{later} << true << false << 1;
    }

    void startFromTheAlarmFile()
    {
        QFETCH(QStringList, file);
        QFETCH(QString, clear);
        QFETCH(QStringList, list);
        QFETCH(bool, hidden);
        QFETCH(bool, panel);
        QFETCH(int, sounds);

        m_h->writeAlarms(file);
        m_h->settings.setValue(QStringLiteral("option/Clear"), clear);
        MainWindow& window = m_h->start();
        QCOMPARE(m_h->listLines(), list);
        QCOMPARE(window.isHidden(), hidden);
        QCOMPARE(m_h->panelShown(), panel);
        QCOMPARE(m_h->sound.plays, sounds);
        if (sounds > 0)
            QCOMPARE(FileBytes(m_h->alarmPath()), Encoded(list));
    }

    void pendingAlarmsWithoutNotificationAreaStartMinimised()
    {
        m_h->trayAvailable = false;
        m_h->writeAlarms({m_h->at(6, 11, 0, 0) + QStringLiteral("|声音提醒||")});
        MainWindow& window = m_h->start();
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
        QVERIFY(!m_h->panelShown());
    }

    void restoredAutoStartRegistersAgain_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("checked");
        QTest::newRow("on") << QVariant(QStringLiteral("1")) << QStringList{QStringLiteral("enable")} << true;
        QTest::newRow("off") << QVariant(QStringLiteral("0")) << QStringList{} << false;
        QTest::newRow("not a number") << QVariant(QStringLiteral("abc")) << QStringList{} << false;
        QTest::newRow("nothing stored") << QVariant() << QStringList{} << false;
    }

    void restoredAutoStartRegistersAgain()
    {
        QFETCH(QVariant, stored);
        QFETCH(QStringList, calls);
        QFETCH(bool, checked);
        if (stored.isValid())
            m_h->settings.setValue(QStringLiteral("option/Auto"), stored);
        m_h->start();
        QCOMPARE(m_h->autoStart.calls, calls);
        QCOMPARE(m_h->find<QCheckBox>(QStringLiteral("ckAuto"))->isChecked(), checked);
    }

    void optionsAreRestoredAndWrittenWhenTheyChange()
    {
        m_h->settings.setValue(QStringLiteral("option/Time"), QString());
        m_h->settings.setValue(QStringLiteral("option/Clear"), QStringLiteral("0"));
        m_h->start();
        auto* advance = m_h->find<QLineEdit>(QStringLiteral("tSJ"));
        auto* clear = m_h->find<QCheckBox>(QStringLiteral("ckClr"));
        auto* autoRun = m_h->find<QCheckBox>(QStringLiteral("ckAuto"));
        QCOMPARE(advance->text(), QString());
        QVERIFY(!clear->isChecked());

        const QString file = m_h->settings.fileName();
        const auto stored = [&](const QString& key) {
            return QSettings(file, QSettings::IniFormat).value(QStringLiteral("option/") + key).toString();
        };
        QTest::keyClicks(advance, QStringLiteral("5"));
        QCOMPARE(stored(QStringLiteral("Time")), QStringLiteral("5"));
        QTest::mouseClick(clear, Qt::LeftButton);
        QCOMPARE(stored(QStringLiteral("Clear")), QStringLiteral("1"));
        QTest::mouseClick(autoRun, Qt::LeftButton);
        QCOMPARE(stored(QStringLiteral("Auto")), QStringLiteral("1"));
        QTest::mouseClick(autoRun, Qt::LeftButton);
        QCOMPARE(stored(QStringLiteral("Auto")), QStringLiteral("0"));
        QCOMPARE(m_h->autoStart.calls, QStringList({QStringLiteral("enable"), QStringLiteral("disable")}));
    }

    void addingThroughThePanel()
    {
        m_h->start();
        auto* hours = m_h->find<QComboBox>(QStringLiteral("cZQH"));
        auto* minutes = m_h->find<QComboBox>(QStringLiteral("cZQM"));
        auto* alarmTime = m_h->find<QLineEdit>(QStringLiteral("cJS"));
        auto* type = m_h->find<QComboBox>(QStringLiteral("cTX"));
        hours->setCurrentIndex(1);
        minutes->setCurrentIndex(30);
        QCOMPARE(alarmTime->text(), m_h->at(6, 11, 45, 42));
        type->setCurrentIndex(2);
        QCOMPARE(type->currentText(), QStringLiteral("声音提醒"));
        QVERIFY(!m_h->find<QComboBox>(QStringLiteral("cTxt"))->isEnabled());
        QVERIFY(!m_h->find<QComboBox>(QStringLiteral("cDZ"))->isEnabled());

        auto* add = m_h->find<QPushButton>(QStringLiteral("cmdAdd"));
        QTest::mouseClick(add, Qt::LeftButton);
        const QString line = m_h->at(6, 11, 43, 42) + QStringLiteral("|声音提醒||");
        QCOMPARE(m_h->listLines(), QStringList{line});
        QVERIFY(!m_h->panelShown());
        QCOMPARE(FileBytes(m_h->alarmPath()), Encoded({line}));
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(m_h->listLines(), QStringList({line, line}));
        QCOMPARE(FileBytes(m_h->alarmPath()), Encoded({line, line}));
    }

    // What the user types stays what they typed: no completion from the
    // lists ("2" is not "20"), in every editable field.
    void typedEntriesAreUsedAsTyped_data()
    {
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("due");

        QTest::newRow("1 hour") << "1" << "" << "" << Shown(6, 11, 13, 42);
        QTest::newRow("2 hours 5 minutes") << "2" << "5" << "" << Shown(6, 12, 18, 42);
        QTest::newRow("0 hours 9 minutes") << "0" << "9" << "" << Shown(6, 10, 22, 42);
        QTest::newRow("12 hours 1 minute") << "12" << "1" << "" << Shown(6, 22, 14, 42);
        QTest::newRow("9 hours 12 minutes") << "9" << "12" << "" << Shown(6, 19, 25, 42);
        QTest::newRow("0 minutes") << "" << "0" << "" << Shown(6, 10, 13, 42);
        QTest::newRow("a suggested text's first character") << "" << "" << "生" << Shown(6, 10, 13, 42);
    }

    void typedEntriesAreUsedAsTyped()
    {
        QFETCH(QString, hours);
        QFETCH(QString, minutes);
        QFETCH(QString, text);
        QFETCH(QString, due);

        m_h->start();
        // One step down the type list: sound and text.
        QTest::keyClick(m_h->find<QComboBox>(QStringLiteral("cTX")), Qt::Key_Down);
        if (!hours.isEmpty())
            typeInto(m_h->find<QComboBox>(QStringLiteral("cZQH"))->lineEdit(), hours);
        if (!minutes.isEmpty())
            typeInto(m_h->find<QComboBox>(QStringLiteral("cZQM"))->lineEdit(), minutes);
        if (!text.isEmpty())
            typeInto(m_h->find<QComboBox>(QStringLiteral("cTxt"))->lineEdit(), text);
        QTest::mouseClick(m_h->find<QPushButton>(QStringLiteral("cmdAdd")), Qt::LeftButton);
        const QString shownText = text.isEmpty() ? QStringLiteral("菜熟啦，赶紧偷啊") : text;
        QCOMPARE(m_h->listLines(), QStringList{due + QStringLiteral("|声音及文本提醒|") + shownText + u'|'});
    }

    // An alarm time or advance the program cannot read adds nothing: it
    // would fire at once. The field says so until it is corrected.
    void unreadableTimesAddNothing_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("due");

        QTest::newRow("date in words") << "cJS" << "2026年12月6日 23:00" << Shown(6, 22, 58, 0);
        QTest::newRow("dots and seconds") << "cJS" << "2026.12.6 23:00:30" << Shown(6, 22, 58, 30);
        QTest::newRow("not a time") << "cJS" << "明天晚上" << QString();
        QTest::newRow("day before month is not guessed") << "cJS" << "6.12.2026 23:00" << QString();
        QTest::newRow("emptied time") << "cJS" << "" << QString();
        QTest::newRow("advance not a number") << "tSJ" << "两" << QString();
        QTest::newRow("emptied advance") << "tSJ" << "" << QString();
    }

    void unreadableTimesAddNothing()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, due);

        m_h->start();
        QTest::keyClick(m_h->find<QComboBox>(QStringLiteral("cTX")), Qt::Key_Down);
        auto* edit = m_h->find<QLineEdit>(field);
        typeInto(edit, typed);
        if (typed.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        auto* add = m_h->find<QPushButton>(QStringLiteral("cmdAdd"));
        QTest::mouseClick(add, Qt::LeftButton);
        if (!due.isEmpty()) {
            QCOMPARE(m_h->listLines(), QStringList{due + QStringLiteral("|声音及文本提醒|菜熟啦，赶紧偷啊|")});
            QVERIFY(edit->toolTip().isEmpty());
            return;
        }
        QCOMPARE(m_h->listLines(), QStringList());
        QVERIFY(!QFile::exists(m_h->alarmPath()));
        QVERIFY(edit->toolTip().startsWith(QStringLiteral("无法识别")));
        QVERIFY(edit->styleSheet().contains(QStringLiteral("red")) || edit->styleSheet().contains(QStringLiteral("#ff0000")));
        // Corrected, the mark goes and the alarm is added.
        typeInto(edit, field == u"cJS" ? QStringLiteral("2026/12/6 23:00") : QStringLiteral("2"));
        QVERIFY(edit->toolTip().isEmpty());
        QVERIFY(edit->styleSheet().isEmpty());
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(m_h->listLines().size(), 1);
    }

    void clickIntoAdvanceSelectsItAll()
    {
        m_h->start();
        auto* advance = m_h->find<QLineEdit>(QStringLiteral("tSJ"));
        advance->setText(QStringLiteral("15"));
        QTest::mouseClick(advance, Qt::LeftButton, Qt::NoModifier, QPoint(2, advance->height() / 2));
        QTRY_COMPARE(advance->selectedText(), QStringLiteral("15"));
    }

    void listMenuOpensOnlyForTheRightButtonOverLines_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("menu");
        QTest::newRow("right, empty list") << 0 << Qt::RightButton << false;
        QTest::newRow("right, one line") << 1 << Qt::RightButton << true;
        QTest::newRow("left") << 2 << Qt::LeftButton << false;
        QTest::newRow("middle") << 2 << Qt::MiddleButton << false;
    }

    void listMenuOpensOnlyForTheRightButtonOverLines()
    {
        QFETCH(int, lines);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, menu);
        m_h->start();
        for (int i = 0; i < lines; ++i)
            m_h->session->book().add(m_h->at(6, 11, i, 0) + QStringLiteral("|声音提醒||"));
        QCOMPARE(pressOverList(button, lines > 0 ? 0 : -1), menu);
    }

    void listMenuActsOnTheSelection()
    {
        m_h->start();
        const QString a = m_h->at(6, 11, 0, 0) + QStringLiteral("|声音提醒||");
        const QString b = m_h->at(6, 12, 0, 0) + QStringLiteral("|文本框提醒|生日提醒|");
        const QString c = m_h->at(6, 13, 0, 0) + QStringLiteral("|附加动作||打开QQ农场");
        for (const QString& line : {a, b, c})
            m_h->session->book().add(line);
        auto* deleteThis = m_h->find<QAction>(QStringLiteral("mDelC"));

        // Nothing selected yet: the first menu offers no single deletion.
        bool offered = true;
        QVERIFY(pressOverList(Qt::RightButton, 2, QString(), &offered));
        QVERIFY(!offered);
        QVERIFY(!deleteThis->isEnabled());

        QVERIFY(!pressOverList(Qt::LeftButton, 0));
        QVERIFY(deleteThis->isEnabled());

        // The line under the pointer is not the one deleted.
        QVERIFY(pressOverList(Qt::RightButton, 2, QStringLiteral("mDelC"), &offered));
        QVERIFY(offered);
        QCOMPARE(m_h->listLines(), QStringList({b, c}));
        QCOMPARE(FileBytes(m_h->alarmPath()), Encoded({b, c}));
        QVERIFY(!m_h->panelShown());

        // The deleted line took the selection with it; a middle click
        // refreshes the item, and choosing it then deletes nothing.
        QVERIFY(!pressOverList(Qt::MiddleButton, 0));
        QVERIFY(!deleteThis->isEnabled());
        deleteThis->trigger();
        QCOMPARE(m_h->listLines(), QStringList({b, c}));

        QVERIFY(!pressOverList(Qt::LeftButton, 1));
        QVERIFY(pressOverList(Qt::RightButton, 1, QStringLiteral("mDelC")));
        QVERIFY(!pressOverList(Qt::LeftButton, 0));
        QVERIFY(pressOverList(Qt::RightButton, 0, QStringLiteral("mDelC")));
        QVERIFY(m_h->listLines().isEmpty());
        QVERIFY(m_h->panelShown());
        QCOMPARE(FileBytes(m_h->alarmPath()), QByteArray("\r\n"));
    }

    void deleteAllUncoversThePanel()
    {
        m_h->start();
        m_h->session->book().add(m_h->at(6, 11, 0, 0) + QStringLiteral("|声音提醒||"));
        m_h->session->book().add(m_h->at(6, 12, 0, 0) + QStringLiteral("|声音提醒||"));
        QVERIFY(!m_h->panelShown());
        QVERIFY(pressOverList(Qt::RightButton, 1, QStringLiteral("mDelAC")));
        QVERIFY(m_h->listLines().isEmpty());
        QVERIFY(m_h->panelShown());
        QCOMPARE(FileBytes(m_h->alarmPath()), QByteArray("\r\n"));
    }

    void scanFiresThroughTheOutputs_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<int>("sounds");
        QTest::addColumn<QStringList>("reminders");
        QTest::addColumn<QString>("site");

        QTest::newRow("sound") << "|声音提醒||" << 1 << QStringList{} << "";
        QTest::newRow("sound and text") << "|声音及文本提醒|生日提醒|" << 1 << QStringList{QStringLiteral("生日提醒")}
                                        << "";
        QTest::newRow("text box without text") << "|文本框提醒||" << 0 << QStringList{QString()} << "";
        QTest::newRow("second farm") << "|附加动作||打开QQ农场" << 0 << QStringList{} << "qq";
        QTest::newRow("sound and other farms") << "|声音及附加动作||打开其他农场" << 1 << QStringList{} << "other";
    }

    void scanFiresThroughTheOutputs()
    {
        QFETCH(QString, fields);
        QFETCH(int, sounds);
        QFETCH(QStringList, reminders);
        QFETCH(QString, site);

        m_h->start();
        m_h->session->book().add(m_h->at(6, 10, 16, 30) + fields);
        Q_EMIT m_h->ticks.scanDue();
        QCOMPARE(m_h->listLines().size(), 1);
        m_h->clock.advance(60);
        Q_EMIT m_h->ticks.scanDue();

        const SiteAddresses sites(m_h->settings);
        QStringList opened;
        if (site == u"qq")
            opened.append(sites.qqFarm());
        else if (site == u"other")
            opened.append(sites.otherFarms());
        QCOMPARE(m_h->sound.plays, sounds);
        QCOMPARE(m_h->reminder.shown, reminders);
        QCOMPARE(m_h->browser.opened, opened);
        QVERIFY(m_h->listLines().isEmpty());
        QVERIFY(m_h->panelShown());
        QCOMPARE(FileBytes(m_h->alarmPath()), QByteArray("\r\n"));
    }

    void powerOffWritesTheFileThenEndsAtOnce()
    {
        const QString powerOff = m_h->at(6, 10, 15, 0) + QStringLiteral("|声音及附加动作||关闭电脑");
        const QString later = m_h->at(6, 12, 0, 0) + QStringLiteral("|声音提醒||");
        m_h->writeAlarms({powerOff, later});
        QByteArray fileAtShutdown;
        int endsAtShutdown = -1;
        m_h->power.onShutDown = [&] {
            fileAtShutdown = FileBytes(m_h->alarmPath());
            endsAtShutdown = m_h->ends;
        };

        MainWindow& window = m_h->start();
        QSignalSpy closed(&window, &MainWindow::closed);
        QCOMPARE(m_h->sound.plays, 1);
        QCOMPARE(m_h->power.requests, 1);
        QCOMPARE(fileAtShutdown, Encoded({later}));
        QCOMPARE(endsAtShutdown, 0);
        QCOMPARE(m_h->ends, 1);

        // Nothing fires any more while the program goes away.
        m_h->clock.advance(3 * 3600);
        Q_EMIT m_h->ticks.scanDue();
        QCOMPARE(m_h->sound.plays, 1);
        QCOMPARE(m_h->listLines(), QStringList{later});
        QCOMPARE(closed.count(), 0);
    }

    void clockLabelFollowsTheTicks()
    {
        m_h->start();
        m_h->clock.set(At(7, 0, 0, 0));
        Q_EMIT m_h->ticks.clockDue();
        QCOMPARE(m_h->find<QLabel>(QStringLiteral("lTime"))->text(), QStringLiteral("当前时间 ") + m_h->at(7, 0, 0, 0));

        // Hidden in the tray the clock stops, so the program wakes only to
        // scan; the window shows the present time again the moment it comes
        // back.
        QVERIFY(m_h->ticks.clockRunning());
        m_h->window->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!m_h->window->isVisible());
        QVERIFY(!m_h->ticks.clockRunning());
        m_h->clock.set(At(7, 9, 30, 15));
        m_h->window->bringToFront();
        QTRY_VERIFY(m_h->window->isVisible());
        QVERIFY(m_h->ticks.clockRunning());
        QCOMPARE(m_h->find<QLabel>(QStringLiteral("lTime"))->text(), QStringLiteral("当前时间 ") + m_h->at(7, 9, 30, 15));
    }

    void forumLinkOpensTheForum()
    {
        m_h->start();
        QTest::mouseClick(m_h->find<QLabel>(QStringLiteral("Label8")), Qt::LeftButton);
        QCOMPARE(m_h->browser.opened, QStringList{SiteAddresses(m_h->settings).forum()});
    }

    void closingWritesFileAndOptions()
    {
        MainWindow& window = m_h->start();
        QSignalSpy closed(&window, &MainWindow::closed);
        const QString line = m_h->at(6, 11, 0, 0) + QStringLiteral("|声音提醒||");
        m_h->session->book().add(line);
        QFile::remove(m_h->alarmPath());
        m_h->settings.remove(QStringLiteral("option"));
        QVERIFY(window.close());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(FileBytes(m_h->alarmPath()), Encoded({line}));
        QCOMPARE(m_h->settings.value(QStringLiteral("option/Time")).toString(), QStringLiteral("2"));
        QCOMPARE(m_h->settings.value(QStringLiteral("option/Clear")).toString(), QStringLiteral("1"));
        QCOMPARE(m_h->settings.value(QStringLiteral("option/Auto")).toString(), QStringLiteral("0"));
        QVERIFY(!window.trayIcon());
        // The window's timers end with it.
        m_h->clock.advance(3600);
        Q_EMIT m_h->ticks.scanDue();
        QCOMPARE(m_h->sound.plays, 0);
    }

    void closingAnEmptyListLeavesOneEmptyLine()
    {
        MainWindow& window = m_h->start();
        QVERIFY(window.close());
        QCOMPARE(FileBytes(m_h->alarmPath()), QByteArray("\r\n"));
    }

    void trayClickRestoresAHiddenWindow()
    {
        m_h->writeAlarms({m_h->at(6, 11, 0, 0) + QStringLiteral("|声音提醒||")});
        MainWindow& window = m_h->start();
        QVERIFY(window.isHidden());
        QVERIFY(window.trayIcon() && window.trayIcon()->isPresent());
        QSystemTrayIcon& icon = window.trayIcon()->icon();
        for (const auto reason : {QSystemTrayIcon::Context, QSystemTrayIcon::DoubleClick,
                                  QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown}) {
            Q_EMIT icon.activated(reason);
            QVERIFY(window.isHidden());
        }
        Q_EMIT icon.activated(QSystemTrayIcon::Trigger);
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
        QVERIFY(!m_h->panelShown());

        // Minimising hides it again; the clicks bring it back every time.
        window.showMinimized();
        QTRY_VERIFY(window.isHidden());
        Q_EMIT icon.activated(QSystemTrayIcon::Trigger);
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
    }

    void minimisingWithoutNotificationAreaKeepsTheWindow()
    {
        m_h->trayAvailable = false;
        MainWindow& window = m_h->start();
        window.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
    }

    void notificationAreaAppearingLaterStartsTheHiding()
    {
        m_h->trayAvailable = false;
        MainWindow& window = m_h->start();
        QVERIFY(!window.trayIcon()->isPresent());
        m_h->trayAvailable = true;
        QTRY_VERIFY_WITH_TIMEOUT(window.trayIcon()->isPresent(), 3 * TrayIcon::kPollIntervalMs);
        window.showMinimized();
        QTRY_VERIFY(window.isHidden());
    }

    void secondCopyBringsTheWindowForward()
    {
        m_h->writeAlarms({m_h->at(6, 11, 0, 0) + QStringLiteral("|声音提醒||")});
        MainWindow& window = m_h->start();
        QVERIFY(window.isHidden());
        window.bringToFront();
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
    }
};

NELOCLOCK_TEST(MainWindowTest)
#include "test_main_window.moc"
