#pragma once

#include <QString>

#include <cstddef>

// The program kept in the caller's compiled-expression buffer: a marker, the
// length, and the expression text the runtime accepted. The runtime compiles
// it again on every evaluation, so a program is never out of date with the
// plant, and no client-made code ever runs there.
class CompiledExpression
{
public:
    // False when the buffer is missing or the program does not fit.
    static bool Store(const QString& text, void* buffer, std::size_t size);
    // False when the buffer holds no program stored by Store.
    static bool Load(const void* buffer, std::size_t size, QString& text);
};
