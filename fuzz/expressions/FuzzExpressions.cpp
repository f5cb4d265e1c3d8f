// The runtime's expression compiler on any text, over the demo plant; what
// compiles is also run, by a client with read right only, so that the
// administration functions refuse instead of changing anything.
#include "runtimed/DemoPlant.h"
#include "runtimed/ExpressionCompiler.h"
#include "runtimed/ExpressionEvaluator.h"
#include "runtimed/PlantLoader.h"
#include "runtimed/TagDatabase.h"
#include "runtimed/UserDatabase.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TagDatabase* tags = [] {
        auto* t = new TagDatabase;
        QString error;
        if (!PlantLoader::LoadText(DemoPlant::Text(), *t, error))
            __builtin_trap();
        return t;
    }();
    static UserDatabase users;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Program program;
    QString error;
    if (ExpressionCompiler(*tags).Compile(text, program, error)) {
        RuntimeFunctions::Context context;
        context.users = &users;
        context.rights = UserDatabase::Read;
        (void)ExpressionEvaluator(*tags, context).Evaluate(program);
    }
    return 0;
}
