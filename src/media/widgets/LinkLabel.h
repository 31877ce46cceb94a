#pragma once
// A label that looks and acts like a web link: blue, underlined, a hand cursor, and a clicked()
// signal when the left button is released over it.
#include <QLabel>

class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
