#include "alarm_file.h"
#include "clock.h"
#include "date_time_text.h"
#include "options.h"

#include <QApplication>
#include <QSettings>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QSettings settings;
    const Options::Restored options = Options(settings).load();
    const bool clearExpired = options.clear.value_or(Options::kDefaultClear) != 0;
    const SystemClock clock;
    const QStringList lines = LoadAlarmFile(AlarmFilePath(QCoreApplication::applicationDirPath()), clearExpired,
                                            clock, DateTimeText());
    QTextStream out(stdout);
    for (const QString& line : lines)
        out << line << '\n';
    return 0;
}
