#include "CCheckCredentialDlg.h"

#include "platform/CDataExchange.h"
#include "res/Resource.h"
#include "res/Resources.h"

IMPLEMENT_DYNAMIC(CCheckCredentialDlg, CDialog)

CCheckCredentialDlg::CCheckCredentialDlg(QWidget* parent) : CDialog(LoadDialogTemplate(IDD_CHECK_CREDENTIAL), parent)
{
}

// The template's first tab stop is OK; the user expects to type the name at once.
BOOL CCheckCredentialDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (QWidget* userName = GetDlgItem(IDC_USERNAME))
        userName->setFocus(Qt::OtherFocusReason);
    return FALSE;
}

void CCheckCredentialDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_USERNAME, m_strUserName);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
}
