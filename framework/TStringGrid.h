#pragma once
// A one-column string grid: rows of text, one current row, click and
// double-click events. It never has fewer than one row.
#include "framework/TWinControl.h"

#include <functional>
#include <string>
#include <vector>

class TStringGrid : public TWinControl {
  public:
    TStringGrid(TComponent* owner, TWinControl& parent);

    int RowCount() const { return static_cast<int>(rows_.size()); }
    void SetRowCount(int count);
    std::wstring Cell(int row) const;
    void SetCell(int row, const std::wstring& text);
    // Replaces every row at once (the row count follows).
    void SetRows(std::vector<std::wstring> rows);

    int Row() const { return row_; }
    // Makes row the current one; OnClick runs when that changes the row.
    void SetRow(int row);

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;

  protected:
    bool HandleCommand(WORD id, WORD code) override;
    bool CurrentItemRect(RECT& item) const override;

  private:
    void Refill();
    void ShowCurrent();

    std::vector<std::wstring> rows_{L""};
    int row_ = 0;
};
