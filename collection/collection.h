#pragma once

#include "inventory.h"
#include "inventory_file.h"
#include "part_library.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The user's collection: which part library is in use, with the inventory beside it. The
// designer and lapwerk-cli find it by the same rules:
//   1. parts.def in the starting folder;
//   2. the library the user chose last (Part Library...), while that file exists;
//   3. the user's own copy in the user data folder;
//   4. the library that ships with the program, copied into the user data folder first.
// A library file that is no part library is refused, and the next rule is tried.

namespace lapwerk {

/// File name of a part library, and of the inventory beside it.
inline constexpr const char* kPartLibraryFile = "parts.def";
inline constexpr const char* kInventoryFile = "sections.own";

/// The files of the part library in use and of its inventory.
struct CollectionFiles {
    QString library; ///< empty while no library is in use
    QString inventory;
};

/// The places a part library is looked for, in the order of the rules.
struct CollectionPlaces {
    QString workingFolder; ///< the starting folder
    QString chosenLibrary; ///< the library chosen last, or empty
    QString userFolder;    ///< the user data folder, where the user's copies live
    QString shippedFolder; ///< the folder of the library that ships with the program
};

/// The places of this run: the working directory, the settings store, the user data folder
/// (…/share/lapwerk) and the examples next to the program (../share/lapwerk/examples), or else
/// those of the source tree it was built from.
CollectionPlaces CurrentCollectionPlaces();

/// The inventory file that belongs to the library file `library`: sections.own beside it.
QString InventoryBeside(const QString& library);

/// What opening the collection gave.
struct OpenedCollection {
    CollectionFiles files; ///< library empty when none could be read
    QStringList problems;  ///< a message per library refused, or a copy that failed
};

/// Finds the library in use by the rules and loads it and its inventory. Where no rule gives
/// a library, both tables stay empty.
OpenedCollection OpenCollection(const CollectionPlaces& places, PartLibrary& library,
                                Inventory& inventory);

/// Loads the library file `path` and the inventory beside it. A file that is no part library
/// is refused with a message naming it, and both tables stay as they were.
std::optional<QString> LoadCollection(const QString& path, PartLibrary& library,
                                      Inventory& inventory);

/// Remembers `library` as the library the user chose (rule 2).
void RememberChosenLibrary(const QString& library);

/// Where a change of owned counts went.
struct OwnedCountsSaved {
    CollectionFiles files;         ///< the files in use from now on
    bool moved = false;            ///< the inventory could not be written where it was
    std::optional<QString> failed; ///< why nothing could be written; nothing changed then
};

/// Sets owned counts in the inventory file of `files` (SaveOwnedCounts). Where that file cannot
/// be written, the library and the inventory are copied into a folder of their own in
/// `userFolder`, the counts set there, and that library is remembered as the chosen one.
OwnedCountsSaved SetOwnedCounts(const CollectionFiles& files, const QString& userFolder,
                                const std::vector<OwnedCount>& counts, PartLibrary& library,
                                Inventory& inventory);

} // namespace lapwerk
