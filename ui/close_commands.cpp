#include "main_form.h"

#include "close_track_dialog.h"
#include "design_area.h"
#include "suggest_layouts_dialog.h"

#include "close_search.h"
#include "editing.h"

#include <optional>

namespace lapwerk {

bool TMainForm::CloseTrack1Click() {
    Design& design = records_.design;
    const int slot = design.currentTrack;
    if (slot < 0 || slot >= kMaxTracks || design.tracks[slot].inUse == 0) {
        return false;
    }
    CloseTrackDialog dialog(design, records_.library, records_.inventory, slot, metric(),
                            *designArea_, this);
    if (!dialogs_->closeTrack(dialog)) {
        return false;
    }
    const std::optional<Proposal> chosen = dialog.selectedProposal();
    return chosen && AppendProposal(design, slot, *chosen);
}

bool TMainForm::SuggestLayouts1Click() {
    Design& design = records_.design;
    if (const MaybeMessage full = NewTrackRefusal(design)) {
        return refusedWith(full);
    }
    SuggestLayoutsDialog dialog(design, records_.library, records_.inventory, metric(),
                                *designArea_, this);
    if (!dialogs_->suggestLayouts(dialog)) {
        return false;
    }
    const std::optional<SuggestedLayout> chosen = dialog.selectedLayout();
    if (!chosen || !AddTrack(design, TrackOfLayout(*chosen))) {
        return false;
    }
    showCurrentTrackHeading();
    return true;
}

} // namespace lapwerk
