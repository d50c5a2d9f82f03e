#include "alarm_entry.h"

#include "date_time_text.h"

#include <array>

namespace {

const std::array<QString, 5>& TypeTexts()
{
    static const std::array<QString, 5> texts{
        QStringLiteral("声音及附加动作"), QStringLiteral("声音及文本提醒"), QStringLiteral("声音提醒"),
        QStringLiteral("文本框提醒"), QStringLiteral("附加动作"),
    };
    return texts;
}

const std::array<QString, 4>& ActionTexts()
{
    static const std::array<QString, 4> texts{
        QStringLiteral("打开开心农场"), QStringLiteral("打开QQ农场"), QStringLiteral("打开其他农场"),
        QStringLiteral("关闭电脑"),
    };
    return texts;
}

template <typename Enum, std::size_t N>
std::optional<Enum> FindText(const std::array<QString, N>& texts, const QString& text)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (texts[i] == text)
            return static_cast<Enum>(i);
    }
    return std::nullopt;
}

template <std::size_t N>
QStringList ToList(const std::array<QString, N>& texts)
{
    return QStringList(texts.begin(), texts.end());
}

} // namespace

QString ReminderTypeText(ReminderType type)
{
    return TypeTexts().at(static_cast<std::size_t>(type));
}

std::optional<ReminderType> ReminderTypeFromText(const QString& text)
{
    return FindText<ReminderType>(TypeTexts(), text);
}

QStringList ReminderTypeTexts()
{
    return ToList(TypeTexts());
}

bool ReminderTypeUsesText(ReminderType type)
{
    return type == ReminderType::SoundAndText || type == ReminderType::TextBox;
}

bool ReminderTypeUsesAction(ReminderType type)
{
    return type == ReminderType::SoundAndAction || type == ReminderType::Action;
}

bool ReminderTypeUsesSound(ReminderType type)
{
    return type == ReminderType::SoundAndAction || type == ReminderType::SoundAndText
        || type == ReminderType::Sound;
}

QString ExtraActionText(ExtraAction action)
{
    return ActionTexts().at(static_cast<std::size_t>(action));
}

std::optional<ExtraAction> ExtraActionFromText(const QString& text)
{
    return FindText<ExtraAction>(ActionTexts(), text);
}

QStringList ExtraActionTexts()
{
    return ToList(ActionTexts());
}

QStringList SuggestedReminderTexts()
{
    return {QStringLiteral("菜熟啦，赶紧偷啊"), QStringLiteral("重要提示哦"), QStringLiteral("生日提醒")};
}

AlarmEntry AlarmEntry::fromLine(const QString& line)
{
    // Only the first four fields matter; reading them as views avoids
    // building the whole field list for every line of a long list.
    AlarmEntry entry;
    QString* fields[] = {&entry.due, &entry.type, &entry.text, &entry.action};
    if (line.isEmpty())
        return entry;
    qsizetype start = 0;
    for (QString* field : fields) {
        const qsizetype bar = line.indexOf(u'|', start);
        *field = line.mid(start, bar < 0 ? -1 : bar - start);
        if (bar < 0)
            break;
        start = bar + 1;
    }
    return entry;
}

QString BuildAlarmLine(const std::optional<QDateTime>& due, const QString& type, const QString& text,
                       const QString& action, const DateTimeText& dateTimeText)
{
    const QString dueText = due ? dateTimeText.format(*due) : QString();
    return dueText + u'|' + type + u'|' + text + u'|' + action;
}
