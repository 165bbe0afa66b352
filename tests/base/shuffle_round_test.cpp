// Random without repeats: every file once per round, across a restart, with
// files added and deleted, and never the picture on show twice in a row.
#include "base/ShuffleRound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {
class Shuffle : public ::testing::Test {
  protected:
    // The next files, each checked: one of the group, not the one on show.
    std::vector<int> Next(int count, int files) {
        std::vector<int> rows;
        for (int i = 0; i < count; ++i) {
            const int row = round.Next(current, files, draw);
            EXPECT_TRUE(row >= 1 && row <= files && (row != current || files == 1))
                << row << " after " << current;
            rows.push_back(current = row);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    static std::vector<int> Rows(int files, int without = 0) {
        std::vector<int> rows;
        for (int row = 1; row <= files; ++row)
            if (row != without) rows.push_back(row);
        return rows;
    }

    std::mt19937 random{20240611};
    ShuffleRound::Draw draw = [this](int lowest, int highest) {
        return std::uniform_int_distribution<int>(lowest, highest)(random);
    };
    ShuffleRound round;
    int current = 0;
};
} // namespace

TEST_F(Shuffle, EveryFileOncePerRoundAcrossRestartsAndAdditions) {
    for (int files : {2, 3, 7, 30}) {
        round = {};
        for (int r = 0; r < 40; ++r) {
            std::vector<int> shown = Next(r % files, files);
            round = ShuffleRound::Parse(round.Save());
            const std::vector<int> rest = Next(files - r % files, files);
            shown.insert(shown.end(), rest.begin(), rest.end());
            std::sort(shown.begin(), shown.end());
            ASSERT_EQ(shown, Rows(files)) << files << " files, round " << r;
        }
    }
    // Two files added after two were shown join the rest of the round.
    round = {};
    std::vector<int> shown = Next(2, 5), rest = Next(5, 7);
    shown.insert(shown.end(), rest.begin(), rest.end());
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, Rows(7));
    EXPECT_TRUE(round.Waiting().empty()) << "all seven in the one round";
}

TEST_F(Shuffle, ADeletedFileLeavesTheRoundAndLaterRowsMoveUp) {
    round = ShuffleRound::Parse(L"6:2,4-6");
    round.FileDeleted(4);
    EXPECT_EQ(round.Save(), L"5:2,4-5");
    round.FileDeleted(1);
    EXPECT_EQ(round.Save(), L"4:1,3-4");
    EXPECT_EQ(Next(3, 4), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(Next(4, 4), Rows(4));
}

TEST_F(Shuffle, OneFileComesAgainTwoFilesAlternateAndNoneGivesNothing) {
    EXPECT_EQ(Next(3, 1), (std::vector<int>{1, 1, 1}));
    current = 1;
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Next(1, 2), std::vector<int>{3 - current});
    EXPECT_EQ(round.Next(0, 0, draw), 0);
}

TEST_F(Shuffle, NoRepeatWhereOneRoundEndsAndTheNextBegins) {
    // Index 1 of the new round's first draw would be the picture that ended
    // the last round, were it not left out.
    const std::vector<int> picks = {0, 1, 0, 1};
    draw = [&picks, i = size_t{0}](int, int) mutable { return picks[i++]; };
    for (int expected : {1, 3, 2, 3}) {
        EXPECT_EQ(round.Next(current, 3, draw), expected);
        current = expected;
    }
    // Chosen by hand while it was the last one left, it counts as seen.
    round = ShuffleRound::Parse(L"3:2");
    EXPECT_EQ(round.Next(2, 3, [](int, int highest) { return highest; }), 3);
    EXPECT_EQ(round.Save(), L"3:1-2");
}

TEST(ShuffleText, ReadsItsOwnTextAndStartsAFreshRoundOnDamage) {
    for (const wchar_t* text : {L"12:1-3,5,9-12", L"1:1", L"3:", L"4:1,3", L"0:"})
        EXPECT_EQ(ShuffleRound::Parse(text).Save(), text);
    EXPECT_EQ(ShuffleRound::Parse(L"5:1,2,3,5").Waiting(), (std::vector<int>{1, 2, 3, 5}));
    for (const wchar_t* text : {L"",        L"abc",    L"5",    L"5:0",      L"5:6",           L"5:3,2",
                                L"5:2-1",   L"5:1,,2", L"5:1,", L"5:,1",     L"-1:1",          L"5:1-3-4",
                                L"5:1 ",    L" 5:1",   L"5:1-", L"100001:1", L"99999999999:1", L"5:2,2",
                                L"5:1-3,3", L"５:1",   L"5:1:2"})
        EXPECT_EQ(ShuffleRound::Parse(text).Save(), L"0:") << testing::PrintToString(std::wstring(text));
}
