#pragma once
// Shows the About box of libForm.so with the product information.
#include "ProductInfo.h"

class QObject;

// Opens the About box of libForm.so in `programFolder`, handing it `info`; `parentWindow` is the
// window it belongs to (a QWidget), or nullptr. The box is modal to the application but the call
// returns at once. When the library cannot be loaded or lacks "ShowAboutForm", nothing happens
// and the result is false.
bool ShowAbout(const QString &programFolder, const RecSoftInfo &info, QObject *parentWindow);
