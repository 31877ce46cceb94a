#pragma once
// A question with three buttons of its own ("Convert again", "Skip them", "Cancel"). Message
// boxes that can caption their buttons offer it; any other stands in with Yes, No and Cancel.
#include "platform/PlatformServices.h"

#include <QStringList>

class IChoiceBox {
public:
    virtual ~IChoiceBox() = default;
    // Shows `text` with buttons captioned `captions` in order; the last one also answers a
    // closed box. Returns the index of the button pressed.
    virtual int choose(const QString &text, MessageIcon icon, const QStringList &captions) = 0;
};

// Asks through `boxes`: with captioned buttons where it can, else as Yes (0), No (1), Cancel (2).
inline int ChooseAmong(IMessageBoxes &boxes, const QString &text, MessageIcon icon, const QStringList &captions)
{
    if (auto *choice = dynamic_cast<IChoiceBox *>(&boxes))
        return choice->choose(text, icon, captions);
    switch (boxes.show(text, icon, MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes: return 0;
    case MessageAnswer::No: return 1;
    default: return 2;
    }
}
