// SPDX-License-Identifier: MIT
// The difference list: one drop-down entry per differing record, pages of them, and the
// navigation that shows an entry's record above its counterpart.
#include "data/DifferenceWalk.h"
#include "shell/FlexGrid.h"
#include "shell/frmMain.h"

#include <sifkit/Sifcore.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <charconv>

namespace dbsift {

namespace {

bool parseNumber(const std::string& text, int32_t& number) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, number);
    return !text.empty() && error == std::errc() && at == end;
}

/// Hourglass pointer for the length of a paging step.
class WaitPointer {
public:
    WaitPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitPointer() { QApplication::restoreOverrideCursor(); }
    WaitPointer(const WaitPointer&) = delete;
    WaitPointer& operator=(const WaitPointer&) = delete;
};

} // namespace

std::string frmMain::getRecordDetailsForDropDown(const std::string& tableName, int32_t recordNumber,
                                                 bool isMaster) {
    sifkit::Sifcore& engine = Sifcore1();
    // A record with a counterpart is a changed one, not a new one: the result knows which.
    const sifkit::DataResult& result = engine.lastDataResult();
    if (result.table == tableName)
        if (const sifkit::DataRecord* found =
                result.find(isMaster ? sifkit::Side::Original : sifkit::Side::Modified, recordNumber))
            return " " + engine.getChangeDesciption(found->counterpart > 0 ? 6 : 5);
    const std::string noChange = engine.getConstantForNoChange();
    const int16_t fields = engine.getResultFieldCount(isMaster, tableName);
    for (int32_t i = 1; i <= fields; ++i) {
        const std::string field = engine.getResultFieldName(i, isMaster);
        const std::string change =
            engine.getFieldChangeTypeFromRecordNumber(tableName, field, recordNumber, isMaster);
        if (change.empty() || change == noChange)
            continue;
        int32_t code = -1;
        parseNumber(change, code);
        return " " + engine.getChangeDesciption(static_cast<int16_t>(code));
    }
    return "";
}

void frmMain::setCboDataDiffBox(const std::string& /*tableName: the selected table is listed*/) {
    sifkit::Sifcore& engine = Sifcore1();
    const int32_t o = appVar_.getCurrentMasterRecordIndex();
    const int32_t m = appVar_.getCurrentSourceRecordIndex();
    const std::string t = appVar_.getSelectedTableName();
    const int32_t limit = differencePageLimit(t);

    DifferenceWalk walk(engine, t, o, m);
    bool firstEntry = true;
    // One entry per record of the page: the records the summary grid shows for it, so that every
    // record reaches the list.
    for (int32_t k = 0; k < limit; ++k) {
        if (walk.done())
            break;
        const DifferenceWalk::Step step = walk.next();
        appVar_.setIsOriginal(step.isMaster);
        if (step.recordNumber <= 0)
            continue;
        const std::string text = differenceEntryText(t, step.recordNumber, step.isMaster) + " " +
                                 getRecordDetailsForDropDown(t, step.recordNumber, step.isMaster);
        cboDataDiffSummary_->addItem(QString::fromStdString(text));
        if (firstEntry) {
            cboDataDiffSummary_->setCurrentIndex(cboDataDiffSummary_->count() - 1);
            showSelectedDifference(text, true);
            firstEntry = false;
        }
    }
    const bool listed = cboDataDiffSummary_->count() > 0;
    enableBackward(listed && cboDataDiffSummary_->currentIndex() > 0);
    enableForward(listed && cboDataDiffSummary_->currentIndex() < cboDataDiffSummary_->count() - 1);
    updatePagingButtons();
}

void frmMain::startPaging() {
    pageStarts_.assign(1, {appVar_.getCurrentMasterRecordIndex(), appVar_.getCurrentSourceRecordIndex()});
}

bool frmMain::recordsLeftToList() {
    return !DifferenceWalk(Sifcore1(), appVar_.getSelectedTableName(), appVar_.getCurrentMasterRecordIndex(),
                           appVar_.getCurrentSourceRecordIndex())
                .done();
}

void frmMain::updatePagingButtons() {
    cmdGetMore_->setEnabled(cboDataDiffSummary_->count() > 0 && recordsLeftToList());
    cmdGetPrevious_->setEnabled(pageStarts_.size() >= 2);
}

void frmMain::appendNextPage(bool selectItsFirst) {
    const std::string t = appVar_.getSelectedTableName();
    if (t.empty() || pageStarts_.empty() || !recordsLeftToList()) {
        updatePagingButtons();
        return;
    }
    pageStarts_.push_back({appVar_.getCurrentMasterRecordIndex(), appVar_.getCurrentSourceRecordIndex()});
    const int selected = cboDataDiffSummary_->currentIndex();
    setCboDataDiffBox(t);
    if (!selectItsFirst && selected >= 0)
        selectDifferenceEntry(selected);
    fillSummaryGrid(*msFlexGridDataDiff_, t, appVar_.getRowTotal());
    updatePagingButtons();
}

std::string frmMain::parseRecordNumberFromComboValue(const std::string& text) {
    std::string number;
    const std::size_t equals = text.find('=');
    if (equals != std::string::npos && equals + 2 <= text.size())
        number = text.substr(equals + 2);
    if (const std::size_t blank = number.find(' '); !number.empty() && blank != std::string::npos)
        number.erase(blank);
    appVar_.setIsOriginal(text.find(differenceEntryMarker(true)) != std::string::npos);
    return number;
}

int32_t frmMain::counterpartNumber(bool isMaster, int32_t recordNumber) const {
    const sifkit::DataResult& result = Sifcore1().lastDataResult();
    if (result.table != appVar_.getSelectedTableName())
        return 0;
    const sifkit::DataRecord* record =
        result.find(isMaster ? sifkit::Side::Original : sifkit::Side::Modified, recordNumber);
    return record ? record->counterpart : 0;
}

void frmMain::showSelectedDifference(const std::string& text, bool showRelated) {
    const std::string numberText = parseRecordNumberFromComboValue(text);
    int32_t r = 0;
    if (!parseNumber(numberText, r)) {
        msFlexGridDataDiff_->viewport()->update();
        return;
    }
    appVar_.setSelectedRecordNumber(r);
    if (r > 0)
        writeDetailGrid(*MSFlexGridDataDiffDetail_, true);
    if (showRelated) {
        const bool side = appVar_.getIsOriginal();
        setSelectedReleatedRecordNumber(counterpartNumber(side, r));
        CopyUpButtonsEnabled(false);
        appVar_.setIsOriginal(!side);
        writeDetailGrid(*MSFlexGridDataDiffDetail_, false);
        appVar_.setIsOriginal(side);
        appVar_.setSelectedRecordNumber(r);
        markChangedDetailValues();
    }
    msFlexGridDataDiff_->viewport()->update();
}

int32_t frmMain::getTotalGridCount() {
    const std::string& t = appVar_.getSelectedTableName();
    return getTotalGridCountFor(t);
}

int32_t frmMain::getTotalGridCountFor(const std::string& tableName) {
    return Sifcore1().getRecordCountInResultsForTable(tableName, true) +
           Sifcore1().getRecordCountInResultsForTable(tableName, false);
}

int32_t frmMain::differencePageLimit(const std::string& tableName) {
    const int32_t total = getTotalGridCountFor(tableName);
    const int32_t n = appVar_.getNumberofRecords();
    return total >= n ? n : total;
}

void frmMain::enableBackward(bool enabled) {
    cmdFirstDiff_->setEnabled(enabled);
    cmdPrevious_->setEnabled(enabled);
    mnuFirstpopup_->setEnabled(enabled);
    mnuPreviouspopup_->setEnabled(enabled);
}

void frmMain::enableForward(bool enabled) {
    cmdNext_->setEnabled(enabled);
    cmdLast_->setEnabled(enabled);
    mnuNextpopup_->setEnabled(enabled);
    mnuLastpopup_->setEnabled(enabled);
}

void frmMain::selectDifferenceEntry(int index) {
    cboDataDiffSummary_->setCurrentIndex(index);
    showSelectedDifference(cboDataDiffSummary_->itemText(index).toStdString(), true);
}

void frmMain::cmdFirstDiff_Click() {
    if (cboDataDiffSummary_->count() == 0)
        return;
    selectDifferenceEntry(0);
    enableForward(true);
    enableBackward(false);
}

void frmMain::cmdLast_Click() {
    if (cboDataDiffSummary_->count() == 0)
        return;
    selectDifferenceEntry(cboDataDiffSummary_->count() - 1);
    enableBackward(true);
    enableForward(false);
}

void frmMain::cmdNext_Click() {
    const QString current = cboDataDiffSummary_->currentText();
    const int last = cboDataDiffSummary_->count() - 1;
    bool found = false;
    for (int i = 0; i < last; ++i) {
        if (cboDataDiffSummary_->itemText(i) == current) {
            selectDifferenceEntry(i + 1);
            found = true;
            break;
        }
    }
    enableBackward(true);
    if (!found)
        enableForward(false);
}

void frmMain::cmdPrevious_Click() {
    const QString current = cboDataDiffSummary_->currentText();
    const int count = cboDataDiffSummary_->count();
    for (int i = 1; i < count; ++i) {
        if (cboDataDiffSummary_->itemText(i) == current) {
            selectDifferenceEntry(i - 1);
            enableForward(true);
            if (i == 1)
                enableBackward(false);
            return;
        }
    }
    if (count <= 1)
        enableBackward(false);
}

void frmMain::cboDataDiffSummary_Click() {
    showSelectedDifference(cboDataDiffSummary_->currentText().toStdString(), true);
}

void frmMain::cmdGetMore_Click() {
    WaitPointer wait;
    appendNextPage(true);
}

void frmMain::cmdGetPrevious_Click() {
    // The page before the first one shown replaces what is listed; Get More goes on after it.
    if (pageStarts_.size() < 2)
        return;
    WaitPointer wait;
    pageStarts_.pop_back();
    appVar_.setCurrentMasterRecordIndex(pageStarts_.back().first);
    appVar_.setCurrentSourceRecordIndex(pageStarts_.back().second);
    cboDataDiffSummary_->clear();
    msFlexGridDataDiff_->clear();
    appVar_.setRowTotal(1);
    const std::string t = appVar_.getSelectedTableName();
    setCboDataDiffBox(t);
    fillSummaryGrid(*msFlexGridDataDiff_, t, 1);
    msFlexGridDataDiff_->scrollToTop();
    updatePagingButtons();
}

void frmMain::tsDataDiff_Click(int tab) {
    // The tab strip has brought the tab's panel to the front already.
    if (tab == 2 && cboDataDiffSummary_->count() > 0)
        showSelectedDifference(cboDataDiffSummary_->currentText().toStdString(), true);
}

} // namespace dbsift
