#pragma once

#include "platform/CDialog.h"

#include <QString>

// Asks for the user name and password of a runtime that demands a login. It
// checks nothing; the members are filled only when it ends with OK.
class CCheckCredentialDlg : public CDialog
{
    Q_OBJECT
    DECLARE_DYNAMIC(CCheckCredentialDlg)

public:
    explicit CCheckCredentialDlg(QWidget* parent = nullptr);

    QString m_strUserName;
    QString m_strPassword;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
