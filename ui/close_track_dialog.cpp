#include "close_track_dialog.h"

#include "progress_row.h"

#include "design_area.h"
#include "file_text.h"
#include "preview_lines.h"
#include "problem_marks.h"

#include "closure.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstring>

namespace lapwerk {

namespace {

/// Steps of the progress bar from start to end of a search.

enum ProposalColumn { kPiecesColumn, kGapColumn, kHeadingColumn, kToBuyColumn, kLayoutColumn };

QString FieldText(const char* field, size_t size) {
    return DecodeFileText(std::string(field, strnlen(field, size)));
}

/// One piece as the list shows it: "C152 L (Curve R1 45)", "C151 (Straight 350 mm)".
QString PieceText(const ProposedPiece& piece, const PartLibrary& library) {
    const Part& part = library.parts[piece.partIndex];
    QString text = FieldText(part.number, sizeof part.number);
    if (IsCurveKind(part.kind)) {
        text += QLatin1Char(' ');
        text += QLatin1Char(piece.direction);
    }
    return text + QStringLiteral(" (%1)").arg(FieldText(part.name, sizeof part.name));
}

/// The track's figures before any piece is added: "gap 12.3 mm, heading error 4.5°".
QString NowText(const TrackClosure& closure, bool metric) {
    if (!closure.hasSections) {
        return QStringLiteral("no sections");
    }
    return QStringLiteral("gap %1, heading error %2")
        .arg(QString::fromUtf8(FormatGap(closure.gapUnits, metric).c_str()),
             QString::fromUtf8(FormatHeadingError(closure.headingErrorDegrees).c_str()));
}

/// The part number and, for a curve, the direction of a piece taken off: "C153", "C154 R".
QString RemovedPieceText(const ProposedPiece& piece, const PartLibrary& library) {
    const Part& part = library.parts[piece.partIndex];
    const QString number = FieldText(part.number, sizeof part.number);
    return IsCurveKind(part.kind) ? number + QLatin1Char(' ') + QLatin1Char(piece.direction)
                                  : number;
}

/// The pieces of a proposal, those taken off first ("Remove C153, then add"), then a line per
/// run of equal pieces added: "2 × C152 L (Curve R1 45)\nC151 (Straight 350 mm)".
QString ProposalPiecesText(const Proposal& proposal, const PartLibrary& library) {
    QStringList lines;
    if (!proposal.removed.empty()) {
        QStringList removed;
        for (const ProposedPiece& piece : proposal.removed) {
            removed << RemovedPieceText(piece, library);
        }
        lines << QStringLiteral("Remove %1%2")
                     .arg(removed.join(QStringLiteral(", ")),
                          proposal.pieces.empty() ? QString() : QStringLiteral(", then add"));
    }
    const std::vector<ProposedPiece>& pieces = proposal.pieces;
    for (size_t first = 0; first < pieces.size();) {
        size_t end = first + 1;
        while (end < pieces.size() && pieces[end] == pieces[first]) {
            ++end;
        }
        const QString piece = PieceText(pieces[first], library);
        lines << (end - first > 1 ? QStringLiteral("%1 × %2").arg(end - first).arg(piece) : piece);
        first = end;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

CloseTrackDialog::CloseTrackDialog(const Design& design, const PartLibrary& library,
                                   const Inventory& inventory, int slot, bool metric,
                                   DesignArea& area, QWidget* owner)
    : QDialog(owner), design_(std::make_shared<const Design>(design)), library_(library),
      inventory_(inventory), slot_(slot), metric_(metric),
      closure_(MeasureTrackClosure(design, library, slot)), area_(area) {
    setObjectName("CloseTrackForm");
    setWindowTitle(QStringLiteral("Close Track %1").arg(closure_.number));
    buildControls();
    if (closure_.hasSections) {
        startSearch();
    } else {
        showMessage(QStringLiteral("Track %1 has no sections.").arg(closure_.number));
        maxPieces_->setEnabled(false);
        maxSeconds_->setEnabled(false);
        ownedOnly_->setEnabled(false);
    }
}

CloseTrackDialog::~CloseTrackDialog() {
    search_.stopAndWait();
    // The list may signal while it goes with the dialog's children; nothing is shown then.
    QObject::disconnect(proposalList_, nullptr, this, nullptr);
}

void CloseTrackDialog::buildControls() {
    auto* now = new QLabel(NowText(closure_, metric_));
    now->setObjectName("NowLabel");
    maxPieces_ = new QSpinBox;
    maxPieces_->setObjectName("MaxPieces");
    maxPieces_->setRange(1, kMaxClosingPieces);
    maxPieces_->setValue(CloseSearchOptions{}.maxPieces);
    maxSeconds_ = new QSpinBox;
    maxSeconds_->setObjectName("MaxSeconds");
    maxSeconds_->setRange(1, 600);
    maxSeconds_->setSuffix(QStringLiteral(" s"));
    maxSeconds_->setValue(kCloseSearchSeconds);
    // A number typed in starts a new search once the editing ends, not at every digit.
    maxSeconds_->setKeyboardTracking(false);
    ownedOnly_ = new QCheckBox(QStringLiteral("&Owned pieces only"));
    ownedOnly_->setObjectName("OwnedOnly");
    auto* options = new QFormLayout;
    options->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    options->addRow(QStringLiteral("Now:"), now);
    options->addRow(QStringLiteral("&Max pieces:"), maxPieces_);
    options->addRow(QStringLiteral("Maximum &time:"), maxSeconds_);
    options->addRow(QString(), ownedOnly_);

    proposalList_ = new QTreeWidget;
    proposalList_->setObjectName("ProposalList");
    proposalList_->setAccessibleName("Proposals");
    proposalList_->setHeaderLabels({QStringLiteral("Pieces"), QStringLiteral("Gap"),
                                    QStringLiteral("Heading error"), QStringLiteral("To buy"),
                                    QStringLiteral("Layout")});
    proposalList_->setRootIsDecorated(false);
    proposalList_->setUniformRowHeights(false);
    proposalList_->setAlternatingRowColors(true);
    proposalList_->setAllColumnsShowFocus(true);
    proposalList_->setSelectionMode(QAbstractItemView::SingleSelection);
    proposalList_->header()->setStretchLastSection(false);
    proposalList_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    proposalList_->header()->setSectionResizeMode(kPiecesColumn, QHeaderView::Stretch);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(proposalList_, 1);
    const SearchFoot foot = AddSearchFoot(*this, *layout, search_, QStringLiteral("&Apply"),
                                          QStringLiteral("ApplyButton"));
    messageLabel_ = foot.message;
    progress_ = foot.progress;
    applyButton_ = foot.accept;
    resize(560, 380);

    connect(maxPieces_, &QSpinBox::valueChanged, this, &CloseTrackDialog::startSearch);
    connect(maxSeconds_, &QSpinBox::valueChanged, this, &CloseTrackDialog::startSearch);
    connect(ownedOnly_, &QCheckBox::toggled, this, &CloseTrackDialog::startSearch);
    connect(proposalList_, &QTreeWidget::itemSelectionChanged, this,
            &CloseTrackDialog::showPreview);
}

CloseSearchOptions CloseTrackDialog::chosenOptions() const {
    CloseSearchOptions options;
    options.maxPieces = maxPieces_->value();
    options.seconds = maxSeconds_->value();
    options.pieces = ownedOnly_->isChecked() ? PieceChoice::kOwnedOnly : PieceChoice::kAnyPieces;
    return options;
}

void CloseTrackDialog::startSearch() {
    proposals_.clear();
    proposalList_->clear();
    showMessage(QString());
    progress_->start();
    searching_ = true;
    search_.start([this, design = design_, &library = library_, &inventory = inventory_,
                   slot = slot_, options = chosenOptions()](JobControl& control) {
        CloseSearchResult result = FindClosingPieces(*design, library, inventory, slot, options,
                                                     [&control](double fraction) {
                                                         control.setProgress(fraction);
                                                         return !control.stopRequested();
                                                     });
        control.post([this, result = std::move(result)] { showOutcome(result); });
    });
}

void CloseTrackDialog::showOutcome(const CloseSearchResult& result) {
    searching_ = false;
    proposals_ = result.proposals;
    for (const Proposal& proposal : proposals_) {
        auto* item = new QTreeWidgetItem(proposalList_);
        item->setText(kPiecesColumn, ProposalPiecesText(proposal, library_));
        item->setText(kGapColumn, QString::fromUtf8(FormatGap(proposal.gapUnits, metric_).c_str()));
        item->setText(kHeadingColumn,
                      QString::fromUtf8(FormatHeadingError(proposal.headingErrorDegrees).c_str()));
        item->setText(kToBuyColumn, QString::number(proposal.toBuy));
        item->setText(kLayoutColumn, QString::fromStdString(PieceFindingsText(proposal.findings)));
        if (proposal.findings.collides) {
            item->setForeground(kLayoutColumn, QColor(kWarningColour));
        }
        for (const int column : {kGapColumn, kHeadingColumn, kToBuyColumn}) {
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignTop);
        }
    }
    showMessage(QString::fromUtf8(CloseSearchMessage(result).c_str()));
    if (!proposals_.empty()) {
        proposalList_->setCurrentItem(proposalList_->topLevelItem(0));
        // The best proposal is one Return away, also after a number typed into a box.
        proposalList_->setFocus(Qt::OtherFocusReason);
    }
}

void CloseTrackDialog::showMessage(const QString& text) {
    messageLabel_->setText(text);
    messageLabel_->setVisible(!text.isEmpty());
}

std::optional<Proposal> CloseTrackDialog::selectedProposal() const {
    const QList<QTreeWidgetItem*> selected = proposalList_->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return proposals_[proposalList_->indexOfTopLevelItem(selected.first())];
}

void CloseTrackDialog::showPreview() {
    const std::optional<Proposal> proposal = selectedProposal();
    applyButton_->setEnabled(proposal.has_value());
    if (!proposal) {
        area_.setOverlay({});
        return;
    }
    area_.setOverlay(
        [design = design_, &library = library_, slot = slot_,
         pieces = *proposal](int32_t zoomScale, int32_t centreX, int32_t centreY) {
            return ToQLines(
                ProposalOutline(*design, library, slot, pieces, zoomScale, centreX, centreY));
        },
        QColor(proposal->findings.collides ? kWarningColour : kOverlayColour));
}

void CloseTrackDialog::done(int result) {
    area_.setOverlay({});
    QDialog::done(result);
}

} // namespace lapwerk
