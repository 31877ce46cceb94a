#pragma once
// The in-place editor of the "Start Time" and "End Time" cells: it takes hh:mm:ss with two-digit
// hours and nothing else (digits where the digits go, ":" between them; the text may be cleared
// or be incomplete while typing). The arrow keys, Page Up/Down and the mouse wheel step the
// hours, minutes or seconds under the cursor of a complete time and report it through `stepped`.
#include <QAbstractSpinBox>

class TimeEditor final : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TimeEditor(QWidget *parent = nullptr);

    QString time() const;
    void setTime(const QString &text);
    // Shows `text` (the time as committed and checked) with the cursor where it was.
    void showCheckedTime(const QString &text);

    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
    void stepBy(int steps) override;

Q_SIGNALS:
    // A step changed the time; it is complete and readable.
    void stepped();

protected:
    StepEnabled stepEnabled() const override;
};
