#include "base/ShuffleRound.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>

namespace {
// Far above the number of files a group can hold, so a damaged count cannot
// make a huge round.
constexpr int kMaxRoundFiles = 100000;

std::vector<int> Without(const std::vector<int>& rows, int row) {
    std::vector<int> rest;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(rest), [row](int r) { return r != row; });
    return rest;
}

// A decimal count from 0 to kMaxRoundFiles, digits only.
std::optional<int> CountOf(std::wstring_view text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    if (value > kMaxRoundFiles) return std::nullopt;
    return value;
}
} // namespace

int ShuffleRound::Next(int current, int files, const Draw& draw) {
    Follow(files);
    if (files_ == 0) return 0;
    std::vector<int> candidates = Without(waiting_, current);
    if (candidates.empty()) {
        // The round is over, or only the picture on show is left, which has
        // been seen: a new round, in which the picture on show comes later.
        waiting_.clear();
        for (int row = 1; row <= files_; ++row)
            waiting_.push_back(row);
        candidates = Without(waiting_, current);
        if (candidates.empty()) return current;
    }
    const int last = static_cast<int>(candidates.size()) - 1;
    const int row = candidates[std::clamp(draw(0, last), 0, last)];
    std::erase(waiting_, row);
    return row;
}

void ShuffleRound::FileDeleted(int row) {
    if (row < 1 || row > files_) return;
    std::erase(waiting_, row);
    for (int& r : waiting_)
        if (r > row) --r;
    --files_;
}

void ShuffleRound::Follow(int files) {
    files = std::clamp(files, 0, kMaxRoundFiles);
    for (int row = files_ + 1; row <= files; ++row)
        waiting_.push_back(row);
    std::erase_if(waiting_, [files](int row) { return row > files; });
    files_ = files;
}

std::wstring ShuffleRound::Save() const {
    std::wstring text = std::to_wstring(files_) + L":";
    for (size_t i = 0; i < waiting_.size();) {
        size_t end = i;
        while (end + 1 < waiting_.size() && waiting_[end + 1] == waiting_[end] + 1)
            ++end;
        if (i > 0) text += L",";
        text += std::to_wstring(waiting_[i]);
        if (end > i) text += L"-" + std::to_wstring(waiting_[end]);
        i = end + 1;
    }
    return text;
}

ShuffleRound ShuffleRound::Parse(const std::wstring& text) {
    const std::wstring_view all(text);
    const size_t colon = all.find(L':');
    if (colon == std::wstring_view::npos) return {};
    const std::optional<int> files = CountOf(all.substr(0, colon));
    if (!files) return {};
    ShuffleRound round;
    round.files_ = *files;
    std::wstring_view rest = all.substr(colon + 1);
    while (!rest.empty()) {
        const size_t comma = rest.find(L',');
        const std::wstring_view item = rest.substr(0, comma);
        rest = comma == std::wstring_view::npos ? std::wstring_view() : rest.substr(comma + 1);
        // A comma at the end leaves an empty item: damaged.
        if (comma != std::wstring_view::npos && rest.empty()) return {};
        const size_t dash = item.find(L'-');
        const std::optional<int> first = CountOf(item.substr(0, dash));
        const std::optional<int> last =
            dash == std::wstring_view::npos ? first : CountOf(item.substr(dash + 1));
        const int previous = round.waiting_.empty() ? 0 : round.waiting_.back();
        if (!first || !last || *first <= previous || *last < *first || *last > round.files_) return {};
        for (int row = *first; row <= *last; ++row)
            round.waiting_.push_back(row);
    }
    return round;
}
