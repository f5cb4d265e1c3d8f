// The runtime's side of a client's byte stream: length-prefixed frames cut as
// the session cuts them, each handed to a fresh client's request handler over
// the demo plant. Whatever the bytes, nothing may crash, leak or read astray.
#include "runtimed/DemoPlant.h"
#include "runtimed/PlantLoader.h"
#include "runtimed/RequestHandler.h"
#include "runtimed/TagDatabase.h"
#include "runtimed/UserDatabase.h"
#include "toolkit/protocol/Protocol.h"

#include <QtEndian>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A fresh copy of the tags each time: writes of one input must not change
    // the next. (A database owns its devices and is not copied whole; the
    // demo plant has none.)
    static const TagDatabase demo = [] {
        TagDatabase t;
        QString error;
        if (!PlantLoader::LoadText(DemoPlant::Text(), t, error))
            __builtin_trap();
        return t;
    }();
    TagDatabase tags;
    for (int id = 0; id < demo.Count(); ++id)
        tags.Add(*demo.Get(id));
    UserDatabase users;
    RequestHandler handler(tags, users, 2000);
    std::size_t pos = 0;
    while (size - pos >= vtproto::kHeaderSize) {
        const std::uint32_t length = qFromBigEndian<std::uint32_t>(data + pos);
        pos += vtproto::kHeaderSize;
        if (length == 0 || length > vtproto::kMaxPayload || length > size - pos)
            break; // the session closes here, or waits for bytes that never come
        bool close = false;
        handler.Handle(QByteArray(reinterpret_cast<const char*>(data + pos), static_cast<qsizetype>(length)), close);
        pos += length;
        if (close)
            break;
    }
    return 0;
}
