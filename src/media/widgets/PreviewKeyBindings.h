#pragma once
// Gives a widget of the preview (the video window, the timeline) the preview's keys: a click
// gives it the keyboard focus, and while it (or a child that leaves a key alone) has the focus
// every key goes to `handler` first, which says whether it took it. Its tooltip names the keys;
// its context menu offers
// "Start at the Playhead" and "End at the Playhead", named with their keys I and O, which run
// like the keys. An editor elsewhere that has the focus never sees these keys taken.
#include <Qt>
#include <functional>

class QWidget;

using PreviewKeyHandler = std::function<bool(int key, Qt::KeyboardModifiers modifiers)>;

void BindPreviewKeys(QWidget *widget, PreviewKeyHandler handler);
