#include "DateTime.h"

#include "Win1252.h"

#include <QList>
#include <cmath>

namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;

// Splits "a<sep>b<sep>c" into 2 or 3 non-negative numbers; false on anything else.
bool parseFields(const QByteArray& text, char sep, QList<int>& out)
{
    out.clear();
    const QList<QByteArray> parts = text.split(sep);
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    for (const QByteArray& p : parts) {
        if (p.isEmpty() || p.size() > 4)
            return false;
        for (char c : p)
            if (c < '0' || c > '9')
                return false;
        out.append(p.toInt());
    }
    return true;
}

bool parseDate(const QByteArray& text, QDate& date)
{
    QList<int> f;
    if (!parseFields(text, '.', f) || f.size() != 3)
        return false;
    int year = f[2];
    if (text.split('.').at(2).size() <= 2)
        year += (year < 50) ? 2000 : 1900; // two-digit years: the Windows pivot of 50
    date = QDate(year, f[1], f[0]);
    return date.isValid();
}

bool parseTime(const QByteArray& text, double& fraction)
{
    QList<int> f;
    if (!parseFields(text, ':', f))
        return false;
    const int h = f[0], m = f[1], s = f.size() > 2 ? f[2] : 0;
    if (h > 23 || m > 59 || s > 59)
        return false;
    fraction = (h * 3600.0 + m * 60.0 + s) / 86400.0;
    return true;
}

// Before the epoch the time of day is subtracted: -1.25 is 29.12.1899 06:00, which is
// how toQDateTime reads it back.
double Encode(qint64 days, double fraction)
{
    return days < 0 ? double(days) - fraction : double(days) + fraction;
}

} // namespace

namespace DateTime {

TDateTime now() { return fromQDateTime(QDateTime::currentDateTime()); }

TDateTime fromQDateTime(const QDateTime& dt)
{
    return Encode(kEpoch.daysTo(dt.date()), dt.time().msecsSinceStartOfDay() / kMsPerDay);
}

QDateTime toQDateTime(TDateTime value)
{
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
        value = 0;
    // Negative values keep the time as a positive fraction of their day, as the runtime does.
    double days = std::trunc(value);
    double frac = std::fabs(value - days);
    qint64 ms = qint64(std::llround(frac * kMsPerDay));
    if (ms >= qint64(kMsPerDay)) {
        ms -= qint64(kMsPerDay);
        days += (value < 0 ? -1 : 1);
    }
    return QDateTime(kEpoch.addDays(qint64(days)), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QByteArray dateToStr(TDateTime value)
{
    return toQDateTime(value).date().toString("dd.MM.yyyy").toLatin1();
}

QByteArray timeToStr(TDateTime value)
{
    return toQDateTime(value).time().toString("hh:mm:ss").toLatin1();
}

QByteArray dateTimeToStr(TDateTime value)
{
    const QDateTime dt = toQDateTime(value);
    QByteArray s = dt.date().toString("dd.MM.yyyy").toLatin1();
    if (dt.time() != QTime(0, 0))
        s += ' ' + dt.time().toString("hh:mm:ss").toLatin1();
    return s;
}

bool strToDate(const QByteArray& text, TDateTime& value)
{
    QDate d;
    if (!parseDate(Win1252::trim(text), d))
        return false;
    value = kEpoch.daysTo(d);
    return true;
}

bool strToTime(const QByteArray& text, TDateTime& value)
{
    double f = 0;
    if (!parseTime(Win1252::trim(text), f))
        return false;
    value = f;
    return true;
}

bool strToDateTime(const QByteArray& text, TDateTime& value)
{
    const QByteArray t = Win1252::trim(text);
    const int blank = int(t.indexOf(' '));
    QDate d;
    double f = 0;
    if (blank < 0) {
        if (!parseDate(t, d))
            return false;
    } else if (!parseDate(t.left(blank), d) || !parseTime(Win1252::trim(t.mid(blank + 1)), f)) {
        return false;
    }
    value = Encode(kEpoch.daysTo(d), f);
    return true;
}

QString invalidDateTimeMessage(const QByteArray& text)
{
    return QStringLiteral("'%1' ist kein gültiges Datum und Zeit").arg(Win1252::toUnicode(text));
}

} // namespace DateTime
