// Text drawn in a colour, found in a picture whatever face the desktop's fonts give: glyph edges
// blend the colour into the background by their coverage, and how much of a stroke covers a
// whole pixel depends on the face, its hinting and the rasteriser's gamma (which moves the
// channels by different shares). A pixel counts as text when every channel in which colour and
// background differ has moved from the background towards the colour by at least `coverage` of
// the way, and the others have stayed.
#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QRect>
#include <algorithm>
#include <cmath>

// The commonest colour in the area: the background that text is drawn over.
inline QRgb Text_Background(const QImage& image, const QRect& area) {
    QHash<QRgb, int> counts;
    QRgb best = 0;
    int most = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb p = image.pixel(x, y) | 0xff000000u;
            const int n = ++counts[p];
            if (n > most) most = n, best = p;
        }
    return best;
}

// Pixels of the area that show the colour over the area's background with at least that coverage.
inline int Text_CountPixels(const QImage& image, const QRect& area, const QColor& colour,
                            float coverage = 0.3f) {
    const QRgb background = Text_Background(image, area);
    const int want[3] = {colour.red(), colour.green(), colour.blue()};
    const int base[3] = {qRed(background), qGreen(background), qBlue(background)};
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int got[3] = {qRed(p), qGreen(p), qBlue(p)};
            // The share of the way each channel went, where colour and background differ.
            float lowest = 2.0f, highest = -1.0f;
            bool fits = true;
            for (int c = 0; c < 3 && fits; ++c) {
                const int span = want[c] - base[c];
                if (std::abs(span) < 40) {
                    fits = std::abs(got[c] - base[c]) <= std::max(12, std::abs(span) + 8);
                    continue;
                }
                const float a = float(got[c] - base[c]) / float(span);
                lowest = std::min(lowest, a);
                highest = std::max(highest, a);
            }
            if (fits && highest >= lowest && lowest >= coverage && highest <= 1.1f) ++count;
        }
    return count;
}
