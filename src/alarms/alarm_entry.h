#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class DateTimeText;

// How an alarm reminds the user. Stored and compared as the exact Chinese
// display text; the enum only names the values in code.
enum class ReminderType { SoundAndAction, SoundAndText, Sound, TextBox, Action };

// What an alarm does besides sound and text.
enum class ExtraAction { OpenHappyFarm, OpenQQFarm, OpenOtherFarms, PowerOff };

QString ReminderTypeText(ReminderType type);
std::optional<ReminderType> ReminderTypeFromText(const QString& text);
// The five types in the order the type list offers them.
QStringList ReminderTypeTexts();
bool ReminderTypeUsesText(ReminderType type);
bool ReminderTypeUsesAction(ReminderType type);
bool ReminderTypeUsesSound(ReminderType type);

QString ExtraActionText(ExtraAction action);
std::optional<ExtraAction> ExtraActionFromText(const QString& text);
QStringList ExtraActionTexts();

// The reminder texts the text list suggests, first one the default.
QStringList SuggestedReminderTexts();

// One alarm as its line reads: due|type|text|action. Fields the line does not
// have are empty; fields after the fourth are ignored.
struct AlarmEntry
{
    QString due;
    QString type;
    QString text;
    QString action;

    static AlarmEntry fromLine(const QString& line);
};

// The four fields joined by "|". An empty due (nothing computed) leaves
// field 0 empty; text and action are passed empty for fields that are off.
QString BuildAlarmLine(const std::optional<QDateTime>& due, const QString& type, const QString& text,
                       const QString& action, const DateTimeText& dateTimeText);
