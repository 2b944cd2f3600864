#pragma once

#include <QListWidget>

#include <string>
#include <vector>

namespace lapwerk {

/// Height of a list row in pixels.
inline constexpr int kListRowHeight = 13;

/// Makes `list` a list of 13-pixel rows in the panel font.
void SetUpRowList(QListWidget* list);

/// Makes `list` display-only: no selection, no focus, no scroll bar of its own.
void MakeDisplayOnly(QListWidget* list);

/// Lets `follower` scroll whenever `leader` does, and the other way round.
void ScrollTogether(QListWidget* leader, QListWidget* follower);

/// Replaces the rows of `list` with `rows`, decoded as the texts of the data files are
/// (part names from an old library keep every character).
void SetRows(QListWidget* list, const std::vector<std::string>& rows);

/// Width of `list` wide enough to show each of its rows whole, at least `minimum`, pixels.
int WidthForRows(const QListWidget* list, int minimum);

/// Whether a part filter box's text `wanted` picks the part of `number` and `name`: either
/// holds it, in any letter case, white space around it aside.
bool PartFilterMatches(const QString& wanted, const QString& number, const QString& name);

} // namespace lapwerk
