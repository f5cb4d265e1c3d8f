#include "CGridQuillon.h"

#include "CWatchGridHost.h"
#include "WatchLog.h"

#include "cells/CGridCellCheck.h"
#include "platform/CCmdUI.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "runtime/VtText.h"

#include <QStringMatcher>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Capacities in characters, the terminator included.
constexpr int kEnteredTextCapacity = 2048;
constexpr int kValueCellLimit = 1024;
constexpr int kWatchRowHeight = 17;
constexpr UINT kTextFormat = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;

// Names of runtime functions that change the runtime's users or run scripts;
// a watch row must never call them.
constexpr const char* kForbiddenFunctions[] = {
    "SetPassword", "CreateUser", "RemoveUser", "BlockUser", "UnblockUser", "RunVBScript",
};

// A fixed-size, always terminated text buffer for the toolkit.
template <std::size_t N> class TextBuffer
{
public:
    TextBuffer() = default;
    explicit TextBuffer(const QString& text) { Assign(text); }

    void Assign(const QString& text)
    {
        const auto length = std::min<std::size_t>(static_cast<std::size_t>(text.size()), N - 1);
        std::copy_n(VtText(text), length, m_chars.data());
        m_chars[length] = 0;
    }
    VtChar* Data() { return m_chars.data(); }
    const VtChar* Data() const { return m_chars.data(); }
    static constexpr std::size_t Capacity() { return N; }
    // The text up to the terminator; a toolkit that filled the whole buffer
    // without one is cut at the capacity.
    QString Text()
    {
        m_chars[N - 1] = 0;
        return QString::fromUtf16(m_chars.data());
    }

private:
    std::array<VtChar, N> m_chars{};
};

using EnteredText = TextBuffer<kEnteredTextCapacity>;

template <std::size_t N> qsizetype TerminatedLength(const VtChar (&text)[N])
{
    return std::find(text, text + N, VtChar(0)) - text;
}
using ValueText = TextBuffer<kValueTextCapacity>;

// The decimal integer a Value text begins with is zero: white space, an
// optional sign, then digits up to the first other character; no digits is 0.
bool StartsWithZero(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        if (text.at(i) != u'0')
            return false;
    }
    return true;
}

// Names inside string literals are data, not calls: every segment from a
// double quote to the next one goes; an unpaired last quote stays.
QString WithoutQuotedSegments(const QString& text)
{
    QString rest;
    rest.reserve(text.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(u'"', pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'"', open + 1);
        if (close < 0) {
            rest += QStringView(text).mid(pos);
            break;
        }
        rest += QStringView(text).mid(pos, open - pos);
        pos = close + 1;
    }
    return rest;
}

// A row from a list file written elsewhere may hold what no one can type: a
// text too long for the runtime, or a NUL that would end the list text early.
// Sent, it would spoil the records of every row; kept back, it alone is invalid.
bool Sendable(const QString& text)
{
    return text.size() < kEnteredTextCapacity && !text.contains(QChar(0));
}

} // namespace

CGridQuillon::CGridQuillon()
{
    // The product layer turns title tips off; the watch grid shows cut-off values in them.
    EnableTitleTips(TRUE);
    SetGridLineColor(GetDefaultCell(TRUE, FALSE)->GetBackClr());
    SetGridBkColor(RGB(0xFF, 0xFF, 0xFF));
}

CGridQuillon::~CGridQuillon() = default;

int CGridQuillon::InsertWatchRow(int at)
{
    const int row = InsertRow(QString(), at);
    if (row < 0) {
        qCWarning(lcWatch, "InsertWatchRow: row %d is outside the grid", at);
        return -1;
    }
    SetItemFormat(row, ColTag, kTextFormat);
    SetItemText(row, ColTag, QString());
    SetItemTextLimit(row, ColTag, kEnteredTextCapacity);
    SetItemFormat(row, ColValue, kTextFormat);
    SetItemText(row, ColValue, QString());
    SetItemTextLimit(row, ColValue, kValueCellLimit);
    SetItemFormat(row, ColQuality, kTextFormat | DT_CENTER);
    SetItemText(row, ColQuality, QString());
    SetItemState(row, ColQuality, GetItemState(row, ColQuality) | GRIDIS_READONLY);
    SetItemFormat(row, ColContinuous, DT_CENTER);
    SetContinuous(row, FALSE);
    SetRowHeight(row, kWatchRowHeight);
    Refresh();
    return row;
}

void CGridQuillon::KeepEmptyLastRow()
{
    if (GetRowCount() < 2 || !GetItemText(GetRowCount() - 1, ColTag).isEmpty())
        InsertWatchRow(-1);
}

// Below the header the Continuous cell is a check box from the start, rather
// than a plain cell replaced in every new row.
CGridCellBase* CGridQuillon::CreateCell(int row, int col)
{
    if (col == ColContinuous && row > 0 && row >= GetFixedRowCount())
        return CreateCellOfType(row, col, RUNTIME_CLASS(CGridCellCheck));
    return CGridCtrlVantel::CreateCell(row, col);
}

void CGridQuillon::AppendWatchRows(const std::vector<WatchListRow>& rows)
{
    // Drawing and the scroll bars wait for the last row, so that each row
    // costs the same however many came before.
    const BOOL drawing = GetRedraw();
    // Each inserted row clears the focus cell; the user keeps the one he had.
    const CCellID focus = GetFocusCell();
    SetRedraw(FALSE);
    for (const WatchListRow& entry : rows) {
        const int row = GetRowCount() - 1;
        SetItemText(row, ColTag, entry.text);
        SetContinuous(row, entry.continuous ? TRUE : FALSE);
        if (InsertWatchRow(-1) < 0)
            break;
    }
    SetRedraw(drawing, TRUE);
    if (IsValid(focus))
        SetFocusCell(focus);
}

BOOL CGridQuillon::ValidateEdit(int row, int col, const QString& text)
{
    if (!IsValid(row, col)) {
        qCWarning(lcWatch, "ValidateEdit: cell (%d, %d) is outside the grid", row, col);
        return FALSE;
    }
    if (!CheckConnection())
        return FALSE;
    if (col == ColContinuous)
        return CGridCtrlVantel::ValidateEdit(row, col, text);

    const ShownRow shown = GetShownRow(row);
    EnteredText entered(text);
    if (m_rt->IsToolkitReady()) {
        m_rt->NormalizeTagText(entered.Data(), entered.Capacity());
        const QString normalized = entered.Text();
        if (col == ColTag && !normalized.isEmpty()) {
            SetItemText(row, ColTag, normalized);
            EvaluateRowOnce(row, normalized, Evaluation::Entered);
        } else if (col == ColValue) {
            WriteTypedValue(row, text);
        }
    }
    // A connection lost on the way leaves nothing written or read: the edit
    // is refused and the row shows what it showed before.
    if (!CheckConnection()) {
        ShowRow(row, shown);
        return FALSE;
    }
    // The last row stays empty, so that there is always a row to type into.
    if (col == ColTag && !text.isEmpty() && row == GetRowCount() - 1) {
        InsertWatchRow(-1);
        SetFocusCell(row, ColTag);
    }
    Refresh();
    return TRUE;
}

// The product layer's commit already goes through ValidateEdit above.
BOOL CGridQuillon::CommitEditedText(int row, int col, const QString& text)
{
    return CGridCtrlVantel::CommitEditedText(row, col, text);
}

// Standard and check cells go to the grid's own end of editing, product cells
// to the commit with refusal; the product layer routes both.
LRESULT CGridQuillon::OnNotify(WPARAM wParam, NMHDR* header)
{
    return CGridCtrlVantel::OnNotify(wParam, header);
}

void CGridQuillon::CheckForbiddenFunctions(VtChar* text, int capacity)
{
    if (!text || capacity <= 0) {
        qCWarning(lcWatch, "CheckForbiddenFunctions: no text to check");
        return;
    }
    const auto* end = std::find(text, text + capacity, VtChar(0));
    if (!ContainsForbiddenFunction(QString::fromUtf16(text, end - text)))
        return;
    const QString message = LoadResString(IDS_FORBIDDEN_FUNCTION);
    const auto length = std::min<qsizetype>(message.size(), capacity - 1);
    std::copy_n(VtText(message), length, text);
    text[length] = 0;
}

// A plain substring search without word boundaries: an identifier that merely
// contains a forbidden name is refused too. Case folding covers every letter
// case the runtime might accept.
BOOL CGridQuillon::ContainsForbiddenFunction(const QString& text)
{
    // The refresh checks every Continuous row on every tick: the matchers are
    // built once, and a text without quotes is searched as it is.
    static const std::vector<QStringMatcher> matchers = [] {
        std::vector<QStringMatcher> built;
        for (const char* name : kForbiddenFunctions)
            built.emplace_back(QString::fromLatin1(name), Qt::CaseInsensitive);
        return built;
    }();
    const QString visible = text.contains(u'"') ? WithoutQuotedSegments(text) : text;
    return std::any_of(matchers.begin(), matchers.end(),
                       [&](const QStringMatcher& matcher) { return matcher.indexIn(visible) >= 0; });
}

void CGridQuillon::RefreshContinuousRows()
{
    if (!IsConnected())
        return;
    std::vector<int> sent;
    std::vector<int> refused;
    const QString list = ContinuousListText(&sent, &refused);
    if (!sent.empty()) {
        // The toolkit fills every record; clearing 2 KB each first would cost
        // a tick of ten thousand rows 20 MB of writes.
        const auto records = std::make_unique_for_overwrite<ResultRecord[]>(sent.size());
        const int answered = m_rt->EvaluateTagList(VtText(list), static_cast<int>(sent.size()), records.get(), -1);
        // A lost connection says nothing about the expressions: the rows keep
        // their last values and the window shows the disconnection.
        if (!answered && m_rt->IsConnectionLost(Host()->GetConnection()))
            return;
        for (std::size_t i = 0; i < sent.size(); ++i)
            ShowRefreshResult(sent[i], &records[i]);
    }
    // A list file can be edited by anyone: a forbidden row is never sent and
    // shows as an invalid record would.
    for (const int row : refused)
        ShowRefreshResult(row, nullptr);
    // Only rows in sight need painting again; finding the rectangle of each
    // of ten thousand rows would cost more than reading them.
    const CellSpan visible = GetVisibleNonFixedCellRange();
    for (const std::vector<int>* rows : {&sent, &refused}) {
        for (const int row : *rows) {
            if (row < visible.GetMinRow() || row > visible.GetMaxRow())
                continue;
            InvalidateCellRect(CCellID(row, ColValue));
            InvalidateCellRect(CCellID(row, ColQuality));
        }
    }
}

QString CGridQuillon::ContinuousListText(std::vector<int>* sent, std::vector<int>* refused) const
{
    QString list;
    for (int row = 1; row < GetRowCount(); ++row) {
        if (!IsContinuous(row))
            continue;
        QString text = MapTagText(GetItemText(row, ColTag));
        if (!Sendable(text) || ContainsForbiddenFunction(text)) {
            refused->push_back(row);
            continue;
        }
        // A line break inside a row would shift every later record onto the
        // wrong row; as white space it means the same to the expression.
        text.replace(u'\r', u' ').replace(u'\n', u' ');
        list += text;
        list += u'\n';
        sent->push_back(row);
    }
    return list;
}

void CGridQuillon::ShowRefreshResult(int row, const ResultRecord* record)
{
    if (record && record->valid) {
        ValueText value;
        m_rt->FormatResultValue(value.Data(), value.Capacity(), record);
        SetValueAndQuality(row, value.Text(), QualityClassText(record->quality));
    } else {
        SetValueAndQuality(row, LoadResString(IDS_INVALID_EXPRESSION), LoadResString(IDS_QUALITY_BAD));
    }
}

void CGridQuillon::OnToggle()
{
    if (!IsConnected())
        return;
    const int row = GetFocusCell().row;
    if (row < GetFixedRowCount() || row >= GetRowCount())
        return;
    const QString text = MapTagText(GetItemText(row, ColTag));
    const ShownRow shown = GetShownRow(row);
    TagRef ref{};
    if (m_rt->ResolveTag(&ref, VtText(text))) {
        const int newValue = StartsWithZero(GetItemText(row, ColValue)) ? 1 : 0;
        m_rt->WriteTagInt(&ref, newValue, -1, -1, -1, 0);
        ValueText value;
        m_rt->ReadTagValueText(&ref, value.Data(), value.Capacity());
        SetValueAndQuality(row, value.Text(), FormatQualityText(kQualityGood));
    } else {
        EvaluateRowOnce(row, text, Evaluation::Toggled);
    }
    // A connection lost on the way says nothing about the tag or the value.
    if (!CheckConnection())
        ShowRow(row, shown);
    Refresh();
}

void CGridQuillon::OnUpdateToggle(CCmdUI* cmdUI)
{
    const int row = GetFocusCell().row;
    const bool watchRow = row >= GetFixedRowCount() && row < GetRowCount();
    cmdUI->Enable(watchRow && !GetItemText(row, ColTag).isEmpty() && GetSelectedCount() <= 1);
}

void CGridQuillon::EvaluateRowOnce(int row, const QString& text, Evaluation kind)
{
    const QString mapped = EvaluatedText(text, kind);
    const VtRowAnswer* prepared =
        kind == Evaluation::Entered && m_prepared ? m_prepared->TakeEvaluation(row, mapped) : nullptr;
    const bool refused = kind == Evaluation::Toggled && ContainsForbiddenFunction(mapped);
    const bool compiled = prepared ? prepared->compiled != 0
                                   : !refused && m_rt->CompileExpression(VtText(mapped), m_compiled.data(),
                                                                         m_compiled.size(), 0, 1, 0, 0) == 0;
    if (compiled) {
        ResultRecord evaluated{};
        const ResultRecord* record = prepared ? &prepared->record : &evaluated;
        if (!prepared) {
            evaluated.quality = kQualityGood;
            m_rt->EvaluateCompiled(m_compiled.data(), &evaluated, -1, -1, -1, 0);
        }
        ValueText value;
        m_rt->FormatResultValue(value.Data(), value.Capacity(), record);
        SetValueAndQuality(row, value.Text(), FormatQualityText(record->quality));
    } else if (kind == Evaluation::Toggled) {
        SetItemText(row, ColQuality, FormatQualityText(kQualityBad));
    } else {
        SetValueAndQuality(row, LoadResString(IDS_INVALID_EXPRESSION), FormatQualityText(kQualityBad));
    }
    if (kind != Evaluation::Toggled) {
        TagRef ref{};
        SetContinuous(row, prepared ? prepared->resolved != 0 : m_rt->ResolveTag(&ref, VtText(mapped)) != 0);
    }
}

QString CGridQuillon::EvaluatedText(const QString& text, Evaluation kind)
{
    EnteredText buffer(text);
    if (kind == Evaluation::Entered)
        CheckForbiddenFunctions(buffer.Data(), static_cast<int>(buffer.Capacity()));
    return MapTagText(buffer.Text());
}

// The row written is the one committed: the focus row while typing, but a
// paste of several lines commits rows below the focus too.
void CGridQuillon::WriteTypedValue(int row, const QString& value)
{
    const QString tag = MapTagText(GetItemText(row, ColTag));
    EnteredText written(value);
    TextBuffer<kValueCellLimit> readBack;
    std::uint16_t quality = 0;
    const VtRowAnswer* prepared = m_prepared ? m_prepared->TakeWrite(row, tag, written.Text()) : nullptr;
    // The runtime skipped a write it took for no edit; this one is an edit,
    // so it goes to the runtime after all.
    if (prepared && prepared->written == 1)
        prepared = nullptr;
    if (prepared) {
        if (prepared->written == 0)
            return;
        readBack.Assign(QString::fromUtf16(prepared->readBack, TerminatedLength(prepared->readBack)));
        quality = prepared->quality;
    } else {
        TagRef ref{};
        if (!m_rt->ResolveTag(&ref, VtText(tag)))
            return;
        m_rt->WriteTagText(&ref, written.Data(), -1, -1, -1, 0);
        m_rt->ReadTagText(&ref, readBack.Data(), readBack.Capacity(), &quality, 0);
    }
    SetValueAndQuality(row, readBack.Text(), FormatQualityText(quality));
}

PreparedRows::Question CGridQuillon::PlanRow(int row, const QString& tagNow, const QString& valueNow,
                                             const QString* tagField, const QString* valueField)
{
    PreparedRows::Question question;
    question.row = row;
    QString tagAfter = tagNow;
    // A field equal to the cell is no edit and asks nothing.
    if (tagField && *tagField != tagNow) {
        EnteredText entered(*tagField);
        m_rt->NormalizeTagText(entered.Data(), entered.Capacity());
        const QString normalized = entered.Text();
        tagAfter = normalized.isEmpty() ? *tagField : normalized;
        question.evaluate = !normalized.isEmpty();
        if (question.evaluate)
            question.expression = EvaluatedText(normalized, Evaluation::Entered);
    }
    // After an evaluation only the runtime knows whether the cell will show
    // the typed text already; it compares before it writes.
    if (valueField && (question.evaluate || *valueField != valueNow)) {
        question.write = true;
        question.tag = MapTagText(tagAfter);
        question.value = EnteredText(*valueField).Text();
        question.typed = *valueField;
    }
    return question;
}

int CGridQuillon::Prepare(PreparedRows& prepared, const std::vector<PreparedRows::Question>& questions)
{
    // Without a connection every commit is refused before it asks anything.
    if (!IsConnected() || !m_rt->IsToolkitReady())
        return -1;
    return prepared.Ask(*m_rt, questions, LoadResString(IDS_INVALID_EXPRESSION));
}

void CGridQuillon::SetValueAndQuality(int row, const QString& value, const QString& quality)
{
    SetItemText(row, ColValue, value);
    SetItemText(row, ColQuality, quality);
}

CGridQuillon::ShownRow CGridQuillon::GetShownRow(int row) const
{
    return {GetItemText(row, ColTag), GetItemText(row, ColValue), GetItemText(row, ColQuality), IsContinuous(row)};
}

void CGridQuillon::ShowRow(int row, const ShownRow& shown)
{
    SetItemText(row, ColTag, shown.tag);
    SetValueAndQuality(row, shown.value, shown.quality);
    SetContinuous(row, shown.continuous);
}

BOOL CGridQuillon::IsContinuous(int row) const
{
    const auto* check = dynamic_cast<const CGridCellCheck*>(GetCell(row, ColContinuous));
    return check && check->GetCheck();
}

void CGridQuillon::SetContinuous(int row, BOOL checked)
{
    if (auto* check = dynamic_cast<CGridCellCheck*>(GetCell(row, ColContinuous)))
        check->SetCheck(checked);
    else
        qCWarning(lcWatch, "SetContinuous: row %d has no Continuous box", row);
}

QString CGridQuillon::FormatQualityText(std::uint16_t quality) const
{
    ValueText text;
    m_rt->FormatQuality(quality, text.Data(), text.Capacity());
    return text.Text();
}

QString CGridQuillon::QualityClassText(std::uint16_t quality) const
{
    UINT id = IDS_QUALITY_INVALID;
    switch (m_rt->GetQualityClass(quality)) {
    case kQualityBad: id = IDS_QUALITY_BAD; break;
    case kQualityUncertain: id = IDS_QUALITY_UNCERTAIN; break;
    case kQualityNotAvailable: id = IDS_QUALITY_NA; break;
    case kQualityGood: id = IDS_QUALITY_GOOD; break;
    default: break;
    }
    return LoadResString(id).left(kValueTextCapacity - 1);
}

CWatchGridHost* CGridQuillon::Host() const
{
    return dynamic_cast<CWatchGridHost*>(parentWidget());
}

BOOL CGridQuillon::IsConnected() const
{
    const CWatchGridHost* host = Host();
    return host && host->IsConnected();
}

BOOL CGridQuillon::CheckConnection()
{
    if (!IsConnected())
        return FALSE;
    if (m_rt->IsConnectionLost(Host()->GetConnection())) {
        Host()->MarkDisconnected();
        return FALSE;
    }
    return TRUE;
}

QString CGridQuillon::MapTagText(const QString& text) const
{
    const CWatchGridHost* host = Host();
    return host ? host->MapTagText(text) : text;
}
