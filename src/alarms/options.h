#pragma once

#include <QString>

#include <optional>

class QSettings;

// The three options kept between runs in the per-user settings store, group
// "option": the advance minutes as typed ("Time") and the states of the two
// option boxes ("Clear", "Auto").
class Options final
{
public:
    // What a start restores. A box state is missing when the stored text is
    // not a number or not a valid check state: the box then keeps its
    // designed state.
    struct Restored
    {
        QString time;
        std::optional<int> clear;
        std::optional<int> autoRun;
    };

    static constexpr int kDefaultClear = 1;
    static constexpr int kDefaultAutoRun = 0;
    static QString defaultTime() { return QStringLiteral("2"); }

    explicit Options(QSettings& settings);

    Restored load() const;
    // Writes all three and pushes them to disk; false when the store cannot
    // be written.
    bool save(const QString& time, int clear, int autoRun);

    // A stored check state as a number rounded to the nearest whole number
    // (a half to the even neighbour), accepted when it is 0, 1 or 2.
    static std::optional<int> checkStateFromText(const QString& text);

private:
    QSettings& m_settings;
};
