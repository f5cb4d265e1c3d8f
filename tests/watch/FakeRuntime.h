#pragma once

#include "watch/RuntimeCalls.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <vector>

// A deterministic runtime in memory for the watch grid's tests. It compiles a
// tag name, a numeric literal or a sum of those ("A + B"); anything else fails.
// Values are texts; a tag declared integer refuses a text that is no integer.
// The table of Calls() reaches the one live instance (one at a time).
class FakeRuntime
{
public:
    struct Tag
    {
        QString value;
        std::uint16_t quality = 192;
        bool integer = false;
    };
    struct Write
    {
        QString tag;
        QString value;
    };

    FakeRuntime();
    ~FakeRuntime();
    FakeRuntime(const FakeRuntime&) = delete;
    FakeRuntime& operator=(const FakeRuntime&) = delete;

    const RuntimeCalls& Calls() const;

    void AddTag(const QString& name, const QString& value, std::uint16_t quality = 192, bool integer = false);
    Tag& TagNamed(const QString& name);
    bool HasTag(const QString& name) const;

    // How many times an operation of the table ran, by its name.
    int Count(const char* operation) const;
    int TotalCalls() const;
    void ResetCounts();

    bool ready = true;
    bool connectionLost = false;
    // What the tag browser picks; empty means Cancel.
    QString browserPick;
    // Texts given to CompileExpression and to EvaluateTagList, in order.
    QStringList compiled;
    QStringList lists;
    std::vector<Write> writes;

private:
    friend struct FakeCalls;
    // The value and quality of a compiled text; false when it does not compile.
    bool Evaluate(const QString& text, QString* value, std::uint16_t* quality) const;
    void Record(const char* operation);

    std::map<QString, Tag> m_tags;   // by lower-case name
    std::vector<QString> m_tagNames; // by TagRef index
    std::map<QString, int> m_counts;
};
