#include "settings.h"

#include <QSettings>

#include <QVariant>
#include <array>
#include <utility>

#include <cfloat>
#include <cmath>
#include <cstring>

namespace lapwerk {

namespace {

constexpr const char* kGeometry = "Geometry";
constexpr const char* kPanelWidth = "PanelWidth";
constexpr const char* kXboard = "Xboard";
constexpr const char* kYboard = "Yboard";

/// A usable board size: a stored size of 0 or less is no board and is ignored.
std::optional<double> ReadBoard(QSettings& store, const char* name) {
    if (!store.contains(name)) {
        return std::nullopt;
    }
    const std::optional<double> size = BoardSizeFromSetting(store.value(name));
    return size && *size > 0.0 ? size : std::nullopt;
}

/// Stores a board size only when it is a board: a size of 0 or less (read from a design file)
/// leaves the last good one in the store.
void WriteBoard(QSettings& store, const char* name, double inches) {
    if (inches > 0.0 && std::isfinite(inches)) {
        store.setValue(name, BoardSizeToSetting(inches));
    }
}

std::optional<QByteArray> ReadBytes(QSettings& store, const char* name) {
    if (!store.contains(name)) {
        return std::nullopt;
    }
    const QVariant value = store.value(name);
    if (value.typeId() != QMetaType::QByteArray) {
        return std::nullopt;
    }
    return value.toByteArray();
}

std::optional<int> ReadWidth(QSettings& store, const char* name) {
    if (!store.contains(name)) {
        return std::nullopt;
    }
    // Text-based stores give the integer back as text.
    bool ok = false;
    const int width = store.value(name).toString().trimmed().toInt(&ok);
    return ok && width > 0 ? std::optional<int>(width) : std::nullopt;
}

} // namespace

std::optional<bool> FlagFromSetting(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return value.toLongLong() != 0;
    case QMetaType::QString: {
        // Text-based stores (the INI files on Linux) give every integer back as text.
        bool ok = false;
        const qlonglong number = value.toString().trimmed().toLongLong(&ok);
        if (ok) {
            return number != 0;
        }
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<double> BoardSizeFromSetting(const QVariant& value) {
    if (value.typeId() != QMetaType::QByteArray) {
        return std::nullopt;
    }
    const QByteArray bytes = value.toByteArray();
    if (bytes.size() != static_cast<qsizetype>(sizeof(double))) {
        return std::nullopt;
    }
    double size = 0;
    std::memcpy(&size, bytes.constData(), sizeof size);
    // The Design keeps the size as a float; a value no float holds would corrupt it.
    if (!std::isfinite(size) || std::fabs(size) > FLT_MAX) {
        return std::nullopt;
    }
    return size;
}

QByteArray BoardSizeToSetting(double value) {
    QByteArray bytes(static_cast<qsizetype>(sizeof value), '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

/// The car's four values, with the names they are stored under.
std::array<std::pair<const char*, double*>, 4> CarValues(CarSettings& car) {
    return {{{"CarTopSpeed", &car.topSpeed},
             {"CarAcceleration", &car.acceleration},
             {"CarBraking", &car.braking},
             {"CarGrip", &car.grip}}};
}

CarSettings ReadCarSettings(QSettings& store) {
    CarSettings car;
    for (const auto& [name, value] : CarValues(car)) {
        bool isNumber = false;
        const double stored = store.value(name).toDouble(&isNumber);
        if (isNumber && stored > 0 && std::isfinite(stored)) {
            *value = stored;
        }
    }
    return car;
}

void WriteCarSettings(QSettings& store, const CarSettings& car) {
    CarSettings written = car;
    for (const auto& [name, value] : CarValues(written)) {
        store.setValue(name, *value);
    }
}

StoredSettings ReadStoredSettings(QSettings& store) {
    StoredSettings stored;
    for (const OptionMark& mark : kOptionMarks) {
        if (store.contains(mark.name)) {
            if (const std::optional<bool> flag = FlagFromSetting(store.value(mark.name))) {
                stored.marks.emplace_back(mark.name, *flag);
            }
        }
    }
    stored.boardX = ReadBoard(store, kXboard);
    stored.boardY = ReadBoard(store, kYboard);
    stored.toolbars = ReadBytes(store, kToolbarsValue);
    stored.geometry = ReadBytes(store, kGeometry);
    stored.panelWidth = ReadWidth(store, kPanelWidth);
    return stored;
}

void WriteStoredSettings(QSettings& store, const DrawOptions& options, double boardX, double boardY,
                         const WindowLayout& layout) {
    store.setValue(kToolbarsValue, layout.toolbars);
    for (const OptionMark& mark : kOptionMarks) {
        store.setValue(mark.name, options.*mark.value ? 1 : 0);
    }
    WriteBoard(store, kXboard, boardX);
    WriteBoard(store, kYboard, boardY);
    store.setValue(kGeometry, layout.geometry);
    store.setValue(kPanelWidth, layout.panelWidth);
    store.sync();
}

} // namespace lapwerk
