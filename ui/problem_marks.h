#pragma once

#include "design_area.h"

#include "layout_check.h"

#include <QColor>

#include <memory>

namespace lapwerk {

/// The colour of what cannot be built: collisions, sections off the board, a closing proposal
/// that runs into the layout.
inline constexpr QRgb kWarningColour = qRgb(255, 110, 0);

/// The colour of the bridge marks over crossings, which stands out on the tracks of every colour.
inline constexpr QRgb kCrossingColour = qRgb(255, 210, 0);

/// The marks of `check` over the drawing area: each collision's overlap hatched in the warning
/// colour, each section off the board outlined in it, and a small bridge over each crossing.
DesignArea::MarkLayout ProblemMarks(std::shared_ptr<const LayoutCheck> check);

/// The outline of section `ref`'s footprint, laid over every track: where a chosen finding's
/// section lies, also under another track at a crossing.
DesignArea::OverlayLines SectionOutline(const Design& design, const PartLibrary& library,
                                        SectionRef ref);

} // namespace lapwerk
