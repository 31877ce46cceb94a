#include "media/widgets/PreviewKeyBindings.h"

#include <QAction>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>

namespace {

class PreviewKeyFilter final : public QObject {
public:
    PreviewKeyFilter(QWidget *widget, PreviewKeyHandler handler) : QObject(widget), m_handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        return m_handler(key->key(), key->modifiers());
    }

private:
    PreviewKeyHandler m_handler;
};

void addCutAction(QWidget *widget, const QString &text, const QString &tip, int key, const PreviewKeyHandler &handler)
{
    auto *action = new QAction(text, widget);
    action->setToolTip(tip);
    QObject::connect(action, &QAction::triggered, widget, [handler, key] { handler(key, Qt::NoModifier); });
    widget->addAction(action);
}

} // namespace

void BindPreviewKeys(QWidget *widget, PreviewKeyHandler handler)
{
    widget->setFocusPolicy(Qt::ClickFocus);
    widget->installEventFilter(new PreviewKeyFilter(widget, handler));
    widget->setToolTip(QStringLiteral("Click, then: Left/Right 5 s, Shift+Left/Right 1 s, Home/End the cut's start/end, "
                                      "comma/period a frame, I/O the start/end at the playhead"));
    widget->setContextMenuPolicy(Qt::ActionsContextMenu);
    addCutAction(widget, QStringLiteral("Start at the Playhead\tI"),
                 QStringLiteral("The selected rows start at the preview's current second (I)"), Qt::Key_I, handler);
    addCutAction(widget, QStringLiteral("End at the Playhead\tO"),
                 QStringLiteral("The selected rows end at the preview's current second (O)"), Qt::Key_O, handler);
}
