#include "platform/FileStore.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(FileStore, ReadingTakesWhatTheFileHoldsWithinTheAllowance)
{
    TempDir dir;
    dir.Write("small.ini", "[S]\r\nk=v\r\n");
    QByteArray out;
    // A large allowance is not reserved for a small file.
    ASSERT_TRUE(FileStore::ReadAll(dir.File("small.ini"), qint64(64) << 20, out));
    EXPECT_EQ(out, QByteArray("[S]\r\nk=v\r\n"));
    EXPECT_LT(out.capacity(), 1024 * 1024);

    const QByteArray big(200 * 1024, 'x');
    dir.Write("big.dat", big);
    ASSERT_TRUE(FileStore::ReadAll(dir.File("big.dat"), big.size(), out));
    EXPECT_EQ(out, big);
    EXPECT_FALSE(FileStore::ReadAll(dir.File("big.dat"), big.size() - 1, out));
    EXPECT_TRUE(out.isEmpty());
    EXPECT_FALSE(FileStore::ReadAll(dir.File("none.dat"), 100, out));
}

} // namespace
