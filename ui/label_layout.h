// Where the chart's labels go: each label takes the first of its candidate
// rectangles that lies wholly in the window and covers no label placed
// before it, no reserved area (the corner texts, the selection marker, the
// compass letters) and no disc of a star or body brighter than what it
// names; a label with no free candidate is left out. Labels are offered most important first, so the
// planets keep their names where the grid's numbers give way.
//
// A uniform grid of cells keeps the tests local: a chart of a few thousand
// discs and a few hundred labels is laid out in well under a millisecond.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QVector>
#include <limits>
#include <vector>

namespace celestra {

class LabelLayout {
public:
    // `bounds`: the chart's window; nothing outside it is tracked.
    explicit LabelLayout(const QRectF& bounds, double cellSize = 48.0);

    // An area no label may cover.
    void reserve(const QRectF& area);
    // A disc (pixels) of an object of `magnitude`: labels of fainter objects keep off it.
    void addDisc(const QPointF& centre, double radius, double magnitude);

    // The first free one of `candidates` for a label naming an object of
    // `magnitude` (+infinity: keep off every disc); it is then taken.
    // False when none is free.
    bool place(const QVector<QRectF>& candidates, double magnitude, QRectF& placed);

    // The eight places around a disc of `radius` at `anchor` for a text of
    // `size`, `gap` away: right, left, above, below, then the diagonals.
    static QVector<QRectF> around(const QPointF& anchor, double radius, const QSizeF& size, double gap);

    // Every rectangle placed so far, in placing order.
    const QVector<QRectF>& placed() const { return placed_; }

private:
    struct Disc {
        QPointF centre;
        double radius;
        double magnitude;
    };
    // Cells a rectangle touches: [x0, x1] × [y0, y1], clamped to the grid.
    bool cellsOf(const QRectF& r, int& x0, int& y0, int& x1, int& y1) const;
    bool free(const QRectF& r, double magnitude) const;
    void addRect(const QRectF& r);

    QRectF bounds_;
    double cell_;
    int columns_ = 1, rows_ = 1;
    std::vector<QRectF> rects_;                // placed labels and reserved areas
    std::vector<std::vector<int>> rectCells_;  // per cell: indices into rects_
    std::vector<Disc> discs_;
    std::vector<std::vector<int>> discCells_;  // per cell: indices into discs_
    QVector<QRectF> placed_;
};

}  // namespace celestra
