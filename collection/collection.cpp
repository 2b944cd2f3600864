#include "collection.h"

#include "settings_store.h"

#include "atomic_write.h"
#include "design_files.h"
#include "file_bytes.h"
#include "part_library_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <string>

namespace lapwerk {

namespace {

/// Settings value that holds the library chosen last.
constexpr const char* kChosenLibraryValue = "PartLibrary";

std::string Local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString LibraryIn(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kPartLibraryFile));
}

/// The shipped folder next to the program when it is installed, or else the source tree's.
QString ShippedFolder() {
    const QString installed =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/lapwerk/examples");
    return QFileInfo::exists(LibraryIn(installed)) ? installed
                                                   : QStringLiteral(LAPWERK_SOURCE_EXAMPLES);
}

/// A folder in `userFolder` that holds neither a library nor an inventory yet: the user folder
/// itself, or else parts-2, parts-3, … inside it.
QString FreeLibraryFolder(const QString& userFolder) {
    const auto holdsCollection = [](const QString& folder) {
        return QFileInfo::exists(LibraryIn(folder)) ||
               QFileInfo::exists(InventoryBeside(LibraryIn(folder)));
    };
    QString folder = userFolder;
    for (int n = 2; holdsCollection(folder); ++n) {
        folder = QDir(userFolder).filePath(QStringLiteral("parts-%1").arg(n));
    }
    return folder;
}

/// Writes a library and its inventory into `folder`; an inventory already there stays.
std::optional<QString> WriteCollection(const QString& folder, const std::string& libraryBytes,
                                       const std::string& inventoryBytes) {
    const QString library = LibraryIn(folder);
    std::optional<std::string> failure;
    if (!QDir().mkpath(folder)) {
        failure = "the folder cannot be made";
    } else if (!(failure = WriteFileAtomically(Local(library), libraryBytes)) &&
               !QFileInfo::exists(InventoryBeside(library))) {
        failure = WriteFileAtomically(Local(InventoryBeside(library)), inventoryBytes);
    }
    if (failure) {
        return QStringLiteral("Cannot copy the part library to %1: %2.")
            .arg(QDir::toNativeSeparators(folder), QString::fromStdString(*failure));
    }
    return std::nullopt;
}

} // namespace

CollectionPlaces CurrentCollectionPlaces() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return {QDir::currentPath(), OpenSettingsStore()->value(kChosenLibraryValue).toString(),
            QDir(data).filePath(QStringLiteral("lapwerk")), ShippedFolder()};
}

QString InventoryBeside(const QString& library) {
    return QFileInfo(library).dir().filePath(QString::fromLatin1(kInventoryFile));
}

std::optional<QString> LoadCollection(const QString& path, PartLibrary& library,
                                      Inventory& inventory) {
    if (auto refusal = LoadLibraryAndInventory(library, inventory, Local(path),
                                               Local(InventoryBeside(path)))) {
        return QString::fromStdString(refusal->text);
    }
    return std::nullopt;
}

OpenedCollection OpenCollection(const CollectionPlaces& places, PartLibrary& library,
                                Inventory& inventory) {
    OpenedCollection opened;
    const auto use = [&](const QString& path) {
        if (path.isEmpty() || !QFileInfo::exists(path)) {
            return false;
        }
        if (auto refusal = LoadCollection(path, library, inventory)) {
            opened.problems << *refusal;
            return false;
        }
        opened.files = {path, InventoryBeside(path)};
        return true;
    };
    if (use(LibraryIn(places.workingFolder)) || use(places.chosenLibrary) ||
        use(LibraryIn(places.userFolder))) {
        return opened;
    }
    // The shipped library goes into the user folder, where it can be edited without root. A
    // user's library there that was refused is not written over: the shipped one is then used
    // where it is.
    const QString shipped = LibraryIn(places.shippedFolder);
    const FileBytes bytes = ReadFileBytes(Local(shipped));
    if (bytes.opened() && !QFileInfo::exists(LibraryIn(places.userFolder))) {
        if (auto failure =
                WriteCollection(places.userFolder, bytes.bytes, std::string(kNewInventoryText))) {
            opened.problems << *failure;
        } else if (use(LibraryIn(places.userFolder))) {
            return opened;
        }
    }
    use(shipped);
    return opened;
}

void RememberChosenLibrary(const QString& library) {
    OpenSettingsStore()->setValue(kChosenLibraryValue, library);
}

OwnedCountsSaved SetOwnedCounts(const CollectionFiles& files, const QString& userFolder,
                                const std::vector<OwnedCount>& counts, PartLibrary& library,
                                Inventory& inventory) {
    OwnedCountsSaved saved;
    saved.files = files;
    for (const OwnedCount& owned : counts) {
        if (!PartNumberReadsBack(owned.number)) {
            saved.failed = QStringLiteral("Cannot write %1: the part number \"%2\" would not read "
                                          "back from an inventory line.")
                               .arg(QDir::toNativeSeparators(files.inventory),
                                    QString::fromStdString(owned.number));
            return saved;
        }
    }
    const auto reason = SaveOwnedCounts(Local(files.inventory), counts, library, inventory);
    if (!reason) {
        return saved;
    }
    // The library's folder may not be written to (one of the system's): the collection moves
    // to a copy in the user folder.
    const FileBytes libraryBytes = ReadFileBytes(Local(files.library));
    const FileBytes inventoryBytes = ReadInventoryFile(Local(files.inventory));
    if (!libraryBytes.opened() || !inventoryBytes.opened() || inventoryBytes.readError != 0) {
        saved.failed =
            QStringLiteral("Cannot write %1: %2.")
                .arg(QDir::toNativeSeparators(files.inventory), QString::fromStdString(*reason));
        return saved;
    }
    const QString folder = FreeLibraryFolder(userFolder);
    if (auto failure = WriteCollection(folder, libraryBytes.bytes, inventoryBytes.bytes)) {
        saved.failed = failure;
        return saved;
    }
    const QString copy = LibraryIn(folder);
    if (const auto copyReason =
            SaveOwnedCounts(Local(InventoryBeside(copy)), counts, library, inventory)) {
        saved.failed = QStringLiteral("Cannot write %1: %2.")
                           .arg(QDir::toNativeSeparators(InventoryBeside(copy)),
                                QString::fromStdString(*copyReason));
        return saved;
    }
    SetLibraryFileName(library, Local(copy));
    RememberChosenLibrary(copy);
    saved.files = {copy, InventoryBeside(copy)};
    saved.moved = true;
    return saved;
}

} // namespace lapwerk
