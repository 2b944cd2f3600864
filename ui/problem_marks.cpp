#include "problem_marks.h"

#include "footprint.h"

#include <QLine>

#include <set>
#include <vector>

namespace lapwerk {

namespace {

/// Model units to device pixels of a pass.
struct DeviceMapping {
    double scale; ///< device pixels per model unit
    double centreX, centreY;
    QPointF operator()(const ModelPoint& p) const {
        return {centreX + p.x * scale, centreY + p.y * scale};
    }
};

QPainterPath RingsPath(const std::vector<std::vector<ModelPoint>>& rings,
                       const DeviceMapping& toDevice) {
    QPainterPath path;
    for (const std::vector<ModelPoint>& ring : rings) {
        QPolygonF polygon;
        for (const ModelPoint& point : ring) {
            polygon << toDevice(point);
        }
        path.addPolygon(polygon);
        path.closeSubpath();
    }
    return path;
}

/// A bridge seen from above, ")(" laid on its side, centred on `at`.
QPainterPath BridgePath(QPointF at, double size) {
    QPainterPath path;
    for (const double side : {-1.0, 1.0}) {
        const double y = at.y() + side * size / 2;
        path.moveTo(at.x() - size - size / 2, y + side * size / 2);
        path.lineTo(at.x() - size, y);
        path.lineTo(at.x() + size, y);
        path.lineTo(at.x() + size + size / 2, y + side * size / 2);
    }
    return path;
}

} // namespace

DesignArea::MarkLayout ProblemMarks(std::shared_ptr<const LayoutCheck> check) {
    return [check](int32_t zoomScale, int32_t centreX, int32_t centreY, int32_t pixelRatio) {
        const DeviceMapping toDevice{zoomScale / 65536.0, double(centreX), double(centreY)};
        std::vector<DesignArea::Mark> marks;
        std::set<int> bridged;
        for (const Finding& finding : check->findings) {
            switch (finding.kind) {
            case FindingKind::kCrossing:
                if (bridged.insert(finding.place).second) {
                    marks.push_back({BridgePath(toDevice(finding.where), 8.0 * pixelRatio),
                                     QColor(kCrossingColour), false});
                }
                break;
            case FindingKind::kCollision:
                marks.push_back(
                    {RingsPath(finding.outline, toDevice), QColor(kWarningColour), true});
                break;
            case FindingKind::kOffBoard:
                marks.push_back(
                    {RingsPath(finding.outline, toDevice), QColor(kWarningColour), false});
                break;
            }
        }
        return marks;
    };
}

DesignArea::OverlayLines SectionOutline(const Design& design, const PartLibrary& library,
                                        SectionRef ref) {
    std::vector<ModelPoint> ring;
    for (const SectionFootprint& footprint : TrackFootprints(design, library, ref.slot)) {
        if (footprint.ref == ref) {
            ring = footprint.area.outer();
        }
    }
    return [ring](int32_t zoomScale, int32_t centreX, int32_t centreY) {
        const DeviceMapping toDevice{zoomScale / 65536.0, double(centreX), double(centreY)};
        std::vector<QLine> lines;
        for (size_t i = 1; i < ring.size(); ++i) {
            lines.emplace_back(toDevice(ring[i - 1]).toPoint(), toDevice(ring[i]).toPoint());
        }
        return lines;
    };
}

} // namespace lapwerk
