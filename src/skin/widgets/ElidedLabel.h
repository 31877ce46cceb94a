#pragma once
// A one-line label for text that may not fit: what does not fit is cut at the right with "…",
// and the whole text is its tip. text() stays the whole text.
#include <QLabel>

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    // What the label shows in its present width.
    QString shownText() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
