#include "platform/FileStore.h"
#include "tests/common/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

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

// A FIFO would hold a plain read until some writer came.
TEST(FileStore, OnlyARegularFileIsRead)
{
    using Status = FileStore::ReadStatus;
    TempDir dir;
    QByteArray out = "stale";
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.File("fifo")).constData(), 0600), 0);
    EXPECT_EQ(FileStore::Read(dir.File("fifo"), 100, out), Status::NotRegular);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(FileStore::Read("/dev/zero", 100, out), Status::NotRegular);
    EXPECT_EQ(FileStore::Read(dir.MakeDir("folder"), 100, out), Status::NotRegular);
    EXPECT_EQ(FileStore::Read(dir.File("none"), 100, out), Status::Missing);
    EXPECT_EQ(FileStore::Read(dir.File("none/below"), 100, out), Status::Missing);
    EXPECT_EQ(FileStore::Read(QString(), 100, out), Status::Missing);

    dir.Write("ten", "0123456789");
    EXPECT_EQ(FileStore::Read(dir.File("ten"), 10, out), Status::Read);
    EXPECT_EQ(out, "0123456789");
    EXPECT_EQ(FileStore::Read(dir.File("ten"), 9, out), Status::TooLarge);
    EXPECT_TRUE(out.isEmpty());
    ASSERT_TRUE(QFile::link(dir.File("ten"), dir.File("link")));
    EXPECT_EQ(FileStore::Read(dir.File("link"), 10, out), Status::Read) << "a link to a file reads the file";
}

} // namespace
