#pragma once
// What the custom-profile tests share: the profiles in a program folder of their own, over
// option selectors set as the program's start leaves them.
#include "common/Fakes.h"
#include "settings/CustomProfileValue.h"
#include "settings/CustomProfiles.h"
#include "settings/QualityProfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// After the start-up's "Normal Quality" for AMR the six profile selectors read 1|1|2|5|1|2.
inline const QString StartValues = QStringLiteral("1|1|2|5|1|2");

class CustomProfilesFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    FakeMessageBoxes boxes;
    OptionSelectionModel options;
    CustomProfileBox box;
    TCustomProfiles profiles{folder, options, box, boxes};

    void SetUp() override
    {
        FillAllSelectors(options, {});
        ApplyQualityProfile(options, {});
    }
    QString infoPath() const { return folder + "Config/UserProfileInfo.ini"; }
    void writeInfo(const QByteArray &bytes)
    {
        ASSERT_TRUE(QDir().mkpath(folder + "Config"));
        QFile file(infoPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // The six profile selectors as a profile stores them.
    QString values() const { return ProfileValueOf(options); }
};
