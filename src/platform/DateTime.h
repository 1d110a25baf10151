#pragma once
// Date-time values are day counts since 30 December 1899 with the time of day as
// fraction. Texts use German regional settings: short date dd.MM.yyyy, long time
// hh:mm:ss; a date-time text is the date plus, unless the time is exactly midnight,
// a blank and the time.

#include <QByteArray>
#include <QDateTime>

namespace DateTime {

using TDateTime = double;

TDateTime now();
TDateTime fromQDateTime(const QDateTime& dt);
QDateTime toQDateTime(TDateTime value);

QByteArray dateToStr(TDateTime value);     // "06.12.2026"
QByteArray timeToStr(TDateTime value);     // "08:05:09"
QByteArray dateTimeToStr(TDateTime value); // "06.12.2026 08:05:09" or "06.12.2026"

// Accepts two- and four-digit years, one- or two-digit day, month and time fields,
// and a time without seconds. False for anything else, value untouched.
bool strToDateTime(const QByteArray& text, TDateTime& value);
bool strToDate(const QByteArray& text, TDateTime& value);
bool strToTime(const QByteArray& text, TDateTime& value);

// The runtime's message for a text that is no date-time.
QString invalidDateTimeMessage(const QByteArray& text);

} // namespace DateTime
