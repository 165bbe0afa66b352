#include "library/ChangePolicy.h"

int PreviousRow(int row, int rows) {
    return row > 1 ? row - 1 : rows - 1;
}

int NextRow(int row, int rows) {
    return row < rows - 1 ? row + 1 : 1;
}

int PickRandomRow(int row, int rows, const std::function<int(int, int)>& draw) {
    int files = rows - 1;
    if (row < 1 || row > files) return draw(1, files);
    if (files == 1) return row;
    // Draw among the other files directly, so the draw never repeats.
    int other = draw(1, files - 1);
    return other < row ? other : other + 1;
}

std::optional<TChange> ChangeOf(TChangeMethod method) {
    switch (method) {
    case TChangeMethod::Previous:
        return TChange::Previous;
    case TChangeMethod::Next:
        return TChange::Next;
    case TChangeMethod::Random:
        return TChange::Random;
    }
    return std::nullopt;
}

std::optional<TChange> ChangeOf(TTrayMode mode) {
    switch (mode) {
    case TTrayMode::Previous:
        return TChange::Previous;
    case TTrayMode::Next:
        return TChange::Next;
    case TTrayMode::Random:
        return TChange::Random;
    }
    return std::nullopt;
}
