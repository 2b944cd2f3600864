#pragma once

#include "close_search.h"

#include <QLine>

#include <vector>

namespace lapwerk {

/// Lines of a preview in output pixels as QLines, for an overlay of the drawing area.
inline std::vector<QLine> ToQLines(const std::vector<PixelLine>& lines) {
    std::vector<QLine> result;
    result.reserve(lines.size());
    for (const PixelLine& line : lines) {
        result.emplace_back(line.from.x, line.from.y, line.to.x, line.to.y);
    }
    return result;
}

} // namespace lapwerk
