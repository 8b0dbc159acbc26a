#include "ui/label_layout.h"

#include <algorithm>
#include <cmath>

namespace celestra {

LabelLayout::LabelLayout(const QRectF& bounds, double cellSize) : bounds_(bounds), cell_(std::max(cellSize, 8.0)) {
    columns_ = std::max(1, static_cast<int>(std::ceil(bounds.width() / cell_)));
    rows_ = std::max(1, static_cast<int>(std::ceil(bounds.height() / cell_)));
    rectCells_.resize(static_cast<size_t>(columns_) * static_cast<size_t>(rows_));
    discCells_.resize(rectCells_.size());
}

bool LabelLayout::cellsOf(const QRectF& r, int& x0, int& y0, int& x1, int& y1) const {
    if (!r.intersects(bounds_)) return false;
    const auto column = [this](double x) {
        return std::clamp(static_cast<int>(std::floor((x - bounds_.left()) / cell_)), 0, columns_ - 1);
    };
    const auto row = [this](double y) {
        return std::clamp(static_cast<int>(std::floor((y - bounds_.top()) / cell_)), 0, rows_ - 1);
    };
    x0 = column(r.left());
    x1 = column(r.right());
    y0 = row(r.top());
    y1 = row(r.bottom());
    return true;
}

void LabelLayout::addRect(const QRectF& r) {
    int x0, y0, x1, y1;
    if (!cellsOf(r, x0, y0, x1, y1)) return;
    const int index = static_cast<int>(rects_.size());
    rects_.push_back(r);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) rectCells_[static_cast<size_t>(y * columns_ + x)].push_back(index);
}

void LabelLayout::reserve(const QRectF& area) { addRect(area); }

void LabelLayout::addDisc(const QPointF& centre, double radius, double magnitude) {
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    int x0, y0, x1, y1;
    if (!cellsOf(box, x0, y0, x1, y1)) return;
    const int index = static_cast<int>(discs_.size());
    discs_.push_back({centre, radius, magnitude});
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) discCells_[static_cast<size_t>(y * columns_ + x)].push_back(index);
}

bool LabelLayout::free(const QRectF& r, double magnitude) const {
    int x0, y0, x1, y1;
    if (!cellsOf(r, x0, y0, x1, y1)) return true;  // off the window: covers nothing drawn
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const size_t cell = static_cast<size_t>(y * columns_ + x);
            for (int i : rectCells_[cell])
                if (rects_[static_cast<size_t>(i)].intersects(r)) return false;
            for (int i : discCells_[cell]) {
                const Disc& d = discs_[static_cast<size_t>(i)];
                if (!(d.magnitude < magnitude)) continue;
                // The rectangle's point nearest the centre inside the disc.
                const double nx = std::clamp(d.centre.x(), r.left(), r.right());
                const double ny = std::clamp(d.centre.y(), r.top(), r.bottom());
                const double dx = nx - d.centre.x(), dy = ny - d.centre.y();
                if (dx * dx + dy * dy < d.radius * d.radius) return false;
            }
        }
    }
    return true;
}

bool LabelLayout::place(const QVector<QRectF>& candidates, double magnitude, QRectF& placed) {
    for (const QRectF& r : candidates) {
        // A label the window's edge would cut is no label.
        if (!bounds_.contains(r) || !free(r, magnitude)) continue;
        addRect(r);
        placed_.append(r);
        placed = r;
        return true;
    }
    return false;
}

QVector<QRectF> LabelLayout::around(const QPointF& anchor, double radius, const QSizeF& size, double gap) {
    const double w = size.width(), h = size.height(), d = radius + gap;
    const double x = anchor.x(), y = anchor.y();
    // The diagonal places sit a little further out, clear of the disc's corner.
    const double e = d * 0.7;
    return {QRectF(x + d, y - h / 2, w, h), QRectF(x - d - w, y - h / 2, w, h), QRectF(x - w / 2, y - d - h, w, h),
            QRectF(x - w / 2, y + d, w, h), QRectF(x + e, y - e - h, w, h),     QRectF(x - e - w, y - e - h, w, h),
            QRectF(x + e, y + e, w, h),     QRectF(x - e - w, y + e, w, h)};
}

}  // namespace celestra
