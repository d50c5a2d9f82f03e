// The list at its largest: 32,767 alarm lines, the most the list holds.
// Measures the due-alarm scan, the alarm file and one added alarm.
#include "alarm_book.h"
#include "alarm_entry.h"
#include "alarm_file.h"
#include "alarm_list.h"
#include "alarm_outputs.h"
#include "alarm_scanner.h"
#include "clock.h"
#include "date_time_text.h"
#include "save_failure_notice.h"
#include "site_addresses.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kLines = 32767;

class NoNotice final : public SaveFailureNotice
{
public:
    void alarmFileNotSaved(const QString&, const QString&) override {}
    void alarmFileNotRead(const QString&, const QString&, const QString&) override {}
};

class QuietOutputs final : public AlarmOutputs
{
public:
    void playSound() override {}
    void showReminder(const QString&) override {}
    void openUrl(const QString&) override {}
    void powerOff() override {}
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

// The scan as the main window runs it: over the window's own list.
void BM_ScanNoneDue(benchmark::State& state)
{
    const SystemClock clock;
    const DateTimeText text;
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
    const SiteAddresses sites(settings);
    NoNotice notice;
    const QString path = dir.filePath(QStringLiteral("alarm.ini"));
    AlarmBook book({path, path}, notice);
    book.model().setStringList(PendingLines(text, clock.now()));
    QuietOutputs outputs;
    AlarmScanner scanner(book, outputs, clock, text, sites);
    for (auto _ : state)
        benchmark::DoNotOptimize(scanner.scan());
    if (book.count() != kLines)
        state.SkipWithError("a line fired");
}
BENCHMARK(BM_ScanNoneDue)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// One press of the add button on a full list: the line goes in and the whole
// file is written.
void BM_AddAlarm(benchmark::State& state)
{
    const SystemClock clock;
    const DateTimeText text;
    QTemporaryDir dir;
    NoNotice notice;
    const QString path = dir.filePath(QStringLiteral("alarm.ini"));
    AlarmBook book({path, path}, notice);
    QStringList lines = PendingLines(text, clock.now());
    lines.removeLast();
    const QString added = BuildAlarmLine(clock.now().addSecs(600), ReminderTypeText(ReminderType::Sound), QString(),
                                         QString(), text);
    for (auto _ : state) {
        state.PauseTiming();
        book.model().setStringList(lines);
        state.ResumeTiming();
        book.add(added);
    }
    if (book.count() != kLines)
        state.SkipWithError("the line was not added");
}
BENCHMARK(BM_AddAlarm)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_LoadAlarmFile(benchmark::State& state)
{
    const SystemClock clock;
    const DateTimeText text;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alarm.ini"));
    SaveAlarmFile(path, PendingLines(text, clock.now()));
    for (auto _ : state) {
        const QStringList lines = PendingAlarmLines(ReadAlarmFile(path).lines, true, clock, text);
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
