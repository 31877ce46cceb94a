#pragma once
// Hands each chunk of a runner's output to a handler on the thread of a receiver object.
#include "engine/OutputCapture.h"

#include <QObject>
#include <QPointer>

// Wraps `handler` so that a call from the worker thread runs it on `receiver`'s thread and
// waits until it has finished. A handler that throws is caught there; the runner goes on.
// Called on the receiver's own thread, the handler runs directly.
// The receiver's thread must not wait for the runner while a chunk is being handed over:
// free the runner after its captureFinished signal.
TOutputHandler HandOffTo(QObject *receiver, TOutputHandler handler);
