#pragma once

#include <QString>

#include <string>

namespace lapwerk {

/// Decodes a text that comes from the core or its files for display: UTF-8 when it is valid
/// UTF-8, otherwise Latin-1, so that no byte of an old part library or path is lost.
QString DecodeFileText(const std::string& text);

} // namespace lapwerk
