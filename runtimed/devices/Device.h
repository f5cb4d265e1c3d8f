#pragma once

#include "toolkit/protocol/Protocol.h"
#include "toolkit/protocol/RuntimeValue.h"

#include <QString>

#include <functional>
#include <optional>

// A field device behind some of the plant's tags. It reads on its own poller
// and puts what it reads into the tag store on the server's thread; nothing it
// does blocks that thread.
class Device
{
public:
    using WriteDone = std::function<void(vtproto::Status)>;

    virtual ~Device() = default;

    virtual const QString& Name() const = 0;
    // Starts polling; the tags bound to the device are in the store by then.
    virtual void Start() = 0;
    // Sends a tag's value, already in the tag's type. A refusal known at once
    // is returned; otherwise nothing, and `done` runs later on the server's
    // thread with the device's answer.
    virtual std::optional<vtproto::Status> Write(int tagId, const RuntimeValue& value, WriteDone done) = 0;
};
