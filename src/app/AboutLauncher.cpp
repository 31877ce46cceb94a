#include "AboutLauncher.h"

#include "CompanionFiles.h"
#include "CompanionLibrary.h"

#include <KelvaneCompanions.h>
#include <QByteArray>

namespace {

// UTF-8 copies of the product texts, alive for the call into the library.
struct AboutTextsUtf8 {
    explicit AboutTextsUtf8(const RecSoftInfo &info)
        : maker(info.MakerName.toUtf8()), product(info.ProductName.toUtf8()), text2(info.ProductText2.toUtf8()),
          version(info.Version.toUtf8()), homePage(info.HomePage.toUtf8()), email(info.SupportEmail.toUtf8()),
          text7(info.ProductText7.toUtf8()), folder(info.ProgramFolder.toUtf8())
    {
    }

    KelvaneAboutInfo view() const
    {
        return {maker.constData(),    product.constData(), text2.constData(), version.constData(),
                homePage.constData(), email.constData(),   text7.constData(), folder.constData()};
    }

    QByteArray maker, product, text2, version, homePage, email, text7, folder;
};

} // namespace

bool ShowAbout(const QString &programFolder, const RecSoftInfo &info, QObject *parentWindow)
{
    CompanionLibrary library(CompanionPath(programFolder, FormLibraryName()));
    const auto showAboutForm = library.function<KelvaneShowAboutFormFn>(KELVANE_SHOW_ABOUT_SYMBOL);
    if (!showAboutForm)
        return false;
    const AboutTextsUtf8 texts(info);
    const KelvaneAboutInfo view = texts.view();
    return showAboutForm(parentWindow, &view) != 0;
}
