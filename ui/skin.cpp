#include "ui/skin.h"

using namespace Qt::StringLiterals;

namespace Skin {

QImage picture() {
    return QImage(u":/skin.png"_s);
}

QRegion shapeMask(const QImage& skin) {
    if (skin.isNull())
        return {};
    const QImage rgb = skin.convertToFormat(QImage::Format_RGB32);
    // Format_RGB32 keeps every pixel opaque, so pixels compare as plain values.
    const QRgb key = rgb.pixel(0, rgb.height() - 1);
    const auto outside = [key](QRgb pixel) { return pixel == key || pixel == qRgb(0, 0, 255); };
    // One rectangle per run of kept pixels in each row, in the banded order QRegion expects.
    QList<QRect> runs;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        int x = 0;
        while (x < rgb.width()) {
            while (x < rgb.width() && outside(line[x]))
                ++x;
            const int begin = x;
            while (x < rgb.width() && !outside(line[x]))
                ++x;
            if (x > begin)
                runs.append(QRect(begin, y, x - begin, 1));
        }
    }
    QRegion shape;
    shape.setRects(runs.constData(), static_cast<int>(runs.size()));
    return shape;
}

} // namespace Skin
