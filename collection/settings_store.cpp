#include "settings_store.h"

#include <QSettings>

namespace lapwerk {

std::unique_ptr<QSettings> OpenSettingsStore() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       kSettingsName);
}

} // namespace lapwerk
