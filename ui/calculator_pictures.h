// The illustrations of two calculator pages, drawn with the painter in the
// dialog's colours (so they follow the colour scheme, red at night): a
// globe with the great circle through the two places, and the eye above the
// sea with the dip and the two horizons.
#pragma once

#include <QPointF>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

namespace celestra {

// An orthographic view of the globe centred on one place: a point on the
// near half maps into the unit disc (east right, north up), one on the far
// half has no image.
class GlobeView {
public:
    GlobeView(double centreLatitudeDeg, double centreLongitudeDeg);
    // The view centred half-way along the great circle between two places,
    // so the whole shorter arc faces the viewer. Antipodal places have no
    // midpoint: the view centres on the first.
    static GlobeView between(double lat1Deg, double lon1Deg, double lat2Deg, double lon2Deg);
    std::optional<QPointF> project(double latitudeDeg, double longitudeDeg) const;

private:
    double centre_[3];
    double east_[3];
    double north_[3];
};

// The places along the shorter great-circle arc from one place to the
// other, `steps` + 1 of them, both ends included: latitude (x) and
// longitude (y) in degrees. Equal places give the one place.
std::vector<QPointF> greatCircleArc(double lat1Deg, double lon1Deg, double lat2Deg, double lon2Deg, int steps);

class GreatCirclePicture : public QWidget {
    Q_OBJECT
public:
    explicit GreatCirclePicture(QWidget* parent = nullptr);
    // Signed degrees, north and east positive.
    void setRoute(double lat1Deg, double lon1Deg, double lat2Deg, double lon2Deg);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double lat1_ = 0.0, lon1_ = 0.0, lat2_ = 0.0, lon2_ = 0.0;
};

class HorizonPicture : public QWidget {
    Q_OBJECT
public:
    explicit HorizonPicture(QWidget* parent = nullptr);
    // The distance texts written at the two horizons ("2.93 NMi").
    void setDistances(const QString& visible, const QString& radar);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString visible_, radar_;
};

}  // namespace celestra
