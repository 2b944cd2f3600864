#pragma once

#include "part_library.h"

#include <string>
#include <vector>

namespace lapwerk {

/// What the part list tells about a Part besides its number and name.
struct PartFacts {
    std::string kind;               ///< "Kind 2: curve"
    std::vector<std::string> sizes; ///< one line each: width, length or radius and arc, lanes
};

/// The kind and sizes of `part`, sizes in millimetres with one decimal (metric) or in inches
/// with two, arcs in degrees:
///   straights  "Width 150.0 mm", "Length 350.0 mm", "Lane lengths 350.0 mm and 350.0 mm"
///   curves     "Width 150.0 mm", "Radius 370.0 mm, arc 45°", "Lane lengths 237.6 mm and 348.0 mm"
/// A kind that draws nothing has no sizes. The texts are ASCII but for the UTF-8 degree sign.
PartFacts DescribePart(const Part& part, bool metric);

} // namespace lapwerk
