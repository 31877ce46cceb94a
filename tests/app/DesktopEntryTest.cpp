// The desktop entry offers "Open with Kelvane" for every type of file the list accepts.
#include "media/SourceFileTypes.h"

#include <QFile>
#include <QMimeDatabase>
#include <algorithm>
#include <gtest/gtest.h>

TEST(DesktopEntry, ListsTheMimeTypeOfEveryAcceptedExtension)
{
    QFile entry(QStringLiteral(KELVANE_TEST_SOURCE_DIR "../packaging/com.brasksoft.Kelvane.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList listed;
    for (const QByteArray &line : entry.readAll().split('\n')) {
        if (line.startsWith("MimeType="))
            listed = QString::fromUtf8(line.mid(9)).split(u';', Qt::SkipEmptyParts);
    }
    ASSERT_FALSE(listed.isEmpty());

    const auto isListed = [&listed](const QMimeType &type) {
        for (const QString &name : QStringList{type.name()} + type.aliases()) {
            if (listed.contains(name))
                return true;
        }
        return false;
    };
    const QMimeDatabase types;
    for (const QString &extension : AcceptedSourceExtensions()) {
        // A name may match several types (".ts" is also a translation file): one of them will do.
        const QList<QMimeType> candidates = types.mimeTypesForFileName("clip" + extension);
        EXPECT_TRUE(std::any_of(candidates.begin(), candidates.end(), isListed)) << extension.toStdString();
    }
}
