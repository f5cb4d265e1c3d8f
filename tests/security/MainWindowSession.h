#pragma once

#include "app/CQuillonExtApp.h"
#include "app/CQuillonExtDlg.h"
#include "platform/MessageBox.h"
#include "platform/TickCount.h"
#include "tests/common/TempDir.h"
#include "tests/toolkit/RuntimeProcess.h"

#include <gtest/gtest.h>

#include <functional>

// The main window against a real runtime that demands a login, with its
// program and data folders in scratch space. The user "root" (an
// administrator, password kRootPassword) is the one logged on unless a test
// says otherwise; messages are recorded instead of shown.
class MainWindowSession : public ::testing::Test
{
protected:
    static constexpr const char* kRootPassword = "Pw-Root-7Qx!";

    // The main window with its refresh tick reachable.
    class Window : public CQuillonExtDlg
    {
    public:
        explicit Window(const QString& dataFolder);
        using CQuillonExtDlg::OnTimer;
    };

    void SetUp() override;
    void TearDown() override;

    // Opens the window, runs the action inside its modal loop, and closes it.
    void Run(const std::function<void(Window&)>& action);
    QByteArray Users() const { return program.Read("users.txt"); }

    CQuillonExtApp app;
    TempDir program, data;
    RuntimeProcess runtime;
    QStringList messages;

private:
    MessageBoxHandler m_previousHandler;
    TickSource m_previousTicks;
};
