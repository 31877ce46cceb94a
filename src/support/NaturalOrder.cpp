#include "support/NaturalOrder.h"

namespace {

qsizetype runEnd(const QString &s, qsizetype from, bool digits)
{
    while (from < s.size() && s.at(from).isDigit() == digits)
        ++from;
    return from;
}

// Two runs of digits by value: leading zeros left out, then the longer number is the larger.
int compareNumbers(QStringView a, QStringView b)
{
    while (a.size() > 1 && a.front() == u'0')
        a = a.mid(1);
    while (b.size() > 1 && b.front() == u'0')
        b = b.mid(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int sign(int value) { return (value > 0) - (value < 0); }

} // namespace

int NaturalCompare(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const bool digitsA = a.at(i).isDigit();
        const bool digitsB = b.at(j).isDigit();
        if (digitsA != digitsB)
            return digitsA ? -1 : 1; // a number sorts before text
        const qsizetype endA = runEnd(a, i, digitsA);
        const qsizetype endB = runEnd(b, j, digitsB);
        const QStringView runA = QStringView(a).mid(i, endA - i);
        const QStringView runB = QStringView(b).mid(j, endB - j);
        const int order = digitsA ? compareNumbers(runA, runB) : runA.compare(runB, Qt::CaseInsensitive);
        if (order != 0)
            return sign(order);
        i = endA;
        j = endB;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return sign(a.compare(b));
}
