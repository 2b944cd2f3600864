// The collection: the part library in use and the pieces the user owns.
#include "main_form.h"

#include "part_panel.h"

#include "part_counts.h"

#include <QDir>
#include <QFileInfo>

#include <numeric>

namespace lapwerk {

void TMainForm::showCollection() {
    mainPanel_->fillPartList(records_.library);
    mainPanel_->showPartFacts(records_.library, metric());
    mainPanel_->showLibrary(QDir::toNativeSeparators(collection_->files().library));
}

bool TMainForm::tell(const CollectionKeeper::Said& said) {
    if (said.error) {
        showError(*said.error);
        return false;
    }
    if (said.note) {
        showNote(*said.note);
    }
    return true;
}

bool TMainForm::PartLibrary1Click() {
    const QString chosen = dialogs_->chooseFile(this, FileDialogKind::PartLibrary, QString());
    if (chosen.isEmpty() || !tell(collection_->switchTo(QFileInfo(chosen).absoluteFilePath()))) {
        return false;
    }
    showCollection();
    showHistory();
    return true;
}

bool TMainForm::OwnedPieces1Click() {
    collection_->showOwnedWindow();
    return true;
}

bool TMainForm::AddDesignToOwned1Click() {
    const std::array<int, kMaxParts> used = CountUsedPieces(records_.design);
    const int total =
        std::accumulate(used.begin(), used.begin() + ListedPartCount(records_.library), 0);
    if (total == 0) {
        showNote(QStringLiteral("The design uses no pieces."));
        return false;
    }
    const QString question =
        QStringLiteral("Add the %1 %2 of this design to your owned pieces?")
            .arg(total)
            .arg(total == 1 ? QStringLiteral("piece") : QStringLiteral("pieces"));
    if (!dialogs_->question(this, question, QStringLiteral("Owned Pieces"))) {
        return false;
    }
    return ownedCountsSet(collection_->setOwnedCounts(
        OwnedCountsWithDesign(records_.design, records_.library, records_.inventory)));
}

bool TMainForm::ownedCountsSet(const CollectionKeeper::Said& said) {
    const bool taken = tell(said);
    // The counts may have moved to a copy of the collection in the user folder.
    mainPanel_->showLibrary(QDir::toNativeSeparators(collection_->files().library));
    followUp({FollowUp::RefreshLists});
    return taken;
}

} // namespace lapwerk
