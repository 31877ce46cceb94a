#pragma once

// SIGTERM, SIGINT and SIGHUP only raise a flag; the encode loop and libavformat's interrupt
// callback look at it and unwind, which removes the unfinished output.
void installStopHandlers();
bool stopRequested();
int stopInterruptCallback(void* opaque);
