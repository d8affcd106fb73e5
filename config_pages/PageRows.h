#pragma once

#include <QRect>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ChangeSource.h"
#include "ControlHandler.h"
#include "PageMode.h"
#include "ParameterSection.h"
#include "ScrollPane.h"

class ChangeMark;
class DataExchange;
class DialogUnits;
class QCheckBox;
class QComboBox;
class QWidget;
class ParameterHandler;
class SubmitPlan;

// The generated rows of a parameter page: a label and a value control for
// each parameter of the page's working section, chosen by its type word, in
// the grey pane that holds them (and scrolls them, on a volume rights page).
// Exchanges the values both ways with their checks, and answers the rows'
// check boxes and the choice lists' special entries, and marks each row whose
// value differs from the one read. One set of rows lives from one build of
// the page to its tear-down.
class PageRows : public ScrollPane::CommandTarget {
public:
    static constexpr int kLabelBaseId = 2000;
    static constexpr int kValueBaseId = 2200;
    static constexpr int kCheckBaseId = 2300;
    static constexpr int kTrackedEndId = 2400;

    // Makes the pane over area of the page. working and loaded are the
    // page's sections, which outlive the rows; showMark shows the page's
    // "* Not fully supported" mark.
    PageRows(QWidget& page, const QRect& area, PageMode mode, ParameterSection& working,
             const ParameterSection& loaded, std::function<void()> showMark);
    ~PageRows() override;
    PageRows(const PageRows&) = delete;
    PageRows& operator=(const PageRows&) = delete;

    ScrollPane* Pane() const { return pane; }
    // Builds `rows` rows, the first at firstTop (reference pixels).
    void Build(int rows, int firstTop);

    // Exchanges every row with its parameter, in the exchange's direction.
    void Exchange(DataExchange& exchange);

    int Count() const { return static_cast<int>(values.size()); }
    QWidget* LabelAt(int row) const;
    QWidget* ValueAt(int row) const;
    QCheckBox* CheckAt(int row) const;

    void OnChildCommand(int id, int code) override;

    // The row's parameter with the value its field shows now, as a Submit
    // takes it (unchecked), and the state of the row's box.
    Parameter CurrentAt(int row) const;
    // The row shows a value other than the one read.
    bool IsChanged(int row) const;
    // Shows the value read again in the row.
    void Revert(int row);
    // Marks the rows whose value differs from the one read, and only those.
    void UpdateMarks();

    // Takes the first `rows` rows into a submit: as exchanged, or (asShown)
    // as their fields show them now, unchecked.
    void TakeInto(SubmitPlan& plan, int rows, bool asShown) const;
    // What a submit of the first `rows` rows would write to store's file now.
    ChangeSource::PendingChanges Pending(const ParameterHandler& store, int rows) const;
    // The row of a change of the rows' section among the first `rows`, or -1.
    int RowOf(const Change& change, int rows) const;

    // The name a row shows for its parameter: its display name, else its key.
    static std::string NameOf(const Parameter& parameter);

private:
    void buildRow(int row, int firstTop);
    void fillCombo(QComboBox* combo, const Parameter& parameter);
    std::string labelOf(const Parameter& parameter);
    void exchangeRow(DataExchange& exchange, int row);
    void exchangeEdit(DataExchange& exchange, int row);
    void onCheckClicked(int row);
    void onChoiceChanged(int row);
    void updateMark(int row);

    QWidget& page;
    PageMode mode;
    ParameterSection& working;
    const ParameterSection& loaded;
    std::function<void()> showMark;
    ControlHandler controls;
    ScrollPane* pane;
    // One entry per row; growable, so no slice is ever too long for them.
    std::vector<QWidget*> labels;
    std::vector<QWidget*> values;
    std::vector<QCheckBox*> checks;
    std::vector<std::unique_ptr<ChangeMark>> marks;
};
