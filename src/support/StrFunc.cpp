#include "support/StrFunc.h"

QString TStrFunc::TextAfterLast(const QString &text, const QString &separator)
{
    if (separator.isEmpty())
        return text;
    const qsizetype at = text.lastIndexOf(separator);
    return at < 0 ? text : text.mid(at + separator.size());
}

QStringList &SplitByDelimiter(const QString &text, const QString &separator, QStringList &list)
{
    list.clear();
    if (separator.isEmpty()) {
        if (!text.isEmpty())
            list << text;
        return list;
    }
    list = text.split(separator, Qt::SkipEmptyParts);
    return list;
}

QStringList SplitByChar(const QString &text, QChar separator)
{
    QStringList pieces = text.split(separator, Qt::KeepEmptyParts);
    // A trailing piece is only added when it is not empty; the empty text gives no pieces.
    if (!pieces.isEmpty() && pieces.last().isEmpty())
        pieces.removeLast();
    return pieces;
}

QString TrimControls(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 32)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 32)
        --last;
    return text.mid(first, last - first);
}

namespace {

// First pass: digits, and only the first ".", "+" and "-" of the text.
QString keepNumberCharacters(const QString &text)
{
    QString kept;
    bool dot = false, plus = false, minus = false;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9')
            kept += c;
        else if (c == u'.' && !dot)
            dot = true, kept += c;
        else if (c == u'+' && !plus)
            plus = true, kept += c;
        else if (c == u'-' && !minus)
            minus = true, kept += c;
    }
    return kept;
}

} // namespace

double NumericPart(const QString &text)
{
    QString kept = keepNumberCharacters(TrimControls(text));
    if (kept.isEmpty() || kept == u"+" || kept == u"-")
        return 0.0;
    if (kept.size() >= 2) {
        const QString rest = kept.mid(1).remove(u'+').remove(u'-');
        kept = kept.left(1) + rest;
    }
    bool ok = false;
    const double value = kept.toDouble(&ok); // "." is the decimal point in every locale
    if (!ok)
        throw NumericPartError(QStringLiteral("'%1' holds no number").arg(text).toStdString());
    return value;
}
