// Plant and users files, password hashes, value conversion, the simulation.
#include "runtimed/DemoPlant.h"
#include "runtimed/PasswordHasher.h"
#include "runtimed/PlantLoader.h"
#include "runtimed/Simulator.h"
#include "runtimed/TagDatabase.h"
#include "runtimed/UserDatabase.h"
#include "runtimed/ValueConverter.h"
#include "tests/common/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <set>

TEST(Plant, DemoPlantHasWhatTheGuideDescribes)
{
    TagDatabase tags;
    QString error;
    ASSERT_TRUE(PlantLoader::LoadText(DemoPlant::Text(), tags, error)) << error.toStdString();
    EXPECT_GE(tags.Count(), 30);
    std::set<RuntimeValue::Type> types;
    std::set<SimulationKind> simulations;
    std::set<std::uint16_t> qualities;
    int writable = 0;
    for (const Tag& t : tags.Tags()) {
        types.insert(t.type);
        simulations.insert(t.simulation);
        qualities.insert(t.quality);
        writable += t.writable;
    }
    EXPECT_EQ(types.size(), 4u);
    EXPECT_EQ(simulations.size(), 6u); // five kinds and none
    EXPECT_EQ(qualities, (std::set<std::uint16_t>{0, 64, 128, 192}));
    EXPECT_GT(writable, 5);
}

TEST(Plant, NamesAreFoundInAnyLetterCaseAndUniqueWithoutRegardToIt)
{
    TagDatabase tags;
    Tag level;
    level.name = QStringLiteral("Plant.Tank1.Level");
    ASSERT_TRUE(tags.Add(level));
    Tag other;
    other.name = QStringLiteral("Plant.Tank1.LevelHigh");
    ASSERT_TRUE(tags.Add(other));
    Tag twin;
    twin.name = QStringLiteral("PLANT.tank1.level");
    EXPECT_FALSE(tags.Add(twin)) << "a name that differs only by case";
    for (const char* name : {"Plant.Tank1.Level", "plant.tank1.level", "PLANT.TANK1.LEVEL", "PLANT.tank1.level"})
        EXPECT_EQ(tags.Find(QString::fromLatin1(name)), 0) << name;
    EXPECT_EQ(tags.Find(QStringLiteral("plant.tank1.levelhigh")), 1);
    EXPECT_EQ(tags.Find(QStringLiteral("Plant.Tank1")), -1);
    EXPECT_EQ(tags.Find(QString()), -1);
}

TEST(Plant, FileErrorsNameTheLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"A int rw 1\nA real rw 2\n", "line 2: tag 'A' is declared twice"},
        {"A int rw 1\na int rw 1\n", "line 2: tag 'a' is declared twice"},
        {"A decimal rw 1\n", "line 1: unknown type 'decimal'"},
        {"A int rx 1\n", "line 1: access must be ro or rw"},
        {"A int rw x\n", "line 1: 'x' is not a valid int"},
        {"A string ro \"open\n", "line 1: unterminated quote"},
        {"A string ro x sim=ramp\n", "line 1: a string tag cannot be simulated"},
        {"A real ro 0 sim=ramp min=5 max=5\n", "line 1: min must be less than max"},
        {"A real ro 0 quality=70000\n", "line 1: quality must be an integer from 0 to 65535"},
        {"A real ro 0 colour=red\n", "line 1: 'red' is not a number"},
        {"A.b. int rw 1\n", "line 1: 'A.b.' is not a valid tag name"},
        {"# only a comment\n", "the plant has no tags"},
    };
    for (const auto& [text, message] : cases) {
        TagDatabase tags;
        QString error;
        EXPECT_FALSE(PlantLoader::LoadText(text, tags, error)) << text;
        EXPECT_EQ(error.toStdString(), message);
    }
    // Windows line ends and a byte-order mark read the same.
    TagDatabase tags;
    QString error;
    EXPECT_TRUE(
        PlantLoader::LoadText(QStringLiteral("\uFEFFA int rw 1\r\nB string rw \"x y\" # note\r\n"), tags, error));
    EXPECT_EQ(tags.Get(tags.Find("b"))->value.AsString(), "x y");
}

TEST(Values, ConversionRefusesWhatDoesNotFit)
{
    using T = RuntimeValue::Type;
    RuntimeValue v;
    EXPECT_TRUE(ValueConverter::FromText(" -12 ", T::Int, v));
    EXPECT_EQ(v.AsInt(), -12);
    EXPECT_TRUE(ValueConverter::FromText("2.5", T::Int, v));
    EXPECT_EQ(v.AsInt(), 3);
    EXPECT_FALSE(ValueConverter::FromText("9.3e18", T::Int, v));
    EXPECT_FALSE(ValueConverter::FromText("nan", T::Real, v));
    EXPECT_FALSE(ValueConverter::FromText("inf", T::Real, v));
    EXPECT_TRUE(ValueConverter::FromText("OFF", T::Bool, v));
    EXPECT_FALSE(v.AsBool());
    EXPECT_TRUE(ValueConverter::FromText("-3", T::Bool, v));
    EXPECT_TRUE(v.AsBool());
    EXPECT_FALSE(ValueConverter::FromText("maybe", T::Bool, v));
    EXPECT_FALSE(ValueConverter::FromText(QString(1025, 'x'), T::String, v));
    EXPECT_TRUE(ValueConverter::Convert(RuntimeValue::FromInt(5), T::String, v));
    EXPECT_EQ(v.AsString(), "5");
}

TEST(Simulation, SignalsFollowTheirShape)
{
    TagDatabase tags;
    QString error;
    ASSERT_TRUE(PlantLoader::LoadText("R real ro 0 sim=ramp min=0 max=10 period=10\n"
                                      "S bool ro 0 sim=square period=2\n"
                                      "C int ro 8 sim=counter min=0 max=9\n"
                                      "W real ro 5 sim=random min=0 max=10\n"
                                      "F int rw 3\n",
                                      tags, error));
    Simulator sim(tags);
    sim.Step(2.5);
    EXPECT_DOUBLE_EQ(tags.Get(0)->value.AsReal(), 2.5);
    EXPECT_FALSE(tags.Get(1)->value.AsBool()); // first half of its period
    EXPECT_EQ(tags.Get(2)->value.AsInt(), 9);
    sim.Step(3.5);
    EXPECT_TRUE(tags.Get(1)->value.AsBool());
    EXPECT_EQ(tags.Get(2)->value.AsInt(), 0); // wraps at max
    for (int i = 0; i < 200; ++i)
        sim.Step(i);
    EXPECT_GE(tags.Get(3)->value.AsReal(), 0.0);
    EXPECT_LE(tags.Get(3)->value.AsReal(), 10.0);
    EXPECT_EQ(tags.Get(4)->value.AsInt(), 3);
}

TEST(Passwords, HashesAreSaltedAndVerified)
{
    const QString a = PasswordHasher::Hash("secret", PasswordHasher::kMinIterations);
    const QString b = PasswordHasher::Hash("secret", PasswordHasher::kMinIterations);
    EXPECT_NE(a, b);
    EXPECT_FALSE(a.contains("secret"));
    EXPECT_TRUE(PasswordHasher::Verify("secret", a));
    EXPECT_FALSE(PasswordHasher::Verify("Secret", a));
    EXPECT_FALSE(PasswordHasher::Verify("secret", "secret"));
    EXPECT_FALSE(PasswordHasher::Verify("secret", a.section('$', 0, 2) + "$!!!"));
    EXPECT_FALSE(PasswordHasher::Verify("secret", "pbkdf2-sha256$1$" + a.section('$', 2))); // too few rounds
}

TEST(Users, FileRightsBlockingAndWriteBack)
{
    TempDir dir;
    const QString hash = PasswordHasher::Hash("pw", PasswordHasher::kMinIterations);
    dir.Write("users.txt", ("group Ops read,write\ngroup view read\nuser ann Ops " + hash + "\nuser ben view,Ops " +
                            hash + " blocked\n")
                               .toUtf8());
    UserDatabase users;
    QString error;
    ASSERT_TRUE(users.LoadFile(dir.File("users.txt"), error)) << error.toStdString();
    EXPECT_TRUE(users.LoginRequired());
    int rights = 0;
    EXPECT_TRUE(users.Authenticate("ANN", "pw", rights));
    EXPECT_EQ(rights, UserDatabase::Read | UserDatabase::Write);
    EXPECT_FALSE(users.Authenticate("ben", "pw", rights));
    EXPECT_FALSE(users.Authenticate("ann", "PW", rights));

    EXPECT_EQ(users.SetBlocked("ben", false), "");
    UserDatabase reread;
    ASSERT_TRUE(reread.LoadFile(dir.File("users.txt"), error));
    EXPECT_TRUE(reread.Authenticate("ben", "pw", rights));

    // A users file that cannot be written back leaves memory as it was.
    QFile::remove(dir.File("users.txt"));
    QDir().mkdir(dir.File("users.txt"));
    EXPECT_NE(users.RemoveUser("ann"), "");
    EXPECT_TRUE(users.HasUser("ann"));

    for (const char* bad : {"group g read,fly\n", "user u nogroup pbkdf2-sha256$x\n", "user u - clearpassword\n",
                            "group g read\ngroup G write\n", "member x\n"}) {
        UserDatabase u;
        EXPECT_FALSE(u.LoadText(bad, error)) << bad;
    }
}
