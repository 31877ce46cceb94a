// The companion libraries as the program uses them: product texts, splash picture, About box,
// and what happens when one of them is missing or is not the library it should be.
#include "app/AboutLauncher.h"
#include "app/CompanionFiles.h"
#include "app/CompanionLibrary.h"
#include "app/JpegDecoder.h"
#include "app/ProductInfo.h"
#include "app/SplashJpeg.h"
#include "app/widgets/SplashImage.h"
#include "common/TestPaths.h"

#include <KelvaneCompanions.h>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString FormName = QStringLiteral("libForm.so");
const QString ResName = QStringLiteral("libRes.so");
const QString NotFoundForm = QStringLiteral("'libForm.so' is not found. Please reinstall this program.");
const QString NotFoundRes = QStringLiteral("'libRes.so' is not found. Please reinstall this program.");

// A program folder holding copies of the built companions: `files` maps a name in the folder
// to the built library copied under that name.
class ProgramFolder {
public:
    explicit ProgramFolder(const QList<QPair<QString, QString>> &files)
    {
        for (const auto &[name, builtName] : files)
            QFile::copy(builtProgramFolder() + builtName, m_dir.filePath(name));
    }
    QString path() const { return m_dir.path() + QLatin1Char('/'); }

private:
    QTemporaryDir m_dir;
};

QList<QDialog *> aboutDialogs()
{
    QList<QDialog *> found;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("KelvaneAboutDialog") && widget->isVisible())
            found << qobject_cast<QDialog *>(widget);
    }
    return found;
}

} // namespace

TEST(ProductInfo, ComesFromTheBuiltResourceLibraryAndTheExecutable)
{
    const ProductInfoResult result =
        LoadProductInfo(builtProgramFolder(), builtProgramFolder() + QStringLiteral("kelvane"));
    ASSERT_TRUE(result.ok()) << result.error.message.toStdString() << result.error.detail.toStdString();
    const RecSoftInfo &info = result.info;
    EXPECT_EQ(info.MakerName, QStringLiteral("Brask Soft"));
    EXPECT_EQ(info.ProductName, QStringLiteral("Kelvane"));
    EXPECT_FALSE(info.ProductText2.isEmpty());
    EXPECT_EQ(info.Version, QStringLiteral("1.0"));
    EXPECT_TRUE(info.HomePage.startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(info.SupportEmail.contains(QLatin1Char('@')));
    EXPECT_FALSE(info.ProductText7.isEmpty());
    EXPECT_EQ(info.ProgramFolder, builtProgramFolder());
    EXPECT_EQ(ProductTitle(info), QStringLiteral("Kelvane 1.0"));
}

TEST(ProductInfo, TitleWithoutVersionEndsInOneBlank)
{
    RecSoftInfo info;
    info.ProductName = QStringLiteral("Kelvane");
    EXPECT_EQ(ProductTitle(info), QStringLiteral("Kelvane "));
}

TEST(ProductInfo, ResourceStringsAreCutToTheCallersBuffer)
{
    CompanionLibrary library(builtProgramFolder() + ResName);
    const auto readString = library.function<KelvaneResStringFn>(KELVANE_RES_STRING_SYMBOL);
    ASSERT_NE(readString, nullptr) << library.errorText().toStdString();
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(readString(KELVANE_RES_MAKER_NAME, buffer, 4), 3);
    EXPECT_STREQ(buffer, "Bra");
    EXPECT_EQ(readString(3, buffer, int(sizeof buffer)), 0); // no entry 3
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(readString(KELVANE_RES_MAKER_NAME, buffer, 0), 0);
    EXPECT_EQ(readString(KELVANE_RES_MAKER_NAME, nullptr, 8), 0);
}

TEST(ProductInfo, MissingOrWrongResourceLibraryIsAnErrorForTheUser)
{
    const ProgramFolder empty({});
    const ProductInfoResult missing = LoadProductInfo(empty.path(), builtProgramFolder() + QStringLiteral("kelvane"));
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.error.message, NotFoundRes);
    EXPECT_FALSE(missing.error.detail.isEmpty());
    EXPECT_TRUE(missing.info.ProductName.isEmpty());

    const ProgramFolder wrong({{ResName, FormName}}); // a library without the string export
    const ProductInfoResult damaged = LoadProductInfo(wrong.path(), builtProgramFolder() + QStringLiteral("kelvane"));
    EXPECT_FALSE(damaged.ok());
    EXPECT_EQ(damaged.error.message, QStringLiteral("'libRes.so' cannot be used. Please reinstall this program."));

    EXPECT_EQ(LoadSplashJpeg(empty.path()).error.message, NotFoundRes);
    EXPECT_FALSE(LoadSplashJpeg(wrong.path()).ok());
    QString error;
    EXPECT_TRUE(LoadSplashImage(empty.path(), 2.0, &error).isNull());
    EXPECT_EQ(error, NotFoundRes);
}

TEST(SplashPicture, IsARealJpegThatDecodes)
{
    const SplashJpegResult jpeg = LoadSplashJpeg(builtProgramFolder());
    ASSERT_TRUE(jpeg.ok()) << jpeg.error.detail.toStdString();
    EXPECT_TRUE(jpeg.jpeg.startsWith("\xFF\xD8\xFF"));

    const DecodedPicture picture = DecodeJpeg(jpeg.jpeg);
    ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
    EXPECT_GT(picture.width, 0);
    EXPECT_GT(picture.height, 0);
    EXPECT_EQ(picture.rgb.size(), qsizetype(picture.width) * picture.height * 3);

    QString error;
    const QImage image = LoadSplashImage(builtProgramFolder(), 1.0, &error);
    ASSERT_FALSE(image.isNull()) << error.toStdString();
    EXPECT_EQ(image.size(), QSize(picture.width, picture.height));
    EXPECT_TRUE(error.isEmpty());

    // A high-density screen gets the double-size picture at the same logical size.
    const QImage sharp = LoadSplashImage(builtProgramFolder(), 2.0, &error);
    ASSERT_FALSE(sharp.isNull()) << error.toStdString();
    EXPECT_EQ(sharp.size(), image.size() * 2);
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(image.size()));

    const SplashJpegResult unknown = LoadSplashJpeg(builtProgramFolder(), "NoSuchPicture");
    EXPECT_FALSE(unknown.ok());
    EXPECT_TRUE(unknown.jpeg.isEmpty());
}

TEST(SplashPicture, BytesThatAreNoJpegGiveAnError)
{
    for (const QByteArray &bytes : {QByteArray(), QByteArray("not a picture"), QByteArray("\xFF\xD8\xFF\xE0", 4)}) {
        const DecodedPicture picture = DecodeJpeg(bytes);
        EXPECT_FALSE(picture.ok());
        EXPECT_TRUE(picture.rgb.isEmpty());
        EXPECT_TRUE(ToImage(picture).isNull());
    }
}

TEST(CheckRequiredFiles, ReportsEachMissingCompanionFormFirst)
{
    struct Case {
        QList<QPair<QString, QString>> present;
        QStringList expected;
    };
    const Case cases[] = {
        {{{FormName, FormName}, {ResName, ResName}}, {}},
        {{{ResName, ResName}}, {NotFoundForm}},
        {{{FormName, FormName}}, {NotFoundRes}},
        {{}, {NotFoundForm, NotFoundRes}},
    };
    for (const Case &c : cases) {
        const ProgramFolder folder(c.present);
        EXPECT_EQ(CheckRequiredFiles(folder.path()), c.expected) << c.present.size();
    }
}

TEST(CheckRequiredFiles, LooksInTheProgramFolderNotTheCurrentFolder)
{
    const ProgramFolder empty({});
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(builtProgramFolder()));
    const QStringList messages = CheckRequiredFiles(empty.path());
    QDir::setCurrent(current);
    EXPECT_EQ(messages, QStringList({NotFoundForm, NotFoundRes}));
}

TEST(AboutBox, MissingOrWrongFormLibraryDoesNothing)
{
    RecSoftInfo info;
    info.ProductName = QStringLiteral("Kelvane");
    const ProgramFolder empty({});
    EXPECT_FALSE(ShowAbout(empty.path(), info, nullptr));
    const ProgramFolder wrong({{FormName, ResName}}); // a library without "ShowAboutForm"
    EXPECT_FALSE(ShowAbout(wrong.path(), info, nullptr));
    EXPECT_TRUE(aboutDialogs().isEmpty());
}

TEST(AboutBox, ShowsTheProductInformationWithoutBlockingTheCaller)
{
    const ProductInfoResult product =
        LoadProductInfo(builtProgramFolder(), builtProgramFolder() + QStringLiteral("kelvane"));
    ASSERT_TRUE(product.ok());
    ASSERT_TRUE(ShowAbout(builtProgramFolder(), product.info, nullptr));
    ASSERT_TRUE(ShowAbout(builtProgramFolder(), product.info, nullptr)); // raises the open box

    const QList<QDialog *> dialogs = aboutDialogs();
    ASSERT_EQ(dialogs.size(), 1);
    QDialog *dialog = dialogs.first();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("About Kelvane"));
    EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
    QStringList texts;
    for (const QLabel *label : dialog->findChildren<QLabel *>())
        texts << label->text();
    const QString all = texts.join(QLatin1Char('\n'));
    for (const QString &expected : {QStringLiteral("Kelvane 1.0"), product.info.MakerName, product.info.ProductText2,
                                    product.info.HomePage, product.info.SupportEmail, product.info.ProductText7})
        EXPECT_TRUE(all.contains(expected)) << expected.toStdString();
    dialog->close();
    EXPECT_TRUE(aboutDialogs().isEmpty());
}
