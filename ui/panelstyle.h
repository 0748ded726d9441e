// Look shared by the two panels that lie over the presence texts.
#pragma once

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QWidget>

namespace PanelStyle {

inline const QColor Background{160, 160, 164};
inline constexpr QRect Geometry{16, 112, 473, 177};

// Sets a caption's designed geometry, widened where this system's font needs more room so the
// text is never cut.
inline void placeCaption(QWidget* caption, const QRect& geometry) {
    caption->setGeometry(geometry);
    if (caption->sizeHint().width() > geometry.width())
        caption->resize(caption->sizeHint().width(), geometry.height());
}

// Places the panel over the presence texts, grey with black text, hidden until asked for.
inline void apply(QWidget* panel, const QString& name) {
    panel->setObjectName(name);
    panel->setGeometry(Geometry);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Background);
    palette.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(palette);
    panel->hide();
}

} // namespace PanelStyle
