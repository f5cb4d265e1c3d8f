#include "PreparedRows.h"

#include "runtime/VtText.h"

#include <algorithm>

int PreparedRows::Ask(const RuntimeCalls& rt, const std::vector<Question>& questions, const QString& invalidText)
{
    m_entries.clear();
    m_byRow.clear();
    if (!rt.EnterRows)
        return -1;
    if (questions.empty())
        return 0;
    std::vector<VtRowEntry> rows;
    rows.reserve(questions.size());
    for (const Question& q : questions) {
        rows.push_back({q.evaluate ? VtText(q.expression) : nullptr, q.write ? VtText(q.tag) : nullptr,
                        q.write ? VtText(q.value) : nullptr, q.write ? VtText(q.typed) : nullptr});
    }
    // Every answer is filled by the toolkit before it is read.
    m_answers = std::make_unique_for_overwrite<VtRowAnswer[]>(questions.size());
    const int answered = rt.EnterRows(rows.data(), static_cast<int>(rows.size()), VtText(invalidText), m_answers.get());
    for (int i = 0; i < std::min(answered, static_cast<int>(questions.size())); ++i) {
        m_byRow.emplace(questions[static_cast<std::size_t>(i)].row, m_entries.size());
        m_entries.push_back({questions[static_cast<std::size_t>(i)]});
    }
    return answered;
}

PreparedRows::Entry* PreparedRows::Find(int row)
{
    const auto it = m_byRow.find(row);
    return it == m_byRow.end() ? nullptr : &m_entries[it->second];
}

const VtRowAnswer* PreparedRows::TakeEvaluation(int row, const QString& expression)
{
    Entry* entry = Find(row);
    if (!entry || entry->evaluationTaken || !entry->question.evaluate || entry->question.expression != expression)
        return nullptr;
    entry->evaluationTaken = true;
    return &m_answers[m_byRow[row]];
}

const VtRowAnswer* PreparedRows::TakeWrite(int row, const QString& tag, const QString& value)
{
    Entry* entry = Find(row);
    if (!entry || entry->writeTaken || !entry->question.write || entry->question.tag != tag ||
        entry->question.value != value)
        return nullptr;
    entry->writeTaken = true;
    return &m_answers[m_byRow[row]];
}
