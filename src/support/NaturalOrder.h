#pragma once
// Names in the order people count: runs of digits compare by their value ("Week 2" before
// "Week 10"), the rest without regard to letter case; names that are still equal then compare
// exactly, so the order is total and the same on every machine (no locale).
#include <QString>

// Negative, zero or positive as `a` sorts before, with or after `b`.
int NaturalCompare(const QString &a, const QString &b);
inline bool NaturallyBefore(const QString &a, const QString &b) { return NaturalCompare(a, b) < 0; }
