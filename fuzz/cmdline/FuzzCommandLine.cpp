// The program's command line: the input split at NUL bytes is the argument
// list the shell hands over. Joined and parsed, it must not crash, no value
// may be longer than the command line or keep a double quote, and arguments
// without double quotes must each stay one token.
#include "app/CQuillonExtApp.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

QStringList SplitAtNul(const std::uint8_t* data, std::size_t size)
{
    QStringList arguments;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& argument : bytes.split('\0'))
        arguments << QString::fromUtf8(argument);
    return arguments;
}

// The connection values a parse leaves behind.
QStringList State(const CQuillonExtApp& app)
{
    return {app.m_strDsIp,
            QString::number(app.m_nDsPort),
            app.m_strWtg,
            app.m_strProxyIp,
            QString::number(app.m_nProxyPort),
            app.m_strUserName,
            app.m_strPassword,
            app.m_strTlsCa,
            QString::number(app.m_bTls)};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QStringList arguments = SplitAtNul(data, size);
    const QString commandLine = CQuillonExtApp::JoinArguments(arguments);
    CQuillonExtApp app;
    const QString defaultDsIp = app.m_strDsIp;
    app.ParseCommandLine(commandLine);

    const qsizetype bound = commandLine.size();
    for (const QString* text :
         {&app.m_strDsIp, &app.m_strWtg, &app.m_strProxyIp, &app.m_strUserName, &app.m_strPassword, &app.m_strTlsCa}) {
        Require(text->size() <= std::max(bound, defaultDsIp.size()));
        Require(!text->contains(u'"'));
    }
    // Joining neither merges nor splits quote-free arguments: taken one at a
    // time they leave the same values.
    if (!arguments.join(QString()).contains(u'"')) {
        CQuillonExtApp oneByOne;
        for (const QString& argument : arguments)
            oneByOne.ParseCommandLine(CQuillonExtApp::JoinArguments({argument}));
        Require(State(oneByOne) == State(app));
    }
    return 0;
}
