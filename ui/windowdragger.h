// Moves a borderless window when the user drags one of its surfaces.
#pragma once

#include <QObject>
#include <QSet>

#include <functional>

class QWidget;

class WindowDragger : public QObject {
    Q_OBJECT
public:
    // startMove hands the move to the window system; tests may watch it instead.
    explicit WindowDragger(QWidget* window, std::function<void()> startMove = {});

    // Dragging this widget's own surface moves the window; its child controls are not surfaces.
    void addSurface(QWidget* surface);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::function<void()> startMove_;
    QSet<QObject*> surfaces_;
};
