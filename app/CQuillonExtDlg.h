#pragma once

#include <QDialog>
#include <QString>

class QPushButton;

// The program's main window.
class CQuillonExtDlg : public QDialog
{
    Q_OBJECT

public:
    CQuillonExtDlg(QString userName, QString password, QWidget* parent = nullptr);

    int DoModal();

    QString m_strUserName;
    QString m_strPassword;
    QString m_strDataFolder;

protected:
    virtual bool OnInitDialog();
    void OnCloseButton();

private:
    QPushButton* m_btnClose = nullptr;
};
