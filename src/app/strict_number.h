#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// A field's text read as a number by the locale's numeric conversion. Blanks
// around the number, a sign and a decimal fraction are accepted. Empty or
// non-numeric text gives nothing, never 0, so a field the user emptied is
// told apart from a typed 0.
std::optional<double> StrictNumber(const QString& text, const QLocale& locale = QLocale());
