#pragma once
// A button drawn from three pictures of the skin: up, hot (mouse over) and down.
#include <QAbstractButton>
#include <QString>

class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    // pictureName "convert" uses convert_up, convert_hot and convert_down.
    explicit PictureButton(const QString &pictureName, QWidget *parent = nullptr);

    QString pictureName() const { return m_pictureName; }
    // The hint is kept even when it is not shown as a tool tip.
    QString hint() const { return m_hint; }
    void setHint(const QString &hint, bool shown = true);
    bool hintShown() const { return m_hintShown; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QString stateName() const;

    QString m_pictureName;
    QString m_hint;
    bool m_hintShown = true;
    bool m_hot = false;
};
