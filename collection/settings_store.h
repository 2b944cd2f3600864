#pragma once

#include <memory>

class QSettings;

namespace lapwerk {

/// Name of the settings store, in the user's scope.
inline constexpr const char* kSettingsName = "Lapwerk V2";

/// Opens the store (created on first write).
std::unique_ptr<QSettings> OpenSettingsStore();

} // namespace lapwerk
