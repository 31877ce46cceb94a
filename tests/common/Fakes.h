#pragma once
// Fakes for the desktop collaborators. They record what was asked and answer from a script.
#include "platform/PlatformServices.h"
#include "settings/OutputFolderChoice.h"

#include <QList>
#include <QStringList>
#include <deque>
#include <functional>
#include <utility>

// The first of `queue`, taken from it; nullopt (the user cancels) when it is empty.
inline std::optional<QString> takeFirst(std::deque<std::optional<QString>> &queue)
{
    std::optional<QString> first;
    if (!queue.empty()) {
        first.swap(queue.front());
        queue.pop_front();
    }
    return first;
}

struct ShownMessage {
    QString text;
    MessageIcon icon;
    MessageButtons buttons;
};

class FakeMessageBoxes final : public IMessageBoxes {
public:
    QList<ShownMessage> shown;
    std::deque<MessageAnswer> answers;          // consumed in order; Ok/Yes-less default below
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
    std::deque<std::optional<QString>> textAnswers;
    QStringList proposedTexts;                  // the initial text of every input box, in order
    // Runs once, in the next box shown, before it answers: a modal box keeps the event loop
    // running while it is open, and so may this (a user who answers late).
    std::function<void()> whileOpen;

    MessageAnswer show(const QString &text, MessageIcon icon, MessageButtons buttons) override
    {
        shown.append({text, icon, buttons});
        if (whileOpen)
            std::exchange(whileOpen, {})();
        if (answers.empty())
            return defaultAnswer;
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<QString> askText(const QString &prompt, const QString &initial) override
    {
        proposedTexts << initial;
        shown.append({prompt, MessageIcon::Question, MessageButtons::Ok});
        return takeFirst(textAnswers);
    }
    QStringList texts() const
    {
        QStringList out;
        for (const auto &m : shown)
            out << m.text;
        return out;
    }
};

class FakeShellLauncher final : public IShellLauncher {
public:
    QList<QUrl> opened;
    bool result = true;
    std::function<void(const QUrl &)> onOpen; // sees each launch as it happens
    bool open(const QUrl &url) override
    {
        opened.append(url);
        if (onOpen)
            onOpen(url);
        return result;
    }
};

class FakePowerControl final : public IPowerControl {
public:
    int powerOffCalls = 0;
    bool result = true;
    QStringList blockers;
    bool powerOff() override
    {
        ++powerOffCalls;
        return result;
    }
    QStringList shutdownBlockers() override { return blockers; }
};

class FixedClock final : public IClock {
public:
    QDateTime at;
    explicit FixedClock(QDateTime t = QDateTime(QDate(2008, 3, 14), QTime(10, 5, 31))) : at(std::move(t)) {}
    QDateTime now() const override { return at; }
};

class FakeFolderBrowser final : public IFolderBrowser {
public:
    std::deque<std::optional<QString>> answers;   // nullopt = the user cancels
    QStringList titles;
    std::optional<QString> chooseFolder(const QString &title) override
    {
        titles << title;
        return takeFirst(answers);
    }
};
