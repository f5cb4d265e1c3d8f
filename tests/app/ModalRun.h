#pragma once

#include "platform/CDialog.h"

#include <QTest>
#include <QTimer>

#include <functional>

// What RunModal returns when the action left the dialog open.
inline constexpr int kLeftOpen = -2;

// Runs a dialog's modal loop with one queued action on the active dialog. A
// dialog that the action leaves open is ended with kLeftOpen, so a failing
// test cannot hang.
inline int RunModal(CDialog& dialog, const std::function<void()>& action)
{
    QTimer::singleShot(0, &dialog, [&dialog, action] {
        dialog.activateWindow();
        if (QTest::qWaitForWindowActive(&dialog))
            action();
        if (dialog.isVisible())
            dialog.EndDialog(kLeftOpen);
    });
    return dialog.DoModal();
}
