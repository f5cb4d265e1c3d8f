#pragma once

#include <QLineEdit>

class CInPlaceList;

// The edit field of an in-place combo box. Keys that end the edit reach the
// combo box even when they arrive at the field itself, and dialog navigation
// and menu accelerators never take them.
class CComboEdit : public QLineEdit
{
public:
    explicit CComboEdit(CInPlaceList* owner);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    CInPlaceList* m_pOwner;
};
