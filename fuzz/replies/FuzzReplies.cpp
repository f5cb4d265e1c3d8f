// The toolkit's side of a runtime's replies: the first byte picks the request
// whose reply the rest is; decoded results then go through the program's
// result record and back to text, as the watch window would use them.
#include "toolkit/ReplyDecoder.h"
#include "toolkit/ResultRecordCodec.h"

#include <cstddef>
#include <cstdint>

namespace {

void Show(const RuntimeResult& result)
{
    ResultRecord record;
    ResultRecordCodec::Store(result, record);
    (void)ResultRecordCodec::Format(record);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const QByteArray body(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));
    switch (data[0] % 6) {
    case 0: {
        ReplyDecoder::Greeting greeting;
        ReplyDecoder::Hello(body, greeting);
        break;
    }
    case 1: {
        std::vector<RuntimeResult> results;
        if (ReplyDecoder::Results(body, data[1], results)) {
            for (const RuntimeResult& r : results)
                Show(r);
        }
        break;
    }
    case 2: {
        RuntimeResult r;
        if (ReplyDecoder::Result(body, r))
            Show(r);
        break;
    }
    case 3: {
        std::uint32_t id = 0;
        ReplyDecoder::Resolved(body, id);
        break;
    }
    case 5: {
        // An EnterRows reply to data[1] rows whose steps cycle through all four.
        std::vector<std::uint8_t> steps(data[1]);
        for (std::size_t i = 0; i < steps.size(); ++i)
            steps[i] = static_cast<std::uint8_t>(i % 4);
        std::vector<RowAnswer> answers;
        if (ReplyDecoder::EnteredRows(body, steps, answers)) {
            for (const RowAnswer& a : answers) {
                Show(a.result);
                Show(a.readBack);
            }
        }
        break;
    }
    default: {
        // Pages after the first: data[1] tags are already listed.
        std::vector<TagEntry> tags(data[1]);
        std::uint32_t total = 0;
        if (ReplyDecoder::TagPage(body, total, tags)) {
            for (const TagEntry& t : tags)
                (void)t.value.ToText();
        }
        break;
    }
    }
    return 0;
}
