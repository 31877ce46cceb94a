#include "settings/CustomProfileValue.h"

#include "support/StrFunc.h"

#include <QStringList>

QString ProfileValueOf(const OptionSelectionModel &model)
{
    QStringList pieces;
    for (const Selector field : ProfileFieldOrder)
        pieces << QString::number(model.selectedIndex(field));
    return pieces.join(u'|');
}

void ApplyProfileValue(OptionSelectionModel &model, const QString &value, const QString &profileName)
{
    OptionSelection selection = model.selection();
    const auto select = [&] {
        for (const Selector field : ProfileFieldOrder)
            model.setSelectedIndex(field, selection[field]);
    };
    try {
        ApplyProfileValue(selection, value, profileName);
    } catch (const CustomProfileError &) {
        select(); // the fields before the faulty piece
        throw;
    }
    select();
}

void ApplyProfileValue(OptionSelection &selection, const QString &value, const QString &profileName)
{
    const QStringList pieces = SplitByChar(value, u'|');
    if (pieces.size() != int(ProfileFieldOrder.size()))
        return;
    for (size_t i = 0; i < ProfileFieldOrder.size(); ++i) {
        const QString &piece = pieces.at(qsizetype(i));
        if (piece.isEmpty())
            continue;
        bool ok = false;
        const int index = piece.toInt(&ok, 10);
        if (!ok)
            throw CustomProfileError(QStringLiteral("The custom profile \"%1\" cannot be loaded: \"%2\" is not a "
                                                    "valid integer value.")
                                         .arg(profileName, piece)
                                         .toStdString());
        selection[ProfileFieldOrder[i]] = index;
    }
}
