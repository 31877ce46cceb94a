#pragma once
// One piece of the encoder command: its text (with a leading blank) and the same piece as
// separate arguments. Paths are always single arguments; they are never split.
#include <QString>
#include <QStringList>

struct Fragment {
    QString text;
    QStringList args;

    // " " + option + " " + value, as the two arguments option and value.
    static Fragment option(const QString &option, const QString &value)
    {
        return {QLatin1Char(' ') + option + QLatin1Char(' ') + value, {option, value}};
    }
    // A fragment made only of the built-in table words separated by blanks (no paths, no user
    // text); every word is one argument. A lone blank gives no argument.
    static Fragment words(const QString &text) { return {text, text.split(QLatin1Char(' '), Qt::SkipEmptyParts)}; }
};
