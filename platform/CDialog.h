#pragma once

#include "CObject.h"
#include "CSize.h"
#include "WinTypes.h"

#include <QDialog>
#include <QPointer>

#include <vector>

class CDataExchange;
struct DialogItemTemplate;
struct DialogTemplate;

// A dialog built from a template. Each DoModal creates the template's controls
// in template order (which is also the tab order), placed in dialog units
// converted with the dialog font's base units, and removes them when the dialog
// ends. A button sends its id to OnCommand; IDOK and IDCANCEL end the dialog
// through OnOK and OnCancel, and so do Escape and the close box (as IDCANCEL).
class CDialog : public QDialog, public CObject
{
    Q_OBJECT
    DECLARE_DYNAMIC(CDialog)

public:
    explicit CDialog(const DialogTemplate* dialogTemplate, QWidget* parent = nullptr);

    // The result given to EndDialog (IDOK or IDCANCEL); -1 without a template.
    virtual int DoModal();
    void EndDialog(int result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    // OnDestroy, then the template's controls are deleted.
    virtual BOOL DestroyWindow();

    // WM_COMMAND as a call, and queued as PostMessage would.
    virtual BOOL OnCommand(UINT id);
    void PostCommand(UINT id);

    QWidget* GetDlgItem(UINT id) const;
    QString GetDlgItemText(UINT id) const;
    void SetDlgItemText(UINT id, const QString& text);

    // The dialog font's average character width and height in pixels.
    CSize GetDialogBaseUnits() const;
    // Dialog units to pixels.
    void MapDialogRect(RECT* rect) const;

protected:
    // TRUE lets the first tab stop take the focus.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnDestroy();

    void done(int result) override;
    void reject() override;

private:
    struct Control
    {
        UINT id;
        DWORD style;
        QPointer<QWidget> widget;
    };

    bool CreateFromTemplate();
    QWidget* CreateControl(const DialogItemTemplate& item);
    void ApplyWindowStyle();
    void PlaceWindow();
    void MarkDefaultButton();
    void LinkMnemonics();
    void FocusFirstTabStop();
    void RemoveControls();

    const DialogTemplate* m_lpDialogTemplate;
    std::vector<Control> m_controls;
    CSize m_baseUnits;
    int m_nModalResult = -1;
    bool m_bEnded = false;
};
