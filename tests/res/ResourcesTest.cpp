#include "res/Resources.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

namespace {

QString GermanLibrary()
{
    return qEnvironmentVariable("QUILLON_BIN_DIR") + QStringLiteral("/de/QuillonExt-mui.dll");
}

TEST(Resources, TheProgramsOwnStringsAreEnglish)
{
    HMODULE exe = GetExecutableModule();
    EXPECT_EQ(LoadResString(exe, AFX_IDS_APP_TITLE), "Quillon");
    EXPECT_EQ(LoadResString(exe, IDS_HEADER_TAG), "Tag/Expression");
    EXPECT_EQ(LoadResString(exe, IDS_CONNECT_ERROR),
              "Error connecting to '%s' (%d) .\nPlease make sure that '%s' is running on the remote station.");
    EXPECT_EQ(LoadResString(exe, 4242), "");
    EXPECT_EQ(LoadResString(nullptr, IDS_QUALITY_NA), "NA");
}

TEST(Resources, TheGermanLibraryCarriesEveryStringTranslated)
{
    HMODULE german = LoadLibraryW(GermanLibrary());
    ASSERT_NE(german, nullptr) << GermanLibrary().toStdString();
    EXPECT_EQ(LoadResString(german, IDS_HEADER_VALUE), QStringLiteral("Wert"));
    const UINT ids[] = {IDS_ABOUTBOX,           IDS_DISCONNECTED,      IDS_FORBIDDEN_FUNCTION, IDS_ACCESS_DENIED,
                        IDS_ALWAYS_ON_TOP,      IDS_LOCAL_SERVER,      IDS_CONNECT_ERROR,      IDS_INVALID_CREDENTIAL,
                        IDS_INVALID_EXPRESSION, IDS_CLIPBOARD_ERROR,   AFX_IDS_APP_TITLE,      IDS_HEADER_TAG,
                        IDS_HEADER_VALUE,       IDS_HEADER_QUALITY,    IDS_HEADER_CONTINUOUS,  IDS_QUALITY_BAD,
                        IDS_QUALITY_UNCERTAIN,  IDS_QUALITY_GOOD,      IDS_QUALITY_NA,         IDS_QUALITY_INVALID,
                        IDS_TCPIP_SERVER,       IDS_LIST_NOT_LOADED,   IDS_LIST_NOT_A_FILE,    IDS_LIST_TOO_LARGE,
                        IDS_LIST_UNREADABLE,    IDS_TREND_MENU,        IDS_TREND_TITLE,        IDS_TREND_PAUSE,
                        IDS_TREND_RESUME,       IDS_TREND_SAVE_CSV,    IDS_TREND_SAVE_PNG,     IDS_TREND_NO_ROWS,
                        IDS_TREND_TOO_MANY,     IDS_TREND_SAVE_FAILED, IDS_TREND_CSV_FILTER,   IDS_TREND_PNG_FILTER,
                        IDS_TREND_CSV_TIME,     IDS_TREND_CSV_QUALITY, IDS_TREND_TIME_AXIS,    IDS_TLS_UNTRUSTED,
                        IDS_TLS_NAME_MISMATCH,  IDS_TLS_EXPIRED,       IDS_TLS_ABSENT,         IDS_TLS_REQUIRED,
                        IDS_TLS_FAILED,         IDS_SERVER_PROOF,      IDS_TLS_CA_FILE,        IDS_PROGRESS_INSERT,
                        IDS_PROGRESS_PASTE,     IDS_PROGRESS_CANCEL};
    for (UINT id : ids) {
        EXPECT_FALSE(LoadResString(german, id).isEmpty()) << id;
        EXPECT_FALSE(LoadResString(GetExecutableModule(), id).isEmpty()) << id;
    }
    // The connection message keeps its placeholders in the same order.
    const QString message = LoadResString(german, IDS_CONNECT_ERROR);
    EXPECT_LT(message.indexOf("%s"), message.indexOf("%d"));
    EXPECT_LT(message.indexOf("%d"), message.lastIndexOf("%s"));

    // Messages filled in by position keep their placeholders.
    EXPECT_EQ(LoadResString(german, IDS_TREND_TOO_MANY).count(QStringLiteral("%d")), 2);
    EXPECT_EQ(LoadResString(german, IDS_TREND_SAVE_FAILED).count(QStringLiteral("%s")), 1);

    AfxSetResourceHandle(german);
    EXPECT_EQ(LoadResString(IDS_HEADER_TAG), QStringLiteral("Variable/Ausdruck"));
    EXPECT_EQ(LoadResTranslation("TagBrowserDialog", "Browse Tags"), QStringLiteral("Variablen durchsuchen"));
    EXPECT_TRUE(LoadResTranslation("TagBrowserDialog", "no such text").isNull());
    AfxSetResourceHandle(GetExecutableModule());
    EXPECT_EQ(LoadResString(IDS_HEADER_TAG), QStringLiteral("Tag/Expression"));
    EXPECT_TRUE(LoadResTranslation("TagBrowserDialog", "Browse Tags").isNull()) << "English is the source";
    EXPECT_TRUE(FreeLibrary(german));
}

TEST(Resources, ALibraryWithoutTablesFallsBackToTheProgramsOwn)
{
    EXPECT_EQ(LoadLibraryW(QStringLiteral("/nonexistent/x-mui.dll")), nullptr);
    HMODULE other = LoadLibraryW(qEnvironmentVariable("QUILLON_BIN_DIR") + QStringLiteral("/libVantelToolkit.so"));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(LoadResString(other, IDS_HEADER_TAG), "Tag/Expression");
    EXPECT_TRUE(FreeLibrary(other));
}

} // namespace
