#include "suggest_layouts_dialog.h"

#include "design_area.h"
#include "file_text.h"
#include "preview_lines.h"
#include "progress_row.h"

#include "design_export.h"
#include "lane_lengths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>

namespace lapwerk {

namespace {

constexpr int kShownLayouts = 20;
const QSize kThumbnail(160, 120);

/// The layout drawn on its board as the designer draws it, without ruler and grid, sharp on a
/// screen of `pixelRatio` device pixels per pixel.
QIcon Thumbnail(const Design& design, const PartLibrary& library, const SuggestedLayout& layout,
                qreal pixelRatio) {
    auto shown = std::make_unique<Design>(design);
    DesignOfLayout(*shown, layout);
    shown->ruler = 0;
    shown->grid = 0;
    ScreenExport settings;
    settings.area = kThumbnail;
    settings.smoothing = Smoothing::kAntialiased;
    settings.pixelRatio = std::clamp(static_cast<int>(std::ceil(pixelRatio)), 1, 4);
    QPixmap picture =
        QPixmap::fromImage(ScreenImage(*shown, library, FittedToDesign(*shown, library, settings)));
    picture.setDevicePixelRatio(settings.pixelRatio);
    return QIcon(picture);
}

/// "4.32 m / 4.81 m, 16 pieces", and the crossings when there are any.
QString LayoutCaption(const SuggestedLayout& layout, bool metric) {
    QString text =
        QStringLiteral("%1 / %2, %3 pieces")
            .arg(QString::fromStdString(FormatLaneLength(layout.lane1, metric)).trimmed(),
                 QString::fromStdString(FormatLaneLength(layout.lane2, metric)).trimmed())
            .arg(layout.pieces.size());
    if (layout.crossings > 0) {
        text += QStringLiteral(", %1 crossing%2")
                    .arg(layout.crossings)
                    .arg(layout.crossings == 1 ? "" : "s");
    }
    return text;
}

/// The parts of `layout` and how many of each, in the part list's order: "4 × C151, 8 × C152".
QString PartCountsText(const SuggestedLayout& layout, const PartLibrary& library) {
    std::map<int, int> counts;
    for (const ProposedPiece& piece : layout.pieces) {
        ++counts[piece.partIndex];
    }
    QStringList parts;
    for (const auto& [part, count] : counts) {
        parts << QStringLiteral("%1 × %2").arg(count).arg(
            DecodeFileText(library.parts[part].number));
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

SuggestLayoutsDialog::SuggestLayoutsDialog(const Design& design, const PartLibrary& library,
                                           const Inventory& inventory, bool metric,
                                           DesignArea& area, QWidget* owner)
    : QDialog(owner), design_(std::make_shared<const Design>(design)), library_(library),
      inventory_(inventory), metric_(metric), area_(area) {
    setObjectName("SuggestLayoutsForm");
    setWindowTitle(QStringLiteral("Suggest Layouts"));
    buildControls();
    startSearch();
}

SuggestLayoutsDialog::~SuggestLayoutsDialog() {
    search_.stopAndWait();
    QObject::disconnect(layoutList_, nullptr, this, nullptr);
}

void SuggestLayoutsDialog::buildControls() {
    useAll_ = new QCheckBox(QStringLiteral("Use &all pieces"));
    useAll_->setObjectName("UseAll");
    leftOverOnly_ = new QCheckBox(QStringLiteral("Use &left-over pieces only"));
    leftOverOnly_->setObjectName("LeftOverOnly");
    // Beside tracks already laid, the pieces they use are taken.
    const auto& tracks = design_->tracks;
    leftOverOnly_->setChecked(std::any_of(std::begin(tracks), std::end(tracks), [](const Track& t) {
        return t.inUse != 0 && t.sectionCount > 0;
    }));
    allowCrossings_ = new QCheckBox(QStringLiteral("Allow &crossings"));
    allowCrossings_->setObjectName("AllowCrossings");
    seconds_ = new QSpinBox;
    seconds_->setObjectName("MaxSeconds");
    seconds_->setRange(1, 600);
    seconds_->setSuffix(QStringLiteral(" s"));
    seconds_->setValue(static_cast<int>(SuggestOptions{}.seconds));
    // A number typed in starts a new search once the editing ends, not at every digit.
    seconds_->setKeyboardTracking(false);
    rankBy_ = new QComboBox;
    rankBy_->setObjectName("RankBy");
    rankBy_->addItem(QStringLiteral("Lap length"), int(SuggestRanking::kLapLength));
    rankBy_->addItem(QStringLiteral("Fewest pieces"), int(SuggestRanking::kFewestPieces));
    rankBy_->addItem(QStringLiteral("Most of the supply used"), int(SuggestRanking::kMostPieces));
    auto* options = new QFormLayout;
    options->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    options->addRow(QString(), useAll_);
    options->addRow(QString(), leftOverOnly_);
    options->addRow(QString(), allowCrossings_);
    options->addRow(QStringLiteral("&Maximum time:"), seconds_);
    options->addRow(QStringLiteral("&Rank by:"), rankBy_);

    layoutList_ = new QListWidget;
    layoutList_->setObjectName("LayoutList");
    layoutList_->setAccessibleName("Suggested layouts");
    layoutList_->setViewMode(QListView::IconMode);
    layoutList_->setIconSize(kThumbnail);
    layoutList_->setResizeMode(QListView::Adjust);
    layoutList_->setMovement(QListView::Static);
    layoutList_->setWordWrap(true);
    layoutList_->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(layoutList_, 1);
    const SearchFoot foot = AddSearchFoot(*this, *layout, search_, QStringLiteral("A&dd to Design"),
                                          QStringLiteral("AddButton"));
    messageLabel_ = foot.message;
    progress_ = foot.progress;
    addButton_ = foot.accept;
    resize(720, 560);

    for (QCheckBox* box : {useAll_, leftOverOnly_, allowCrossings_}) {
        connect(box, &QCheckBox::toggled, this, &SuggestLayoutsDialog::startSearch);
    }
    connect(seconds_, &QSpinBox::valueChanged, this, &SuggestLayoutsDialog::startSearch);
    connect(rankBy_, &QComboBox::currentIndexChanged, this, &SuggestLayoutsDialog::startSearch);
    connect(layoutList_, &QListWidget::itemSelectionChanged, this,
            &SuggestLayoutsDialog::showPreview);
}

SuggestOptions SuggestLayoutsDialog::chosenOptions() const {
    SuggestOptions options;
    options.useAll = useAll_->isChecked();
    options.leftOverOnly = leftOverOnly_->isChecked();
    options.allowCrossings = allowCrossings_->isChecked();
    options.seconds = seconds_->value();
    options.maxLayouts = kShownLayouts;
    options.ranking = static_cast<SuggestRanking>(rankBy_->currentData().toInt());
    return options;
}

void SuggestLayoutsDialog::startSearch() {
    layouts_.clear();
    showLayouts();
    messageLabel_->hide();
    progress_->start();
    searching_ = true;
    searched_ = chosenOptions();
    search_.start([this, design = design_, &library = library_, &inventory = inventory_,
                   options = searched_](JobControl& control) {
        const std::vector<int64_t> supply =
            SuggestSupply(*design, library, inventory, options.leftOverOnly);
        SuggestResult result =
            SuggestLayouts(*design, library, supply, options,
                           [this, &control](double fraction, const SuggestedLayout* accepted) {
                               if (accepted != nullptr) {
                                   control.post([this, found = *accepted] { showFound(found); });
                               } else {
                                   control.setProgress(fraction);
                               }
                               return !control.stopRequested();
                           });
        control.post([this, result = std::move(result)] { showOutcome(result); });
    });
}

void SuggestLayoutsDialog::showFound(const SuggestedLayout& found) {
    const auto place = std::upper_bound(layouts_.begin(), layouts_.end(), found,
                                        [this](const SuggestedLayout& a, const SuggestedLayout& b) {
                                            return RanksBefore(a, b, searched_.ranking);
                                        });
    const int row = static_cast<int>(place - layouts_.begin());
    if (row >= shownLayouts()) {
        return;
    }
    layouts_.insert(place, found);
    // The selection stays on its row, the best layout unless the user chose another.
    const int selected = std::max(layoutList_->currentRow(), 0);
    const QSignalBlocker quiet(layoutList_);
    layoutList_->insertItem(row, newItem(found));
    if (static_cast<int>(layouts_.size()) > shownLayouts()) {
        layouts_.pop_back();
        delete layoutList_->takeItem(layoutList_->count() - 1);
    }
    layoutList_->setCurrentRow(selected);
    showPreview();
}

int SuggestLayoutsDialog::shownLayouts() const {
    return searched_.useAll ? INT_MAX : kShownLayouts;
}

void SuggestLayoutsDialog::showOutcome(const SuggestResult& outcome) {
    searching_ = false;
    std::vector<SuggestedLayout> best = outcome.layouts;
    if (static_cast<int>(best.size()) > shownLayouts()) {
        best.resize(kShownLayouts);
    }
    // The list holds every layout reported, in rank; it is drawn again only where the search
    // ended with others.
    const auto samePieces = [](const SuggestedLayout& a, const SuggestedLayout& b) {
        return a.pieces == b.pieces;
    };
    if (!std::equal(best.begin(), best.end(), layouts_.begin(), layouts_.end(), samePieces)) {
        layouts_ = std::move(best);
        showLayouts();
    }
    if (layouts_.empty()) {
        messageLabel_->setText(QString::fromStdString(
            NoLayoutMessage(searched_, outcome.supplyPieces, outcome.outcome)));
        messageLabel_->show();
    }
}

QListWidgetItem* SuggestLayoutsDialog::newItem(const SuggestedLayout& layout) const {
    const QString caption = LayoutCaption(layout, metric_);
    const QString parts = PartCountsText(layout, library_);
    auto* item =
        new QListWidgetItem(Thumbnail(*design_, library_, layout, devicePixelRatio()), caption);
    item->setSizeHint(kThumbnail + QSize(24, 48));
    item->setToolTip(parts);
    item->setData(Qt::AccessibleTextRole, QStringLiteral("%1: %2").arg(caption, parts));
    return item;
}

void SuggestLayoutsDialog::showLayouts() {
    const int selected = layoutList_->currentRow();
    const QSignalBlocker quiet(layoutList_);
    layoutList_->clear();
    for (const SuggestedLayout& layout : layouts_) {
        layoutList_->addItem(newItem(layout));
    }
    if (!layouts_.empty()) {
        layoutList_->setCurrentRow(std::clamp(selected, 0, static_cast<int>(layouts_.size()) - 1));
    }
    showPreview();
}

std::optional<SuggestedLayout> SuggestLayoutsDialog::selectedLayout() const {
    const int row = layoutList_->currentRow();
    if (row < 0 || row >= static_cast<int>(layouts_.size())) {
        return std::nullopt;
    }
    return layouts_[row];
}

void SuggestLayoutsDialog::placeClearOfTracks(int row) {
    const std::optional<SuggestedLayout> placed =
        PlacedClearOfTracks(*design_, library_, layouts_[row]);
    if (placed) {
        layouts_[row] = *placed;
        messageLabel_->hide();
        return;
    }
    messageLabel_->setText(QStringLiteral("Wherever it stands on the board, this layout crosses "
                                          "or touches the tracks already laid."));
    messageLabel_->show();
}

void SuggestLayoutsDialog::showPreview() {
    const int row = layoutList_->currentRow();
    if (row >= 0 && row < static_cast<int>(layouts_.size())) {
        placeClearOfTracks(row);
    }
    const std::optional<SuggestedLayout> layout = selectedLayout();
    addButton_->setEnabled(layout.has_value());
    if (!layout) {
        area_.setOverlay({});
        return;
    }
    // The layout's pieces laid from its begin point, as if appended to an empty track there.
    auto shown = std::make_shared<Design>(*design_);
    const int slot = AllocateTrack(*shown);
    if (slot < 0) {
        area_.setOverlay({});
        return;
    }
    Track& start = shown->tracks[slot];
    start.beginX = layout->beginX;
    start.beginY = layout->beginY;
    start.angle = layout->angle;
    area_.setOverlay([design = std::shared_ptr<const Design>(shown), &library = library_, slot,
                      pieces = Proposal{layout->pieces, 0, 0, 0, {}}](
                         int32_t zoomScale, int32_t centreX, int32_t centreY) {
        return ToQLines(
            ProposalOutline(*design, library, slot, pieces, zoomScale, centreX, centreY));
    });
}

void SuggestLayoutsDialog::done(int result) {
    area_.setOverlay({});
    QDialog::done(result);
}

} // namespace lapwerk
