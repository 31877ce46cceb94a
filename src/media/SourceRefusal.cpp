#include "media/SourceRefusal.h"

#include <QStringList>

QString RefusalReasonText(SourceRefusal refusal)
{
    switch (refusal) {
    case SourceRefusal::None: return {};
    case SourceRefusal::Missing: return QStringLiteral("the file does not exist");
    case SourceRefusal::Empty: return QStringLiteral("the file is empty (0 bytes)");
    case SourceRefusal::Unreadable: return QStringLiteral("the file cannot be read (not a regular file, or no permission)");
    case SourceRefusal::Damaged: return QStringLiteral("the file is damaged or incomplete and cannot be opened");
    case SourceRefusal::NoDecoder: return QStringLiteral("no installed decoder can read it; a codec may be missing");
    case SourceRefusal::TooShort: return QStringLiteral("it lasts less than a second");
    case SourceRefusal::SizeUnknown: return QStringLiteral("its size cannot be read; please check that you may read it");
    }
    return {};
}

bool IsCodecRefusal(SourceRefusal refusal)
{
    return refusal == SourceRefusal::NoDecoder || refusal == SourceRefusal::TooShort;
}

QString RefusedFilesText(const QList<RefusedSourceFile> &files)
{
    QString text = files.size() == 1 ? QStringLiteral("This file was not added to the list:")
                                     : QStringLiteral("These files were not added to the list:");
    for (const RefusedSourceFile &file : files)
        text += QStringLiteral("\n\n") + file.path + QStringLiteral("\n") + RefusalReasonText(file.refusal) + u'.';
    return text;
}

QString SoundlessFilesText(const QStringList &paths)
{
    QString text = paths.size() == 1
                       ? QStringLiteral("This video has no sound, so it was added to the list unchecked:")
                       : QStringLiteral("These videos have no sound, so they were added to the list unchecked:");
    for (const QString &path : paths)
        text += QStringLiteral("\n\n") + path;
    return text;
}

QString SoundlessRowText()
{
    return QStringLiteral("This video has no sound: there is nothing to convert.");
}
