#pragma once
// Which row a change takes: the previous, the next or a random file of the
// shown group.
#include "library/Options.h"

#include <functional>
#include <optional>

// What a change takes: the file before, after, or any other.
enum class TChange { Previous, Next, Random };
// The change of the timer's method and of the tray's double-click; stored
// values outside their range change nothing.
std::optional<TChange> ChangeOf(TChangeMethod method);
std::optional<TChange> ChangeOf(TTrayMode mode);

// Rows 1 to rows-1 are files; row 0 is "(なし)".
int PreviousRow(int row, int rows);
int NextRow(int row, int rows);
// A row other than the current one, drawn uniformly among the files; the
// current row again only when it is the one file. draw(lo, hi) is uniform.
int PickRandomRow(int row, int rows, const std::function<int(int lowest, int highest)>& draw);
