#pragma once

#include "WinTypes.h"

#include <QString>

class CDialog;

// One data transfer between a dialog's members and its controls: towards the
// members when saving (the dialog ends with OK), towards the controls otherwise.
class CDataExchange
{
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate);

    BOOL m_bSaveAndValidate;
    CDialog* m_pDlgWnd;
};

// The text of control id and a string member.
void DDX_Text(CDataExchange* pDX, UINT id, QString& value);
