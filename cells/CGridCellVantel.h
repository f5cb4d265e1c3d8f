#pragma once

#include "CGridCell.h"

// A cell whose text the runtime toolkit checks before it is accepted; the
// check kind chooses the toolkit's check.
class CGridCellVantel : public CGridCell
{
    DECLARE_DYNCREATE(CGridCellVantel)

public:
    CGridCellVantel();

    // Asks the toolkit interactively; it may rewrite the text, which then
    // becomes the cell's (and the open editor's) text.
    BOOL ValidateEdit(const QString& text) override;

    // The quiet check a pasted or inserted text gets; changes nothing.
    BOOL CheckText(const QString& text) const;

    void SetCheckKind(int kind) { m_nCheckKind = kind; }
    int GetCheckKind() const { return m_nCheckKind; }

private:
    int Check(QString* text, bool interactive) const;

    int m_nCheckKind = 0;
};
