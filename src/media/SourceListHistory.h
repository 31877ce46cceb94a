#pragma once
// Undo and redo for the source list. Every change of the list becomes one step that holds the
// list as it was before and after it, with a label the status line shows ("Remove", "Cut").
//
// Changes reach the history in one of two ways:
//   - record(label, change) runs a list-changing action and makes it one step with that label.
//     Every action that changes the list on purpose goes through it (remove, clear, split, ...).
//   - Any other change of the model (a marker dragged, a time typed, a box ticked) is noticed
//     through the model's itemsChanged signal. The changes that follow one another before the
//     event loop turns, or while a gesture is held (holdSteps()/releaseSteps(), a mouse button
//     held down on a marker), make one step; its label says what changed (LabelForChange).
//
// Undo and redo put a whole list back (ids, cuts, tracks, check boxes); the model's facts about
// files (missing, converted) are not part of a step.
#include "media/SourceItem.h"

#include <QList>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>

class SourceListModel;

// What changed between two lists, in words: "Add", "Remove", "Cut", "Check", "Audio track",
// "Order", or "Change" when several kinds changed at once.
QString LabelForChange(const QList<SourceItem> &before, const QList<SourceItem> &after);

class SourceListHistory final : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultDepth = 100;

    // `model` must outlive the history; the history starts from the list the model holds now.
    explicit SourceListHistory(SourceListModel &model, int depth = DefaultDepth, QObject *parent = nullptr);

    // Runs `change` as one step labelled `label` (no step when the list is the same afterwards).
    // A step being gathered is closed first. Calls nest: the outermost one makes the step.
    void record(const QString &label, const std::function<void()> &change);
    // Starts and ends an action that changes the list over several turns of the event loop (an
    // add that appends one file at a time): every change in between makes one step labelled
    // `label`. begin/end pairs nest; the outermost pair makes the step.
    void beginStep(const QString &label);
    void endStep();

    // While held, changes noticed on their own keep joining one step (a marker drag); the step
    // closes when the event loop turns after the hold is released. Holds nest.
    void holdSteps();
    void releaseSteps();

    // Closes the step being gathered now, if any.
    void closeStep();

    bool canUndo() const;
    bool canRedo() const;
    // Puts the list back to before the last step and returns its label; empty when there is none.
    QString undo();
    // Does the last undone step again and returns its label; empty when there is none.
    QString redo();
    // The label of the step undo (redo) would take back (do again); empty when none.
    QString undoLabel() const;
    QString redoLabel() const;

    // Forgets every step; the list as it is now is where the history starts.
    void reset();

Q_SIGNALS:
    // A step was added, undone or redone, or the history was reset.
    void changed();

private:
    struct Step {
        QString label;
        QList<SourceItem> before;
        QList<SourceItem> after;
    };

    enum class Direction { Back, Again };
    QString takeStep(std::deque<Step> &from, std::deque<Step> &to, Direction direction);
    void modelChanged();
    void push(Step step);
    void scheduleClose();
    void restore(const QList<SourceItem> &items);

    SourceListModel &m_model;
    int m_depth;
    std::deque<Step> m_done;
    std::deque<Step> m_undone;
    QList<SourceItem> m_known; // the list as the history last saw it
    // A step being gathered: the list before it, and its label (empty: named by what changed).
    bool m_gathering = false;
    QList<SourceItem> m_gatherBefore;
    QString m_gatherLabel;
    QString m_actionLabel; // of the record() or beginStep() open now
    int m_recordDepth = 0; // record() and beginStep() calls open now
    int m_holds = 0;
    bool m_closeScheduled = false;
    bool m_restoring = false;
};
