#pragma once

#include "collection.h"
#include "records.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

class QWidget;

namespace lapwerk {

class TOwnedForm;

/// The user's collection in the window: the part library and inventory in use and where the
/// rules looked for them, a switch to another part library, and owned counts set from the Owned
/// Pieces window or from the design. It changes the records and says what the user should be
/// told; the window shows it.
class CollectionKeeper final : public QObject {
    Q_OBJECT
public:
    /// What a change of the collection came to: an error, or a note, or neither.
    struct Said {
        std::optional<QString> error;
        std::optional<QString> note;
    };

    /// The Owned Pieces window is made as a tool window of `owner`.
    CollectionKeeper(ProgramRecords& records, QWidget* owner);

    /// Opens the collection the rules find. Says where the parts come from, with the problems
    /// met on the way, unless they are the working folder's own.
    Said open();
    /// Switches the design, its history and the records to the part library at `path`.
    Said switchTo(const QString& path);
    /// Writes owned counts to the inventory, or to a copy in the user folder.
    Said setOwnedCounts(const std::vector<OwnedCount>& counts);

    /// Opens the Owned Pieces window with the counts as they are.
    void showOwnedWindow();

    const CollectionFiles& files() const { return files_; }
    TOwnedForm* ownedForm() const { return ownedForm_; }

Q_SIGNALS:
    /// The user typed a count into the Owned Pieces window and it was taken or refused.
    void countTyped(const Said& said);

private:
    void countEdited(int part, const QString& text);

    ProgramRecords& records_;
    TOwnedForm* ownedForm_;
    CollectionPlaces places_; ///< where the collection was looked for at start-up
    CollectionFiles files_;   ///< the files of the collection in use
};

} // namespace lapwerk
