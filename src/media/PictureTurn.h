#pragma once
// A video's picture is stored as the camera recorded it; the file may ask for it to be shown
// turned (a phone held upright records a wide picture that is shown standing). The preview's
// player draws every picture as stored, and the video window turns it: these say by how much
// and into what shape.
#include <QSize>

// Clockwise quarter turns, 0 to 3, that a display matrix's rotation asks for. `counterClockwise`
// is the angle in degrees the media libraries read from the matrix; an angle that is no whole
// quarter turn (give or take a degree) or no number at all shows the picture as stored.
int QuarterTurnsOf(double counterClockwise);

// The shape of `size` after `quarterTurns` clockwise quarter turns: its sides swapped for an odd
// number of them.
QSize TurnedSize(QSize size, int quarterTurns);
