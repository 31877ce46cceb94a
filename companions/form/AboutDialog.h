#pragma once
// The About box of libForm.so, built from the product information it is handed.
#include <QDialog>
#include <QString>

struct AboutTexts {
    QString makerName;
    QString productName;
    QString productText2;
    QString version;
    QString homePage;
    QString supportEmail;
    QString productText7;
};

// Object name of the About box, so that a second request finds the open one.
inline constexpr const char *AboutDialogObjectName = "KelvaneAboutDialog";

// A new About box for `texts`; it deletes itself when closed.
QDialog *createAboutDialog(const AboutTexts &texts, QWidget *parent);
