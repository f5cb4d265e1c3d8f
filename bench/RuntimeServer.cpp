#include "RuntimeServer.h"

#include "toolkit/protocol/Protocol.h"
#include "toolkit/protocol/WireWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QTcpSocket>
#include <QtEndian>

namespace {

constexpr int kWaitMs = 10000;

QString PlantText(int tags)
{
    static const char* const kTypes[] = {"real rw 1.5", "int rw 42", "bool rw 1", "string rw \"Batch 7\""};
    QString text;
    for (int i = 0; i < tags; ++i)
        text += QStringLiteral("%1 %2\n").arg(RuntimeServer::TagName(i), kTypes[i % 4]);
    return text;
}

} // namespace

RuntimeServer::RuntimeServer(int tags, const QString& certificates) : RuntimeServer(PlantText(tags), certificates)
{
}

RuntimeServer::RuntimeServer(const QString& text, const QString& certificates)
{
    const QString plant = m_dir.filePath("plant.txt");
    QFile file(plant);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        return;
    file.close();
    QStringList arguments = {"--port", "0", "--plant", plant};
    if (!certificates.isEmpty())
        arguments << "--tls-cert" << certificates + "/server.pem"
                  << "--tls-key" << certificates + "/server.key";
    m_process.start(QCoreApplication::applicationDirPath() + "/VantelRuntime", arguments);
    if (!m_process.waitForStarted(kWaitMs))
        return;
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(kWaitMs))
            return;
    }
    m_port = static_cast<quint16>(QString::fromUtf8(m_process.readLine()).trimmed().section(':', -1).toUInt());
}

RuntimeServer::~RuntimeServer()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(kWaitMs);
}

QString RuntimeServer::TagName(int i)
{
    return QStringLiteral("Area%1.Unit%2.Tag%3").arg(i / 100).arg(i / 10 % 10).arg(i % 10);
}

bool RuntimeServer::FrameSizes(const QStringList& lines, qint64& requestBytes, qint64& replyBytes) const
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), m_port);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    const auto exchange = [&socket](vtproto::Request type, const WireWriter& body, qint64& sent) {
        WireWriter head;
        head.U8(static_cast<std::uint8_t>(type));
        head.U32(1);
        const QByteArray payload = head.Payload() + body.Payload();
        QByteArray frame(vtproto::kHeaderSize, Qt::Uninitialized);
        qToBigEndian(static_cast<std::uint32_t>(payload.size()), frame.data());
        sent = socket.write(frame + payload);
        while (socket.bytesAvailable() < vtproto::kHeaderSize && socket.waitForReadyRead(kWaitMs)) {}
        const qint64 length = qFromBigEndian<std::uint32_t>(socket.read(vtproto::kHeaderSize).constData());
        qint64 got = 0;
        while (got < length && (socket.bytesAvailable() > 0 || socket.waitForReadyRead(kWaitMs)))
            got += socket.read(length - got).size();
        return vtproto::kHeaderSize + got;
    };
    WireWriter hello;
    hello.U32(vtproto::kMagic);
    hello.U16(vtproto::kVersion);
    qint64 ignored = 0;
    exchange(vtproto::Request::Hello, hello, ignored);
    WireWriter evaluate;
    evaluate.U32(static_cast<std::uint32_t>(lines.size()));
    for (const QString& line : lines)
        evaluate.Str(line);
    replyBytes = exchange(vtproto::Request::Evaluate, evaluate, requestBytes);
    return replyBytes > vtproto::kHeaderSize;
}
