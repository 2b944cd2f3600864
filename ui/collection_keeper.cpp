#include "collection_keeper.h"

#include "owned_form.h"

#include "editing.h"
#include "inventory_file.h"

#include <QDir>

#include <memory>

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

QString PartsFrom(const QString& library) {
    return QStringLiteral("Parts from %1.").arg(QDir::toNativeSeparators(library));
}

} // namespace

CollectionKeeper::CollectionKeeper(ProgramRecords& records, QWidget* owner)
    : QObject(owner), records_(records), ownedForm_(new TOwnedForm(owner)) {
    connect(ownedForm_, &TOwnedForm::countEdited, this, &CollectionKeeper::countEdited);
}

CollectionKeeper::Said CollectionKeeper::open() {
    places_ = CurrentCollectionPlaces();
    const OpenedCollection opened = OpenCollection(places_, records_.library, records_.inventory);
    files_ = opened.files;
    ownedForm_->showCollection(records_.library, records_.inventory);
    // The working folder's own library is the one a user who starts there expects.
    const bool expected =
        files_.library ==
        QDir(places_.workingFolder).filePath(QString::fromLatin1(kPartLibraryFile));
    if (expected && opened.problems.isEmpty()) {
        return {};
    }
    const QString inUse = files_.library.isEmpty() ? QStringLiteral("No part library found.")
                                                   : PartsFrom(files_.library);
    return {std::nullopt, (QStringList(opened.problems) << inUse).join(QLatin1Char(' '))};
}

CollectionKeeper::Said CollectionKeeper::switchTo(const QString& path) {
    auto library = std::make_unique<PartLibrary>();
    auto inventory = std::make_unique<Inventory>();
    if (auto refusal = LoadCollection(path, *library, *inventory)) {
        return {*refusal, std::nullopt};
    }
    const std::vector<std::string> missing =
        ChangePartLibrary(records_.design, records_.history, records_.library, *library);
    if (!missing.empty()) {
        return {MissingPartsText(path, missing), std::nullopt};
    }
    records_.library = *library;
    records_.inventory = *inventory;
    files_ = {path, InventoryBeside(path)};
    RememberChosenLibrary(path);
    ownedForm_->showCollection(records_.library, records_.inventory);
    return {std::nullopt, PartsFrom(path)};
}

CollectionKeeper::Said CollectionKeeper::setOwnedCounts(const std::vector<OwnedCount>& counts) {
    const OwnedCountsSaved saved =
        SetOwnedCounts(files_, places_.userFolder, counts, records_.library, records_.inventory);
    ownedForm_->showCollection(records_.library, records_.inventory);
    if (saved.failed) {
        return {*saved.failed, std::nullopt};
    }
    if (!saved.moved) {
        return {};
    }
    files_ = saved.files;
    return {std::nullopt, QStringLiteral("Owned pieces are kept in %1.")
                              .arg(QDir::toNativeSeparators(files_.inventory))};
}

void CollectionKeeper::showOwnedWindow() {
    ownedForm_->showCollection(records_.library, records_.inventory);
    ownedForm_->showAndRaise();
}

void CollectionKeeper::countEdited(int part, const QString& text) {
    const std::optional<int32_t> count = ReadOwnedCount(text.toStdString());
    if (!count) {
        // The cell goes back to the count the file holds, ready to be typed again; the window
        // and the status bar say why.
        const QString why =
            QStringLiteral("\"%1\" is no number of pieces: you own 0 or more.").arg(text.trimmed());
        ownedForm_->showCollection(records_.library, records_.inventory);
        ownedForm_->refuseCount(part, why);
        Q_EMIT countTyped({std::nullopt, why});
        return;
    }
    Q_EMIT countTyped(setOwnedCounts({{records_.library.parts[part].number, *count}}));
}

} // namespace lapwerk
