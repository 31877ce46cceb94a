#include "media/SourceFileTypes.h"
#include "media/SourceListEditing.h"
#include "media/SourceListModel.h"

#include <gtest/gtest.h>

namespace {

void fill(SourceListModel &model, const QStringList &names)
{
    model.clear();
    for (const QString &name : names)
        model.appendItem(WholeFileItem(name, 1, 2000));
}

QStringList names(const SourceListModel &model)
{
    QStringList out;
    for (const SourceItem &item : model.items())
        out << item.path;
    return out;
}

} // namespace

TEST(SourceListEditing, RemovesTheSelectionAndTellsWhereTheRowAboveTheFocusNowIs)
{
    struct Case {
        const char *what;
        QList<int> selected;
        std::optional<int> focused;
        QStringList left;
        std::optional<int> refocus;
    };
    const Case cases[] = {
        {"focused first row", {0}, 0, {"b", "c", "d", "e"}, std::nullopt},
        {"focused middle row", {2}, 2, {"a", "b", "d", "e"}, 1},
        {"row above removed too", {1, 2}, 2, {"a", "d", "e"}, std::nullopt},
        {"gaps, unordered, repeated", {3, 1, 3}, 3, {"a", "c", "e"}, 1},
        {"focus elsewhere than the selection", {4}, 1, {"a", "b", "c", "d"}, 0},
        {"no focused row", {0, 4}, std::nullopt, {"b", "c", "d"}, std::nullopt},
        {"nothing selected", {}, 2, {"a", "b", "c", "d", "e"}, std::nullopt},
        {"everything", {0, 1, 2, 3, 4}, 4, {}, std::nullopt},
    };
    SourceListModel model;
    for (const Case &c : cases) {
        fill(model, {"a", "b", "c", "d", "e"});
        EXPECT_EQ(RemoveSelectedRows(model, c.selected, c.focused), c.refocus) << c.what;
        EXPECT_EQ(names(model), c.left) << c.what;
    }
    ClearSourceList(model);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(SourceFileTypes, AcceptsTheListedExtensionsInAnyLetterCase)
{
    for (const QString &ext : AcceptedSourceExtensions()) {
        EXPECT_TRUE(IsAcceptedSourceFile("/v/clip" + ext)) << ext.toStdString();
        EXPECT_TRUE(IsAcceptedSourceFile("/v/CLIP" + ext.toUpper())) << ext.toStdString();
    }
    EXPECT_EQ(AcceptedSourceExtensions().size(), 21);
    for (const char *path : {"/v/clip.mka", "/v/clip.tsx", "/v/clip", "/v.mp4/clip", "/v/clip.mp4.part", "/v/clip."})
        EXPECT_FALSE(IsAcceptedSourceFile(QString::fromLatin1(path))) << path;
}

TEST(SourceFileTypes, DialogFiltersKeepTheirCaptionsAndOrder)
{
    const QStringList filters = SourceFileDialogFilters();
    ASSERT_EQ(filters.size(), 14);
    EXPECT_EQ(filters[0], "Supported Files (*.3gp *.mp4 *.m4v *.mpeg *.3g2 *.mpg *.avi *.asf *.mov *.wmv *.flv *.swf "
                          "*.rm *.rmvb *.vob *.mkv *.webm *.ts *.m2ts *.mts *.ogv)");
    EXPECT_EQ(filters[1], "3GP, 3G2 Files (*.3gp,*.3g2) (*.3gp)");
    EXPECT_EQ(filters[5], "FLV ,SWF Flash Video (*.flv,swf) (*.flv *.swf)");
    EXPECT_EQ(filters[10], "WMV Video Files (*.wmv) (*.wmv)");
    EXPECT_EQ(filters[11], "MKV, WebM Video Files (*.mkv,*.webm) (*.mkv *.webm)");
    EXPECT_EQ(filters[12], "MPEG-TS Video Files (*.ts,*.m2ts,*.mts) (*.ts *.m2ts *.mts)");
    EXPECT_EQ(filters[13], "OGV Video Files (*.ogv) (*.ogv)");
    EXPECT_EQ(DistinctPaths({"/a.avi", "/b.avi", "/a.avi", "/A.avi"}), QStringList({"/a.avi", "/b.avi", "/A.avi"}));
}

// Every type the list takes can be picked in the dialog, under "Supported Files" and on its own.
TEST(SourceFileTypes, TheDialogOffersEveryAcceptedExtension)
{
    const QStringList filters = SourceFileDialogFilters();
    const auto patternsOf = [](const QString &filter) {
        const qsizetype open = filter.lastIndexOf(u'(');
        return filter.mid(open + 1, filter.size() - open - 2).split(u' ');
    };
    for (const QString &ext : AcceptedSourceExtensions()) {
        const QString pattern = "*" + ext;
        EXPECT_TRUE(patternsOf(filters[0]).contains(pattern)) << ext.toStdString();
        int ownFilters = 0;
        for (qsizetype i = 1; i < filters.size(); ++i)
            ownFilters += patternsOf(filters[i]).contains(pattern) ? 1 : 0;
        EXPECT_EQ(ownFilters, ext == ".3g2" ? 0 : 1) << ext.toStdString(); // ".3g2" has only its caption
    }
}
