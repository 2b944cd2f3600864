#include "lap_form.h"

#include "tool_window.h"

#include "number_text.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace lapwerk {

namespace {

constexpr double kFeetPerMetre = 1 / 0.3048;
const QColor kLaneColours[2] = {QColor(0, 90, 200), QColor(230, 120, 0)};

enum LapColumn {
    kTrackColumn,
    kLane1Column,
    kLane2Column,
    kDifferenceColumn,
    kLowestColumn,
    kTopColumn,
    kLapColumns
};

QString Seconds(double seconds) {
    return QString::fromStdString(FormatFixed(seconds, 3)) + QStringLiteral(" s");
}

/// A speed in m/s as "2.93 m/s", or in ft/s.
QString Speed(double metresPerSecond, bool metric) {
    return metric
               ? QString::fromStdString(FormatFixed(metresPerSecond, 2)) + " m/s"
               : QString::fromStdString(FormatFixed(metresPerSecond * kFeetPerMetre, 1)) + " ft/s";
}

/// The two lanes' figures as "lane 1 / lane 2".
QString Pair(const TrackLaps& laps, double LaneLap::*figure, bool metric) {
    return Speed(laps.lanes[0].*figure, metric) + QStringLiteral(" / ") +
           Speed(laps.lanes[1].*figure, metric);
}

/// A step of 1, 2 or 5 times a power of ten that divides `span` into about `parts` parts.
double NiceStep(double span, int parts) {
    const double rough = span / parts;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            return factor * power;
        }
    }
    return 10 * power;
}

} // namespace

TLapForm::TLapForm(QWidget* owner)
    : QWidget(owner), topSpeed_(spinBox("TopSpeed", 0.1, 100, " m/s")),
      acceleration_(spinBox("Acceleration", 0.1, 100, " m/s²")),
      braking_(spinBox("Braking", 0.1, 100, " m/s²")), grip_(spinBox("Grip", 0.1, 20, " g")),
      lapTable_(new QTableWidget(0, kLapColumns, this)), plot_(new SpeedPlot(this)) {
    MakeToolWindow(*this);
    setObjectName("LapForm");
    setWindowTitle("Lap Times");
    setCar(CarSettings{});
    auto* settings = new QFormLayout;
    settings->addRow(QStringLiteral("&Top speed:"), topSpeed_);
    settings->addRow(QStringLiteral("&Acceleration:"), acceleration_);
    settings->addRow(QStringLiteral("&Braking:"), braking_);
    settings->addRow(QStringLiteral("&Grip:"), grip_);

    lapTable_->setObjectName("LapTable");
    lapTable_->setAccessibleName("Lap times");
    lapTable_->setHorizontalHeaderLabels(
        {"Track", "Lane 1", "Lane 2", "Difference", "Lowest in a curve", "Top speed"});
    lapTable_->verticalHeader()->hide();
    lapTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lapTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    plot_->setObjectName("SpeedPlot");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addWidget(lapTable_, 1);
    layout->addWidget(plot_, 2);
    resize(640, 520);

    for (QDoubleSpinBox* box : {topSpeed_, acceleration_, braking_, grip_}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, &TLapForm::carChanged);
    }
    connect(plot_, &SpeedPlot::sectionClicked, this, &TLapForm::sectionChosen);
}

QDoubleSpinBox* TLapForm::spinBox(const char* name, double minimum, double maximum,
                                  const char* suffix) {
    auto* box = new QDoubleSpinBox(this);
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    box->setDecimals(1);
    box->setSingleStep(0.1);
    box->setSuffix(QString::fromUtf8(suffix));
    box->setKeyboardTracking(false);
    return box;
}

CarSettings TLapForm::car() const {
    return {topSpeed_->value(), acceleration_->value(), braking_->value(), grip_->value()};
}

void TLapForm::setCar(const CarSettings& car) {
    const std::pair<QDoubleSpinBox*, double> values[] = {{topSpeed_, car.topSpeed},
                                                         {acceleration_, car.acceleration},
                                                         {braking_, car.braking},
                                                         {grip_, car.grip}};
    for (const auto& [box, value] : values) {
        const QSignalBlocker quiet(box);
        box->setValue(value);
    }
}

void TLapForm::showLaps(const Design& design, const PartLibrary& library, bool metric) {
    shown_ = MeasureLapTimes(design, library, car());
    metric_ = metric;
    const std::vector<TrackLaps>& tracks = shown_;
    lapTable_->setRowCount(static_cast<int>(tracks.size()));
    for (int row = 0; row < static_cast<int>(tracks.size()); ++row) {
        const TrackLaps& laps = tracks[row];
        QStringList cells = {QStringLiteral("Track %1").arg(laps.number)};
        if (laps.closed) {
            cells << Seconds(laps.lanes[0].seconds) << Seconds(laps.lanes[1].seconds)
                  << QString::fromStdString(LapDifferenceText(laps))
                  << Pair(laps, &LaneLap::lowestCurveSpeed, metric)
                  << Pair(laps, &LaneLap::topSpeedReached, metric);
        } else {
            cells << QStringLiteral("open: no lap");
        }
        for (int column = 0; column < kLapColumns; ++column) {
            lapTable_->setItem(row, column,
                               new QTableWidgetItem(column < cells.size() ? cells[column] : ""));
        }
    }
    plotTrack(design.currentTrack);
}

void TLapForm::plotTrack(int slot) {
    const auto laps = std::find_if(shown_.begin(), shown_.end(),
                                   [slot](const TrackLaps& track) { return track.slot == slot; });
    if (laps == shown_.end()) {
        plot_->clear();
    } else {
        plot_->showLaps(*laps, metric_);
    }
}

void TLapForm::showAndRaise() {
    ShowToolWindow(*this);
}

SpeedPlot::SpeedPlot(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("Speed along the lap"));
    setMinimumHeight(160);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void SpeedPlot::showLaps(const TrackLaps& laps, bool metric) {
    laps_ = laps;
    metric_ = metric;
    // What the plot shows, for a screen reader.
    setAccessibleDescription(
        QStringLiteral("Track %1: lap times %2 and %3 for lanes 1 and 2; top speeds %4; lowest "
                       "speeds in a curve %5")
            .arg(laps.number)
            .arg(Seconds(laps.lanes[0].seconds), Seconds(laps.lanes[1].seconds),
                 Pair(laps, &LaneLap::topSpeedReached, metric),
                 Pair(laps, &LaneLap::lowestCurveSpeed, metric)));
    update();
}

void SpeedPlot::clear() {
    laps_.reset();
    setAccessibleDescription(QString());
    update();
}

QRect SpeedPlot::plotArea() const {
    return rect().adjusted(52, 24, -12, -34);
}

double SpeedPlot::lapLength() const {
    double length = 0;
    for (const LaneLap& lane : laps_->lanes) {
        if (!lane.profile.empty()) {
            length = std::max(length, lane.profile.back().distance);
        }
    }
    return length;
}

int SpeedPlot::sectionAt(int x) const {
    if (!laps_ || !laps_->closed || lapLength() <= 0) {
        return -1;
    }
    const QRect area = plotArea();
    const double distance = (x - area.left()) * lapLength() / area.width();
    // Lane 2 may be the longer: a click beyond lane 1's end is on its last section.
    const std::vector<LanePiece>& run = laps_->lanes[0].run;
    double start = 0;
    for (const LanePiece& piece : run) {
        start += std::max(piece.length, 0.0);
        if (distance < start) {
            return piece.section;
        }
    }
    return run.empty() ? -1 : run.back().section;
}

void SpeedPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect area = plotArea();
    if (!laps_ || !laps_->closed || lapLength() <= 0) {
        painter.drawText(rect(), Qt::AlignCenter,
                         laps_ ? QStringLiteral("open: no lap") : QStringLiteral("No track"));
        return;
    }
    const double unit = metric_ ? 1.0 : kFeetPerMetre;
    const double length = lapLength() * unit;
    double fastest = 0;
    for (const LaneLap& lane : laps_->lanes) {
        fastest = std::max(fastest, lane.topSpeedReached);
    }
    const double speedTop = std::max(fastest * unit * 1.1, 0.1);
    auto toPixel = [&](double distance, double speed) {
        return QPointF(area.left() + distance * unit / length * area.width(),
                       area.bottom() - speed * unit / speedTop * area.height());
    };

    // Axes, their steps and units.
    painter.setPen(palette().color(QPalette::Text));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.bottomLeft(), area.topLeft());
    const QString distanceUnit = metric_ ? QStringLiteral("m") : QStringLiteral("ft");
    for (double d = 0, step = NiceStep(length, 8); d <= length + 1e-9; d += step) {
        const QPointF at(area.left() + d / length * area.width(), area.bottom());
        painter.drawLine(at, at + QPointF(0, 4));
        painter.drawText(QRectF(at.x() - 30, at.y() + 4, 60, 14), Qt::AlignHCenter,
                         QString::number(d));
    }
    painter.drawText(QRectF(area.right() - 60, area.bottom() + 18, 60, 14), Qt::AlignRight,
                     distanceUnit);
    for (double v = 0, step = NiceStep(speedTop, 5); v <= speedTop + 1e-9; v += step) {
        const QPointF at(area.left(), area.bottom() - v / speedTop * area.height());
        painter.drawLine(at, at - QPointF(4, 0));
        painter.drawText(QRectF(at.x() - 46, at.y() - 7, 40, 14), Qt::AlignRight,
                         QString::number(v));
    }
    painter.drawText(QRectF(4, 4, 60, 14), Qt::AlignLeft, distanceUnit + QStringLiteral("/s"));

    // The sections along the distance axis, by lane 1.
    painter.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
    double start = 0;
    for (const LanePiece& piece : laps_->lanes[0].run) {
        const QPointF at = toPixel(start, 0);
        painter.drawLine(at, QPointF(at.x(), area.top()));
        start += std::max(piece.length, 0.0);
    }

    // Where the lanes change places, the car from lane 1 runs both lanes in its two-lap cycle.
    const int lanes = laps_->lanesChangePlaces ? 1 : 2;
    if (laps_->lanesChangePlaces) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRectF(area.left() + 8, 4, area.width() / 2.0, 14), Qt::AlignLeft,
                         QString::fromStdString(LanesChangePlacesText()));
    }
    for (int lane = 0; lane < lanes; ++lane) {
        QPainterPath path;
        for (const SpeedPoint& point : laps_->lanes[lane].profile) {
            const QPointF at = toPixel(point.distance, point.speed);
            path.elementCount() == 0 ? path.moveTo(at) : path.lineTo(at);
        }
        painter.setPen(QPen(kLaneColours[lane], 1.5));
        painter.drawPath(path);
        const QPointF key(area.right() - 140 + lane * 70, 12);
        painter.drawLine(key, key + QPointF(16, 0));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(key + QPointF(20, 4), laps_->lanesChangePlaces
                                                   ? QStringLiteral("From lane 1")
                                                   : QStringLiteral("Lane %1").arg(lane + 1));
    }
}

void SpeedPlot::mousePressEvent(QMouseEvent* event) {
    const int section = sectionAt(event->position().toPoint().x());
    if (section >= 0) {
        Q_EMIT sectionClicked(laps_->slot, section);
    }
}

} // namespace lapwerk
