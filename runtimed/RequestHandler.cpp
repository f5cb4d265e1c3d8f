#include "RequestHandler.h"

#include "ExpressionCompiler.h"
#include "ExpressionEvaluator.h"
#include "PasswordHasher.h"
#include "RuntimeLog.h"
#include "TagDatabase.h"
#include "UserDatabase.h"
#include "toolkit/protocol/RuntimeResult.h"
#include "toolkit/protocol/ScramCrypto.h"
#include "toolkit/protocol/ScramServer.h"
#include "toolkit/protocol/TagEntry.h"
#include "toolkit/protocol/WireReader.h"
#include "toolkit/protocol/WireWriter.h"

using vtproto::Request;
using vtproto::Status;

namespace {

// An unknown or blocked user gets an exchange that looks like any other and
// fails at the proof: the answer must not tell which names exist. The salt of
// an unknown name stays the same for the life of the runtime.
ScramServer::Verifier Decoy(const QString& user, const QByteArray& salt, int iterations)
{
    static const QByteArray kSecret = ScramCrypto::RandomBytes(32);
    return {salt.isEmpty() ? ScramCrypto::Hmac(kSecret, user.toLower().toUtf8()).left(16) : salt, iterations,
            ScramCrypto::RandomBytes(ScramCrypto::kHashBytes), ScramCrypto::RandomBytes(ScramCrypto::kHashBytes)};
}

ScramServer::Verifier VerifierFor(const UserDatabase& users, const QString& user)
{
    UserDatabase::LoginRecord record;
    QByteArray salt;
    QByteArray salted;
    int iterations = PasswordHasher::kDefaultIterations;
    if (!users.FindLogin(user, record) || !PasswordHasher::Parse(record.hash, salt, iterations, salted))
        return Decoy(user, QByteArray(), PasswordHasher::kDefaultIterations);
    if (record.blocked)
        return Decoy(user, salt, iterations);
    return ScramServer::FromSaltedPassword(salted, salt, iterations);
}

} // namespace

RequestHandler::RequestHandler(TagDatabase& tags, UserDatabase& users, std::uint32_t keepAliveMs,
                               const QByteArray& channelBinding)
    : m_tags(tags)
    , m_users(users)
    , m_keepAliveMs(keepAliveMs)
    , m_channelBinding(channelBinding)
{
    m_context.users = &users;
}

RequestHandler::~RequestHandler() = default;

QByteArray RequestHandler::Handle(const QByteArray& payload, bool& close)
{
    close = false;
    m_deferred = false;
    WireReader in(payload);
    const auto type = static_cast<Request>(in.U8());
    const std::uint32_t sequence = in.U32();
    if (!in.Ok() || (m_state == State::AwaitHello && type != Request::Hello)) {
        qCWarning(lcRuntime, "closing a session: %s",
                  in.Ok() ? "a request before the greeting" : "a request too short");
        close = true;
        return {};
    }
    WireWriter body;
    Status status = Dispatch(type, sequence, in, body, close);
    if (m_deferred)
        return {};
    // A request with bytes left over is as malformed as a short one.
    if (status == Status::Ok && !in.Complete()) {
        status = Status::BadRequest;
        body = WireWriter();
    }
    // Only numbers go to the log: the client's bytes could forge lines.
    if (status == Status::BadRequest)
        qCWarning(lcRuntime, "request %u of type %u is malformed and refused", sequence, static_cast<unsigned>(type));
    return Reply(type, sequence, status,
                 status == Status::Ok || type == Request::Hello || type == Request::Compile ? body.Payload()
                                                                                            : QByteArray());
}

void RequestHandler::ReplyLater(QObject* owner, std::function<void(const QByteArray&)> send)
{
    m_owner = owner;
    m_sendLater = std::move(send);
}

QByteArray RequestHandler::Reply(Request type, std::uint32_t sequence, Status status, const QByteArray& body)
{
    WireWriter reply;
    reply.U8(static_cast<std::uint8_t>(type) | vtproto::kReplyBit);
    reply.U32(sequence);
    reply.U8(static_cast<std::uint8_t>(status));
    return reply.Payload() + body;
}

Status RequestHandler::Dispatch(Request type, std::uint32_t sequence, WireReader& in, WireWriter& out, bool& close)
{
    if (type == Request::Hello)
        return Hello(in, out, close);
    if (type == Request::Ping)
        return Status::Ok;
    if (type == Request::Login)
        return Login(in, out);
    if (type == Request::LoginProof) {
        const Status s = LoginProof(in, out);
        close = m_loginFailures >= kMaxLoginFailures;
        return s;
    }
    if (m_state != State::Ready)
        return Status::NotLoggedIn;
    switch (type) {
    case Request::Compile: return Compile(in, out);
    case Request::Evaluate: return Evaluate(in, out);
    case Request::Resolve: return Resolve(in, out);
    case Request::Read: return Read(in, out);
    case Request::Write: return Write(in, sequence);
    case Request::Browse: return Browse(in, out);
    case Request::EnterRows: return EnterRows(in, out);
    default: return Status::BadRequest;
    }
}

Status RequestHandler::Hello(WireReader& in, WireWriter& out, bool& close)
{
    const std::uint32_t magic = in.U32();
    const std::uint16_t version = in.U16();
    out.U16(vtproto::kVersion);
    out.U8(m_users.LoginRequired() ? 1 : 0);
    out.U32(m_keepAliveMs);
    if (!in.Complete() || magic != vtproto::kMagic || m_state != State::AwaitHello) {
        close = true;
        return Status::BadRequest;
    }
    if (version != vtproto::kVersion) {
        close = true;
        return Status::UnsupportedVersion;
    }
    if (m_users.LoginRequired()) {
        m_state = State::AwaitLogin;
    } else {
        m_state = State::Ready;
        m_context.rights = UserDatabase::Read | UserDatabase::Write;
    }
    return Status::Ok;
}

// SCRAM's first round: the client's name and nonce; the answer carries salt,
// iteration count and the combined nonce.
Status RequestHandler::Login(WireReader& in, WireWriter& out)
{
    const QByteArray clientFirst = in.Str().toUtf8();
    m_scram.reset();
    if (!in.Complete() || !m_users.LoginRequired() || m_state != State::AwaitLogin)
        return Status::BadRequest;
    auto scram = std::make_unique<ScramServer>(m_channelBinding);
    if (!scram->ReadClientFirst(clientFirst, m_loginUser))
        return Status::BadRequest;
    out.Str(QString::fromLatin1(scram->ServerFirst(VerifierFor(m_users, m_loginUser))));
    m_scram = std::move(scram);
    return Status::Ok;
}

// The second round: the client's proof; the answer carries the server's.
Status RequestHandler::LoginProof(WireReader& in, WireWriter& out)
{
    const QByteArray clientFinal = in.Str().toUtf8();
    const std::unique_ptr<ScramServer> scram = std::move(m_scram);
    if (!in.Complete() || !scram)
        return Status::BadRequest;
    QByteArray serverFinal;
    const ScramServer::Outcome outcome = scram->ReadClientFinal(clientFinal, serverFinal);
    if (outcome == ScramServer::Outcome::Malformed)
        return Status::BadRequest;
    UserDatabase::LoginRecord record;
    if (outcome != ScramServer::Outcome::Accepted || !m_users.FindLogin(m_loginUser, record) || record.blocked) {
        ++m_loginFailures;
        return Status::BadCredentials;
    }
    if (!(record.rights & UserDatabase::Read))
        return Status::NoReadRight;
    m_state = State::Ready;
    m_context.rights = record.rights;
    out.Str(QString::fromLatin1(serverFinal));
    return Status::Ok;
}

Status RequestHandler::Compile(WireReader& in, WireWriter& out)
{
    const QString text = in.Str();
    Program program;
    QString error;
    if (!in.Complete())
        return Status::BadRequest;
    if (ExpressionCompiler(m_tags).Compile(text, program, error))
        return Status::Ok;
    out.Str(error);
    return Status::SyntaxError;
}

Status RequestHandler::Evaluate(WireReader& in, WireWriter& out)
{
    const std::uint32_t count = in.U32();
    if (count > vtproto::kMaxBatch)
        return Status::BadRequest;
    out.U32(count);
    ExpressionCompiler compiler(m_tags);
    ExpressionEvaluator evaluator(m_tags, m_context);
    for (std::uint32_t i = 0; i < count && in.Ok(); ++i) {
        Program program;
        QString error;
        const QString text = in.Str();
        const RuntimeResult r = compiler.Compile(text, program, error)
                                    ? evaluator.Evaluate(program)
                                    : RuntimeResult::Failure(Status::SyntaxError, error);
        r.Encode(out);
    }
    return Status::Ok;
}

Status RequestHandler::Resolve(WireReader& in, WireWriter& out)
{
    const int id = m_tags.Find(in.Str().trimmed());
    const Tag* tag = m_tags.Get(id);
    if (!tag)
        return Status::UnknownTag;
    out.U32(static_cast<std::uint32_t>(id));
    out.U8(static_cast<std::uint8_t>(tag->type));
    out.U8(tag->writable ? 1 : 0);
    return Status::Ok;
}

Status RequestHandler::Read(WireReader& in, WireWriter& out)
{
    const Tag* tag = m_tags.Get(static_cast<int>(in.U32()));
    if (!tag)
        return Status::UnknownTag;
    RuntimeResult r;
    r.value = tag->value;
    r.quality = tag->quality;
    r.timeStamp = tag->timeStamp;
    r.Encode(out);
    return Status::Ok;
}

Status RequestHandler::Write(WireReader& in, std::uint32_t sequence)
{
    const std::uint32_t id = in.U32();
    RuntimeValue value;
    if (!RuntimeValue::Decode(in, value) || !in.Complete())
        return Status::BadRequest;
    if (!(m_context.rights & UserDatabase::Write))
        return Status::NoWriteRight;
    // Without a session to answer later (a handler on its own) a device write
    // is refused rather than left unanswered.
    if (!m_sendLater && m_tags.DeviceOf(static_cast<int>(id)))
        return Status::DeviceError;
    const std::optional<Status> now =
        m_tags.Write(static_cast<int>(id), value, [owner = m_owner, send = m_sendLater, sequence](Status status) {
            if (owner)
                send(Reply(Request::Write, sequence, status, {}));
        });
    m_deferred = !now;
    return now.value_or(Status::Ok);
}

Status RequestHandler::Browse(WireReader& in, WireWriter& out)
{
    const std::uint32_t first = in.U32();
    const std::uint32_t limit = in.U32();
    if (!in.Complete())
        return Status::BadRequest;
    const auto total = static_cast<std::uint32_t>(m_tags.Count());
    WireWriter page;
    std::uint32_t count = 0;
    for (std::uint32_t id = first; id < total && count < limit; ++id) {
        if (static_cast<std::uint32_t>(page.Payload().size()) >= vtproto::kMaxBrowsePageBytes)
            break;
        const Tag* tag = m_tags.Get(static_cast<int>(id));
        const bool longText = tag->value.GetType() == RuntimeValue::Type::String &&
                              tag->value.AsString().size() > vtproto::kMaxBrowseValueChars;
        TagEntry{tag->name, tag->type, tag->writable, tag->quality,
                 longText ? RuntimeValue::FromString(tag->value.AsString().left(vtproto::kMaxBrowseValueChars))
                          : tag->value}
            .Encode(page);
        ++count;
    }
    out.U32(total);
    out.U32(count);
    out.Raw(page.Payload());
    return Status::Ok;
}

// Rows in order, each as its single requests would have done it, so that a
// row sees the writes of the rows before it. The whole request is read before
// anything is written: a malformed one changes nothing.
Status RequestHandler::EnterRows(WireReader& in, WireWriter& out)
{
    const QString invalid = in.Str();
    const std::uint32_t count = in.U32();
    if (!in.Ok() || count > vtproto::kMaxBatch)
        return Status::BadRequest;
    std::vector<RowEntry> rows;
    rows.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        RowEntry row;
        if (!RowEntry::Decode(in, row))
            return Status::BadRequest;
        rows.push_back(std::move(row));
    }
    if (!in.Complete())
        return Status::BadRequest;
    WireWriter answers;
    std::uint32_t answered = 0;
    for (const RowEntry& row : rows) {
        // A device write is answered later, by the device: the client sends
        // that row on its own.
        if (answers.Payload().size() >= vtproto::kMaxEnterReplyBytes ||
            ((row.steps & RowEntry::Write) && m_tags.DeviceOf(m_tags.Find(row.tag.trimmed()))))
            break;
        EnterRow(row, invalid).Encode(answers, row.steps);
        ++answered;
    }
    out.U32(answered);
    out.Raw(answers.Payload());
    return Status::Ok;
}

RowAnswer RequestHandler::EnterRow(const RowEntry& row, const QString& invalid)
{
    RowAnswer answer;
    if (row.steps & RowEntry::Evaluate) {
        Program program;
        QString error;
        answer.compiled = ExpressionCompiler(m_tags).Compile(row.expression, program, error);
        if (answer.compiled)
            answer.result = ExpressionEvaluator(m_tags, m_context).Evaluate(program);
        answer.resolved = m_tags.Get(m_tags.Find(row.expression.trimmed())) != nullptr;
    }
    if (!(row.steps & RowEntry::Write))
        return answer;
    const int id = m_tags.Find(row.tag.trimmed());
    if (!m_tags.Get(id))
        return answer;
    if ((row.steps & RowEntry::Evaluate) &&
        RowAnswer::ShownText(answer.compiled, answer.result, invalid) == row.typed) {
        answer.written = RowAnswer::Written::Unchanged;
        return answer;
    }
    if (m_context.rights & UserDatabase::Write)
        m_tags.Write(id, RuntimeValue::FromString(row.value), [](Status) {});
    const Tag* tag = m_tags.Get(id);
    answer.written = RowAnswer::Written::ReadBack;
    answer.readBack.value = tag->value;
    answer.readBack.quality = tag->quality;
    answer.readBack.timeStamp = tag->timeStamp;
    return answer;
}
