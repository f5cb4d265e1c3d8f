#include "CAboutDlg.h"

#include "res/Resource.h"
#include "res/Resources.h"

#include <QLabel>

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(LoadDialogTemplate(IDD_ABOUTBOX), parent)
{
}

// The version comes from the build, so the templates of the language
// libraries never fall behind it.
BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (auto* icon = qobject_cast<QLabel*>(GetDlgItem(IDC_ABOUT_ICON)))
        icon->setPixmap(LoadIconResource(IDR_MAINFRAME).pixmap(icon->size().boundedTo(QSize(32, 32))));
    SetDlgItemText(IDC_ABOUT_VERSION,
                   GetDlgItemText(IDC_ABOUT_VERSION).replace(QStringLiteral("%s"), QStringLiteral(QUILLON_VERSION)));
    return TRUE;
}
