#pragma once
// What the mouse events of components report: the button, and which keys and
// buttons were held.
#include <set>

enum class TMouseButton { Left, Right, Middle };

enum class TShift { Shift, Alt, Ctrl, Left, Right, Middle, Double };
using TShiftState = std::set<TShift>;
