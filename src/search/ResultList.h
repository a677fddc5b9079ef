#pragma once

#include "platform/ui/ListBoxView.h"

class ResultListModel;

// The search window's result list (List1): one full path per row, extended multi-selection.
// Its current item is the row with the list's focus, selected or not; a list that was emptied
// has none until the user picks a row (taking the focus alone makes none current). Only the
// left button selects; a release of any button is reported, for the pop-up menu.
class ResultList : public ListBoxView
{
    Q_OBJECT

public:
    explicit ResultList(QWidget *parent = nullptr);

    ResultListModel &results() const { return *m_model; }
    int count() const;
    QString entry(int row) const;
    bool isSelected(int row) const;
    // The current item's path; "" when there is none.
    QString currentText() const;

private:
    ResultListModel *m_model;
};
