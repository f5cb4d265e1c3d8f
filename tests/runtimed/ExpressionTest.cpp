// The expression engine: precedence, types, errors, quality, functions.
#include "runtimed/ExpressionCompiler.h"
#include "runtimed/ExpressionEvaluator.h"
#include "runtimed/PasswordHasher.h"
#include "runtimed/PlantLoader.h"
#include "runtimed/TagDatabase.h"
#include "runtimed/UserDatabase.h"

#include <gtest/gtest.h>

namespace {

class Expressions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(
            PlantLoader::LoadText("A.Int int rw 6\nA.Real real rw 2.5\nA.Text string rw \"hi there\"\n"
                                  "A.Flag bool rw 1\nA.Shaky real ro 1 quality=64\nA.Gone int ro 0 quality=128\n",
                                  m_tags, error))
            << error.toStdString();
    }

    // The value text, or "!" and the error.
    QString Eval(const QString& text, std::uint16_t* quality = nullptr)
    {
        Program program;
        QString error;
        if (!ExpressionCompiler(m_tags).Compile(text, program, error))
            return "!" + error;
        const RuntimeResult r = ExpressionEvaluator(m_tags, m_context).Evaluate(program);
        if (quality)
            *quality = r.quality;
        return r.IsOk() ? r.value.ToText() : "!" + r.error;
    }

    TagDatabase m_tags;
    RuntimeFunctions::Context m_context;
};

} // namespace

TEST_F(Expressions, PrecedenceAndAssociativity)
{
    EXPECT_EQ(Eval("1 + 2 * 3"), "7");
    EXPECT_EQ(Eval("(1 + 2) * 3"), "9");
    EXPECT_EQ(Eval("2 ^ 3 ^ 2"), "512");
    EXPECT_EQ(Eval("-2 ^ 2"), "-4");
    EXPECT_EQ(Eval("2 ^ -1"), "0.5");
    EXPECT_EQ(Eval("10 - 4 - 3"), "3");
    EXPECT_EQ(Eval("7 / 2"), "3.5");
    EXPECT_EQ(Eval("7 % 3 + 7 MOD 4"), "4");
    EXPECT_EQ(Eval("1 + 1 = 2 AND 3 > 2 OR 0"), "1");
    EXPECT_EQ(Eval("NOT 1 = 2"), "1");
    EXPECT_EQ(Eval("!TRUE || false && true"), "0");
    EXPECT_EQ(Eval("1 <> 2"), "1");
    EXPECT_EQ(Eval("1e3 + 0.5"), "1000.5");
}

TEST_F(Expressions, TypesTagsAndText)
{
    EXPECT_EQ(Eval("a.int * A.REAL"), "15");
    EXPECT_EQ(Eval("A.Flag + 1"), "2");
    EXPECT_EQ(Eval("A.Text & \"!\""), "hi there!");
    EXPECT_EQ(Eval("\"n=\" + A.Int"), "n=6");
    EXPECT_EQ(Eval("\"abc\" < \"abd\""), "1");
    EXPECT_EQ(Eval("\"a + b\""), "a + b");                              // operators inside quotes are text
    EXPECT_EQ(Eval("9223372036854775807 + 1"), "9.22337203685478e+18"); // overflow leaves integers
    EXPECT_EQ(Eval("-9223372036854775807 - 1"), "-9223372036854775808");
}

TEST_F(Expressions, Functions)
{
    EXPECT_EQ(Eval("ABS(-3) + ABS(2.5)"), "5.5");
    EXPECT_EQ(Eval("MIN(4, 2, 8) & MAX(4, 2, 8)"), "28");
    EXPECT_EQ(Eval("ROUND(2.345, 2)"), "2.35");
    EXPECT_EQ(Eval("SQRT(16)"), "4");
    EXPECT_EQ(Eval("IF(A.Int > 5, \"big\", \"small\")"), "big");
    EXPECT_EQ(Eval("UPPER(LEFT(A.Text, 2)) & RIGHT(A.Text, 5) & MID(A.Text, 4, 2)"), "HIthereth");
    EXPECT_EQ(Eval("LEN(TRIM(\"  x \"))"), "1");
    EXPECT_EQ(Eval("NUM(\"12\") + 1"), "13");
    EXPECT_EQ(Eval("lower(STR(12))"), "12");
}

TEST_F(Expressions, ErrorsAreReportedNotGuessed)
{
    for (const char* bad : {"", "1 +", "(1", "1)", "A.Nothing", "A.", "Foo(1)", "ABS()", "ABS(1, 2)", "\"open", "12abc",
                            "1 2", "A.Int A.Int", "#", "The expression specified contains a function not allowed."})
        EXPECT_TRUE(Eval(bad).startsWith("!")) << bad;
    EXPECT_EQ(Eval("1 / 0"), "!division by zero");
    EXPECT_EQ(Eval("5 % 0"), "!division by zero");
    EXPECT_EQ(Eval("SQRT(-1)"), "!the result is not a finite number");
    EXPECT_EQ(Eval("10 ^ 400"), "!the result is not a finite number");
    EXPECT_EQ(Eval("\"a\" = 1"), "!a text cannot be compared with a number");
    EXPECT_EQ(Eval("\"a\" AND 1"), "!a logical operator needs numbers or Booleans");
    EXPECT_EQ(Eval("NUM(\"x\")"), "!'x' is not a number");

    // Deep nesting is refused rather than allowed to exhaust the stack.
    EXPECT_EQ(Eval(QString(150, '(') + "1" + QString(150, ')')), "1");
    EXPECT_TRUE(Eval(QString(5000, '(') + "1" + QString(5000, ')')).contains("nested too deeply"));
    EXPECT_TRUE(Eval(QString(5000, '-') + "1").contains("nested too deeply"));
}

TEST_F(Expressions, QualityIsTheWorstOfTheTagsRead)
{
    std::uint16_t quality = 0;
    Eval("1 + 1", &quality);
    EXPECT_EQ(quality, 192);
    Eval("A.Int + A.Shaky", &quality);
    EXPECT_EQ(quality, 64);
    Eval("A.Shaky + A.Gone", &quality);
    EXPECT_EQ(quality, 64);
}

TEST_F(Expressions, AdministrationNeedsAdminRightAndUserDatabase)
{
    EXPECT_TRUE(Eval("CreateUser(\"x\", \"y\", \"\")").startsWith("!access denied"));

    UserDatabase users;
    QString error;
    ASSERT_TRUE(users.LoadText("group ops read,write\n", error));
    m_context.users = &users;
    m_context.rights = UserDatabase::Read | UserDatabase::Write;
    EXPECT_TRUE(Eval("CreateUser(\"x\", \"y\", \"ops\")").startsWith("!access denied"));
    EXPECT_FALSE(users.HasUser("x"));

    m_context.rights |= UserDatabase::Admin;
    EXPECT_EQ(Eval("CreateUser(\"x\", \"y\", \"ops\")"), "1");
    EXPECT_TRUE(users.HasUser("X"));
    EXPECT_EQ(Eval("CreateUser(\"x\", \"y\", \"ops\")"), "!user 'x' exists");
    EXPECT_EQ(Eval("CreateUser(\"z\", \"y\", \"nogroup\")"), "!unknown group 'nogroup'");
    EXPECT_EQ(Eval("CreateUser(\"bad name\", \"y\", \"ops\")"), "!'bad name' is not a valid user name");
    EXPECT_TRUE(Eval("RunVBScript(\"x\")").contains("not supported"));
}
