#include "CQuillonExtDlg.h"

#include "res/Resource.h"
#include "res/Resources.h"

#include <QPushButton>
#include <QVBoxLayout>

CQuillonExtDlg::CQuillonExtDlg(QString userName, QString password, QWidget* parent)
    : QDialog(parent)
    , m_strUserName(std::move(userName))
    , m_strPassword(std::move(password))
{
}

int CQuillonExtDlg::DoModal()
{
    OnInitDialog();
    return exec() == QDialog::Accepted ? 1 : 2;
}

bool CQuillonExtDlg::OnInitDialog()
{
    setWindowTitle(LoadResString(AFX_IDS_APP_TITLE));
    auto* layout = new QVBoxLayout(this);
    m_btnClose = new QPushButton(tr("Close"), this);
    layout->addStretch();
    layout->addWidget(m_btnClose, 0, Qt::AlignHCenter);
    connect(m_btnClose, &QPushButton::clicked, this, &CQuillonExtDlg::OnCloseButton);
    resize(250, 150);
    return false;
}

void CQuillonExtDlg::OnCloseButton()
{
    accept();
}
