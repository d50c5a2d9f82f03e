// The list at its largest: 32,767 alarm lines, the most the list holds.
// Measures the due-alarm scan, the alarm file and one added alarm.
#include "alarm_entry.h"
#include "alarm_file.h"
#include "alarm_list.h"
#include "alarm_outputs.h"
#include "alarm_scanner.h"
#include "clock.h"
#include "date_time_text.h"
#include "site_addresses.h"

#include <QApplication>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kLines = 32767;

// The list as the main window keeps it: a list widget, read item by item.
class WidgetList final : public AlarmList
{
public:
    explicit WidgetList(QListWidget& widget)
        : m_widget(widget)
    {
    }
    int count() const override { return m_widget.count(); }
    QString lineAt(int position) const override { return m_widget.item(position)->text(); }
    void removeAt(int position) override { delete m_widget.takeItem(position); }

private:
    QListWidget& m_widget;
};

class QuietOutputs final : public AlarmOutputs
{
public:
    void playSound() override {}
    void showReminder(const QString&) override {}
    void openUrl(const QString&) override {}
    void powerOff() override {}
    void endProgram() override {}
    void showAdPanel() override {}
};

// Lines due over the coming days, each one distinct, as a long-running list
// would hold them.
QStringList PendingLines(const DateTimeText& text, const QDateTime& now)
{
    QStringList lines;
    lines.reserve(kLines);
    const QStringList types = ReminderTypeTexts();
    for (int i = 0; i < kLines; ++i) {
        const QDateTime due = now.addSecs(3600 + i * 7);
        lines << BuildAlarmLine(due, types.at(i % types.size()), SuggestedReminderTexts().at(i % 3),
                                ExtraActionTexts().at(i % 3), text);
    }
    return lines;
}

void BM_ScanNoneDue(benchmark::State& state)
{
    const SystemClock clock;
    const DateTimeText text;
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
    const SiteAddresses sites(settings);
    QListWidget widget;
    widget.addItems(PendingLines(text, clock.now()));
    WidgetList list(widget);
    QuietOutputs outputs;
    AlarmScanner scanner(list, outputs, clock, text, sites);
    for (auto _ : state)
        benchmark::DoNotOptimize(scanner.scan());
    if (widget.count() != kLines)
        state.SkipWithError("a line fired");
}
BENCHMARK(BM_ScanNoneDue)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_LoadAlarmFile(benchmark::State& state)
{
    const SystemClock clock;
    const DateTimeText text;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alarm.ini"));
    SaveAlarmFile(path, PendingLines(text, clock.now()));
    for (auto _ : state) {
        const QStringList lines = LoadAlarmFile(path, true, clock, text);
        if (lines.size() != kLines)
            state.SkipWithError("lines lost");
    }
}
BENCHMARK(BM_LoadAlarmFile)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_SaveAlarmFile(benchmark::State& state)
{
    const SystemClock clock;
    const DateTimeText text;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alarm.ini"));
    const QStringList lines = PendingLines(text, clock.now());
    for (auto _ : state) {
        if (!SaveAlarmFile(path, lines))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveAlarmFile)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
