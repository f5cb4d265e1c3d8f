#pragma once

#include "toolkit/protocol/RuntimeValue.h"

#include <QString>

#include <vector>

class UserDatabase;

// The functions expressions may call: arithmetic and text helpers, and the
// administration functions that change the user database (admin callers only).
class RuntimeFunctions
{
public:
    struct Context
    {
        UserDatabase* users = nullptr;
        int rights = 0;
    };

    static int Find(const QString& name);
    static QString Name(int function);
    static int MinArgs(int function);
    static int MaxArgs(int function);
    static bool Call(int function, const std::vector<RuntimeValue>& args, Context& context, RuntimeValue& out,
                     QString& error);

    static constexpr int kMaxArgs = 64;
};
