#pragma once

#include "RuntimeCalls.h"

#include <QString>

#include <memory>
#include <unordered_map>
#include <vector>

// The runtime's answers for watch rows about to be committed, asked for in
// one request. Each row's commit takes its answer instead of asking the
// runtime itself; a question other than the one prepared finds no answer and
// goes to the runtime as before, so the outcome never depends on the guess.
class PreparedRows
{
public:
    // What committing a row's Tag and Value fields will ask: an evaluation
    // (empty expression: none) and a write (empty tag: none).
    struct Question
    {
        int row = -1;
        QString expression;
        bool evaluate = false;
        bool write = false;
        QString tag;
        QString value;
        QString typed;
    };

    // Asks the runtime in one request; how many leading questions it answered,
    // or -1 when no such request could be asked (none in the toolkit, no
    // runtime, a runtime without it).
    int Ask(const RuntimeCalls& rt, const std::vector<Question>& questions, const QString& invalidText);

    // The answer for row's evaluation of expression, or its write of value to
    // tag; nullptr when that was not asked. Each answer is taken once.
    const VtRowAnswer* TakeEvaluation(int row, const QString& expression);
    const VtRowAnswer* TakeWrite(int row, const QString& tag, const QString& value);

private:
    struct Entry
    {
        Question question;
        bool evaluationTaken = false;
        bool writeTaken = false;
    };
    Entry* Find(int row);

    std::vector<Entry> m_entries;
    std::unique_ptr<VtRowAnswer[]> m_answers;
    std::unordered_map<int, std::size_t> m_byRow;
};
