#include "media/SourceFileTypes.h"

#include "support/FileFunc.h"

#include <QSet>

namespace {

struct DialogFilter {
    const char *caption;
    const char *patterns; // separated by ";"
};

const DialogFilter dialogFilters[] = {
    {"Supported Files", "*.3gp;*.mp4;*.m4v;*.mpeg;*.3g2;*.mpg;*.avi;*.asf;*.mov;*.wmv;*.flv;*.swf;*.rm;*.rmvb;*.vob;"
                        "*.mkv;*.webm;*.ts;*.m2ts;*.mts;*.ogv;"},
    {"3GP, 3G2 Files (*.3gp,*.3g2)", "*.3gp"},
    {"AVI Files (*.avi)", "*.avi"},
    {"ASF Files (*.asf)", "*.asf"},
    {"MOV Files (*.mov)", "*.mov"},
    {"FLV ,SWF Flash Video (*.flv,swf)", "*.flv;*.swf"},
    {"MP4 File (*.mp4,*.m4v)", "*.mp4;*.m4v"},
    {"MPEG Files (*.mpeg,*.mpg)", "*.mpeg;*.mpg"},
    {"RM, RMVB (*.rm,*.rmvb)", "*.rm;*.rmvb"},
    {"VOB Video Files (*.vob)", "*.vob"},
    {"WMV Video Files (*.wmv)", "*.wmv"},
    {"MKV, WebM Video Files (*.mkv,*.webm)", "*.mkv;*.webm"},
    {"MPEG-TS Video Files (*.ts,*.m2ts,*.mts)", "*.ts;*.m2ts;*.mts"},
    {"OGV Video Files (*.ogv)", "*.ogv"},
};

} // namespace

const QStringList &AcceptedSourceExtensions()
{
    static const QStringList extensions{".3gp", ".3g2", ".avi", ".m4v", ".mpeg", ".mpg", ".asf", ".mov",
                                        ".wmv", ".vob", ".rm",  ".rmvb", ".flv", ".swf", ".mp4",
                                        ".mkv", ".webm", ".ts", ".m2ts", ".mts", ".ogv"};
    return extensions;
}

bool IsAcceptedSourceFile(const QString &path)
{
    const QString extension = TFileFunc::FileExtension(path).toLower();
    return !extension.isEmpty() && AcceptedSourceExtensions().contains(extension);
}

QStringList SourceFileDialogFilters()
{
    QStringList filters;
    for (const DialogFilter &filter : dialogFilters) {
        const QStringList patterns = QString::fromLatin1(filter.patterns).split(u';', Qt::SkipEmptyParts);
        filters << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(filter.caption), patterns.join(u' '));
    }
    return filters;
}

QStringList DistinctPaths(const QStringList &paths)
{
    QStringList distinct;
    QSet<QString> seen;
    for (const QString &path : paths) {
        if (!seen.contains(path)) {
            seen.insert(path);
            distinct << path;
        }
    }
    return distinct;
}
