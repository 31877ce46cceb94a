#pragma once
// The product information read once at start-up from libRes.so and the executable's version.
#include <QString>

struct RecSoftInfo {
    QString MakerName;
    QString ProductName;
    QString ProductText2;
    QString Version;
    QString HomePage;
    QString SupportEmail;
    QString ProductText7;
    QString ProgramFolder; // with a trailing separator
};

// What went wrong with a companion library: a message for the user and the loader's reason for the log.
struct CompanionError {
    QString message;
    QString detail;
    bool isSet() const { return !message.isEmpty(); }
};

struct ProductInfoResult {
    RecSoftInfo info;
    CompanionError error; // set when libRes.so could not be used; `info` is then empty
    bool ok() const { return !error.isSet(); }
};

// Fills RecSoftInfo from libRes.so in `programFolder` and the version stored in `exePath`.
// The library is loaded for this call only.
ProductInfoResult LoadProductInfo(const QString &programFolder, const QString &exePath);

// The main window's title: the product name, a blank and the version.
QString ProductTitle(const RecSoftInfo &info);
