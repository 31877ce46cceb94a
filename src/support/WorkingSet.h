#pragma once
// Hands freed heap memory back to the system; harmless to call at any time.
void TrimWorkingSet();
