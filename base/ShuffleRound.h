#pragma once
// Random changes without repeats: every file of a group once, in a shuffled
// order, before any file comes again, and never the picture on show twice in
// a row, not where one round ends and the next begins either. Files are the
// rows 1 to N of the group's list; row 0, "(なし)", is never drawn.
#include <functional>
#include <string>
#include <vector>

class ShuffleRound {
  public:
    // Uniform between lowest and highest, both included: the program's draw.
    using Draw = std::function<int(int lowest, int highest)>;

    // The next file to show, with current the row on show now (0 for none)
    // and files the group's file count now: files added since the last call
    // join the rest of the round. The one file again when it is on show and
    // alone; 0 only for a group without files.
    int Next(int current, int files, const Draw& draw);
    // The file at row was deleted: it leaves the round, and the rows after it
    // move up by one, as they do in the list.
    void FileDeleted(int row);

    // The round as compact text for the settings: the file count, then the
    // rows still to come, ascending, runs as ranges: "12:1-3,5,9-12".
    std::wstring Save() const;
    // The round of a saved text. Damaged text gives a fresh round, never an
    // error: the worst a bad value does is start the round again.
    static ShuffleRound Parse(const std::wstring& text);

    // The rows still to come in this round, ascending.
    const std::vector<int>& Waiting() const { return waiting_; }

  private:
    // Takes the group's file count: new rows join, rows beyond it go.
    void Follow(int files);

    int files_ = 0;
    std::vector<int> waiting_;
};
