#pragma once

#include "PreparedRows.h"
#include "RuntimeCalls.h"
#include "WatchListRow.h"

#include "gridext/CGridCtrlVantel.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class CWatchGridHost;

// The watch grid: each row below the header watches one tag or expression of
// the runtime. A committed Tag/Expression text is evaluated at once, Continuous
// rows are read again on every refresh tick, typing into Value writes the tag,
// and the context menu manages the rows.
class CGridQuillon : public CGridCtrlVantel
{
    Q_OBJECT

public:
    // The columns of a watch row.
    enum Column { ColTag = 0, ColValue = 1, ColQuality = 2, ColContinuous = 3 };

    CGridQuillon();
    ~CGridQuillon() override;

    // Tests put a deterministic runtime here; the program keeps the real one.
    void SetRuntimeCalls(const RuntimeCalls& calls) { m_rt = &calls; }

    // Inserts a prepared empty watch row at 'at' (-1 appends); its index, or -1.
    int InsertWatchRow(int at);
    // Appends an empty row unless the last row is one already: there is
    // always a row to type into.
    void KeepEmptyLastRow();
    // Puts each stored row into the empty entry row and appends a new entry
    // row after it, as a loaded list is placed; nothing is read or checked.
    void AppendWatchRows(const std::vector<WatchListRow>& rows);
    // The Continuous box of a row; FALSE for a row without one.
    BOOL IsContinuous(int row) const;
    void SetContinuous(int row, BOOL checked);
    // Reads every Continuous row with one list evaluation (one refresh tick).
    void RefreshContinuousRows();
    // In place: replaces text by IDS_FORBIDDEN_FUNCTION when it calls a forbidden function.
    void CheckForbiddenFunctions(VtChar* text, int capacity);
    // The same check on a QString; TRUE when a forbidden function was found.
    static BOOL ContainsForbiddenFunction(const QString& text);

    // Virtual operations, in slot order.
    BOOL PasteTextAt(const CCellID& start, const QMimeData* data, BOOL selectPasted) override;
    BOOL ValidateEdit(int row, int col, const QString& text) override;
    BOOL CommitEditedText(int row, int col, const QString& text) override;

    // Message and command handlers.
    LRESULT OnNotify(WPARAM wParam, NMHDR* header) override;
    void OnRButtonUp(UINT nFlags, CPoint point) override;
    void OnContextMenu(QWidget* window, CPoint screenPoint) override;
    BOOL OnCommand(UINT id) override;
    BOOL HasCommandHandler(UINT id) const override;
    BOOL OnUpdateCommand(UINT id, CCmdUI* cmdUI) override;

    void OnSortAscending();
    void OnSortDescending();
    void OnContinuous();
    void OnToggle();
    void OnInsertTag();
    void OnInsertCopiedCells();
    void OnInsertLine();
    void OnDeleteLine();
    void OnUpdateContinuous(CCmdUI* cmdUI);
    void OnUpdateToggle(CCmdUI* cmdUI);
    void OnUpdateInsertCopiedCells(CCmdUI* cmdUI);
    void OnUpdateInsertLine(CCmdUI* cmdUI);
    void OnUpdateDeleteLine(CCmdUI* cmdUI);

    // The sort comparison: check cells by state, others by text without case.
    static int CompareWatchCells(LPARAM cell1, LPARAM cell2, LPARAM data);

protected:
    BOOL OnReflectedNotify(NMHDR* header, LRESULT* result) override;
    CGridCellBase* CreateCell(int row, int col) override;

private:
    // How a single evaluation treats its row: an entered text is checked for
    // forbidden functions and sets the Continuous box; a name the tag browser
    // listed is not checked; Toggle checks but leaves the box alone, and keeps
    // the Value text when the expression does not compile.
    enum class Evaluation { Entered, Picked, Toggled };

    // The window that holds the grid; nullptr counts as not connected.
    CWatchGridHost* Host() const;
    BOOL IsConnected() const;
    // FALSE when not connected or the connection is found lost (the host is
    // then marked disconnected).
    BOOL CheckConnection();
    QString MapTagText(const QString& text) const;

    // Compiles and evaluates 'text' once into the Value and Quality cells of
    // 'row'.
    void EvaluateRowOnce(int row, const QString& text, Evaluation kind);
    // The text an evaluation of 'text' sends: refused functions replaced,
    // then mapped.
    QString EvaluatedText(const QString& text, Evaluation kind);
    // What committing a Tag field and then a Value field (nullptr: none, or
    // not editable) into a row now showing tagNow and valueNow will ask of
    // the runtime, worked out as ValidateEdit will do it.
    PreparedRows::Question PlanRow(int row, const QString& tagNow, const QString& valueNow, const QString* tagField,
                                   const QString* valueField);
    // Asks the planned questions in one request when the grid may talk to the
    // runtime; how many leading ones the answers cover, -1 when none could be
    // asked.
    int Prepare(PreparedRows& prepared, const std::vector<PreparedRows::Question>& questions);
    void SetValueAndQuality(int row, const QString& value, const QString& quality);
    // What a row shows, kept across an action that the connection may fail
    // under, so that a failed action leaves no half result behind.
    struct ShownRow
    {
        QString tag, value, quality;
        BOOL continuous;
    };
    ShownRow GetShownRow(int row) const;
    void ShowRow(int row, const ShownRow& shown);

    // The typed write of a Value cell, read back at once.
    void WriteTypedValue(int row, const QString& value);
    // The toolkit's text for a quality, and the program's own (the refresh).
    QString FormatQualityText(std::uint16_t quality) const;
    QString QualityClassText(std::uint16_t quality) const;
    // Refresh steps: the list text of the rows that may be sent, and the cells.
    QString ContinuousListText(std::vector<int>* sent, std::vector<int>* refused) const;
    void ShowRefreshResult(int row, const ResultRecord* record);

    // ---- Helpers of the commands (CGridQuillonCommands.cpp, CGridQuillonBrowse.cpp)
    // Makes cell the anchor, the only selected cell and the focus cell, in view.
    void SelectSingleCell(const CCellID& cell);
    void SortWatchRows(BOOL ascending);
    BOOL PasteWatchLine(QStringView line, int row, int firstCol);
    // The questions of the paste lines from 'next' on, into the shown rows
    // after 'row', as far as the paste surely reaches.
    std::vector<PreparedRows::Question> PlanPaste(const QList<QStringView>& lines, qsizetype next, int row,
                                                  int firstCol);
    void ForEachPastedField(QStringView line, int firstCol,
                            const std::function<void(int, const QString&)>& visit) const;
    // The fields of a copied line as Insert Copied Cells types them.
    QStringList InsertedFields(const QString& line) const;
    QString PickTag();
    void SetPickedTag(int row, const QString& name);
    void OnDblClickNotify();

    const RuntimeCalls* m_rt = &RuntimeCalls::Real();
    // The answers asked for ahead of the rows now committed, if any.
    PreparedRows* m_prepared = nullptr;
    // One compiled-expression buffer for every single evaluation.
    std::array<std::uint8_t, kCompiledBufferSize> m_compiled{};
};
