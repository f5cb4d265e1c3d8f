#pragma once

#include "TestHost.h"

#include "tests/common/TempDir.h"
#include "tests/toolkit/RuntimeProcess.h"

#include <gtest/gtest.h>

// A real VantelRuntime that needs a login, with one user "root" (password
// "pw-root") in an administrators' group: a watch grid connected as root could
// change the user database if an administration function ever ran.
class WatchRuntimeFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Logs on and connects a further client; the toolkit's answer.
    HRESULT ConnectAs(const char16_t* user, const char16_t* password, VtHandle& handle);
    // The users file as the runtime keeps it.
    QByteArray Users() const { return dir.Read("users.txt"); }

    TempDir dir;
    RuntimeProcess runtime;
    WatchGridFixture f{nullptr};
};
