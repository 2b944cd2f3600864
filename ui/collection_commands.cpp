// The collection: the part library in use and the pieces the user owns.
#include "main_form.h"

#include "owned_form.h"
#include "part_panel.h"

#include "editing.h"
#include "part_counts.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <numeric>

namespace lapwerk {

namespace {

/// How many missing part numbers a refusal names.
constexpr size_t kMissingNamed = 5;

QString MissingPartsText(const QString& library, const std::vector<std::string>& missing) {
    QStringList named;
    for (size_t i = 0; i < missing.size() && i < kMissingNamed; ++i) {
        named << QString::fromStdString(missing[i]);
    }
    QString text = QStringLiteral("The design uses parts that %1 lacks: %2")
                       .arg(QDir::toNativeSeparators(library), named.join(QStringLiteral(", ")));
    if (missing.size() > kMissingNamed) {
        text += QStringLiteral(" and %1 more").arg(missing.size() - kMissingNamed);
    }
    return text + QStringLiteral(". The part library stays as it was.");
}

} // namespace

void TMainForm::showCollection() {
    mainPanel_->fillPartList(records_.library);
    mainPanel_->showPartFacts(records_.library, metric());
    mainPanel_->showLibrary(QDir::toNativeSeparators(collection_.library));
    ownedForm_->showCollection(records_.library, records_.inventory);
}

bool TMainForm::PartLibrary1Click() {
    const QString chosen = dialogs_->chooseFile(this, FileDialogKind::PartLibrary, QString());
    if (chosen.isEmpty()) {
        return false;
    }
    const QString path = QFileInfo(chosen).absoluteFilePath();
    auto library = std::make_unique<PartLibrary>();
    auto inventory = std::make_unique<Inventory>();
    if (auto refusal = LoadCollection(path, *library, *inventory)) {
        showError(*refusal);
        return false;
    }
    const std::vector<std::string> missing =
        ChangePartLibrary(records_.design, records_.history, records_.library, *library);
    if (!missing.empty()) {
        showError(MissingPartsText(path, missing));
        return false;
    }
    records_.library = *library;
    records_.inventory = *inventory;
    collection_ = {path, InventoryBeside(path)};
    RememberChosenLibrary(path);
    showCollection();
    showHistory();
    showNote(QStringLiteral("Parts from %1.").arg(QDir::toNativeSeparators(path)));
    return true;
}

bool TMainForm::OwnedPieces1Click() {
    ownedForm_->showCollection(records_.library, records_.inventory);
    ownedForm_->showAndRaise();
    return true;
}

void TMainForm::ownedCountEdited(int part, const QString& text) {
    const std::optional<int32_t> count = ReadOwnedCount(text.toStdString());
    if (!count) {
        // The cell goes back to the count the file holds.
        ownedForm_->showCollection(records_.library, records_.inventory);
        showNote(QStringLiteral("\"%1\" is no number of pieces: you own 0 or more.")
                     .arg(text.trimmed()));
        return;
    }
    setOwnedCounts({{records_.library.parts[part].number, *count}});
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
    return setOwnedCounts(
        OwnedCountsWithDesign(records_.design, records_.library, records_.inventory));
}

bool TMainForm::setOwnedCounts(const std::vector<OwnedCount>& counts) {
    const OwnedCountsSaved saved = SetOwnedCounts(collection_, collectionPlaces_.userFolder, counts,
                                                  records_.library, records_.inventory);
    if (saved.failed) {
        showError(*saved.failed);
    } else if (saved.moved) {
        collection_ = saved.files;
        mainPanel_->showLibrary(QDir::toNativeSeparators(collection_.library));
        showNote(QStringLiteral("Owned pieces are kept in %1.")
                     .arg(QDir::toNativeSeparators(collection_.inventory)));
    }
    ownedForm_->showCollection(records_.library, records_.inventory);
    followUp({FollowUp::RefreshLists});
    return !saved.failed;
}

} // namespace lapwerk
