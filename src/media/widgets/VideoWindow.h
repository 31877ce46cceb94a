#pragma once
// The video window: black, showing the preview graph's pictures, turned as the file asks (the
// graph letterboxes them to the window's shape). It tells the graph its size in device pixels, so pictures stay sharp on
// scaled screens, and its screen's refresh rate, so no picture is drawn that the screen can't show.
#include <QPointer>
#include <QWidget>

class FilterGraph;

class VideoWindow final : public QWidget {
    Q_OBJECT
public:
    explicit VideoWindow(QWidget *parent = nullptr);

    // Shows the pictures of `graph`, which is not owned and may go before the window.
    void setSource(FilterGraph *graph);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void tellScreen();

    QPointer<FilterGraph> m_graph;
};
