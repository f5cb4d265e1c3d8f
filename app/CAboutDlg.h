#pragma once

#include "platform/CDialog.h"

// The about box: the program's icon, name and version, and what it is for.
class CAboutDlg : public CDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
};
