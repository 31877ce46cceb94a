#pragma once
// Hands each chunk of a runner's output to a handler on the thread of a receiver object and
// waits until the handler has finished.
#include "engine/OutputCapture.h"

#include <QObject>
#include <memory>

class TOutputHandoff {
public:
    TOutputHandoff(QObject *receiver, TOutputHandler handler);

    // The callback for the worker thread. Called on the receiver's own thread, it runs the
    // handler directly. A handler that throws is caught; the worker goes on either way.
    TOutputHandler callback() const;
    // Releases a worker waiting for the receiver's thread and drops every later chunk; for a
    // receiver's thread that must wait for the worker.
    void abandon();

    struct State;

private:
    std::shared_ptr<State> m_state;
};
