#pragma once
// What the services need from the desktop, as small interfaces. The application hands real
// implementations to the services; tests hand fakes, so no test ever shows a dialog, opens a
// browser or file manager, or powers a machine off.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

enum class MessageIcon { Error, Warning, Question, Information };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
// Button identifiers keep the classic numeric values callers compare against.
enum class MessageAnswer { None = 0, Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// Modal message boxes captioned with the application title.
class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    virtual MessageAnswer show(const QString &text, MessageIcon icon, MessageButtons buttons) = 0;
    // A one-line text input; nullopt when the user cancels.
    virtual std::optional<QString> askText(const QString &prompt, const QString &initial) = 0;
};

// Opens web addresses, "mailto:" links, documents and folders with the user's programs.
class IShellLauncher {
public:
    virtual ~IShellLauncher() = default;
    virtual bool open(const QUrl &url) = 0;
};

// Asks the system to power the computer off.
class IPowerControl {
public:
    virtual ~IPowerControl() = default;
    virtual bool powerOff() = 0;
    // Programs that ask to keep the computer running now, each as "who: why"; empty when none.
    virtual QStringList shutdownBlockers() { return {}; }
};

// The wall clock, so that log lines can be checked against a fixed time.
class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public IClock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
