#include "WatchRuntimeFixture.h"

#include "runtimed/PasswordHasher.h"
#include "tests/toolkit/ToolkitTestSupport.h"

void WatchRuntimeFixture::SetUp()
{
    ASSERT_NE(ToolkitStartup(), 0);
    const QString hash = PasswordHasher::Hash(QStringLiteral("pw-root"), PasswordHasher::kMinIterations);
    dir.Write("users.txt", QStringLiteral("group admins read,write,admin\nuser root admins %1\n").arg(hash).toUtf8());
    ASSERT_TRUE(runtime.Start({"--users", dir.File("users.txt")}));
    ASSERT_EQ(ConnectAs(u"root", u"pw-root", f.host.handle), S_OK);
    ActivateConnection(f.host.handle);
}

void WatchRuntimeFixture::TearDown()
{
    CloseConnection(f.host.handle);
    ToolkitShutdown();
}

HRESULT WatchRuntimeFixture::ConnectAs(const char16_t* user, const char16_t* password, VtHandle& handle)
{
    LogOn(user, password, 1);
    return tk::Connect(runtime.Port(), handle);
}
