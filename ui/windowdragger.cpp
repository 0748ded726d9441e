#include "ui/windowdragger.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowDragger::WindowDragger(QWidget* window, std::function<void()> startMove)
    : QObject(window)
    , window_(window)
    , startMove_(std::move(startMove)) {
    if (!startMove_) {
        startMove_ = [this] {
            if (QWindow* handle = window_->windowHandle())
                handle->startSystemMove();
        };
    }
}

void WindowDragger::addSurface(QWidget* surface) {
    surfaces_.insert(surface);
    surface->installEventFilter(this);
}

bool WindowDragger::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseMove)
        return false;
    auto* move = static_cast<QMouseEvent*>(event);
    if (!(move->buttons() & Qt::LeftButton))
        return false;
    // A control's unhandled move comes up to its parents, so decide by what lies under the
    // pointer, not by who sees the event.
    Q_UNUSED(watched);
    QWidget* under = window_->childAt(window_->mapFromGlobal(move->globalPosition().toPoint()));
    if (under && !surfaces_.contains(under))
        return false;
    startMove_();
    return true;
}
