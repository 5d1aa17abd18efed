// SPDX-License-Identifier: MIT
// The field structure grids: one grid per side listing every result item of that side with its
// field, data type and change, coloured by the kind of change, and the change count.
#include "shell/FlexGrid.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <sifkit/Sifcore.h>

#include <QAction>
#include <QProgressBar>

#include <chrono>

namespace dbsift {

namespace {

constexpr uint32_t kNewColour = 0x008000;           // green
constexpr uint32_t kDifferentTypeColour = 0x0000FF; // red (red in the low byte)
constexpr uint32_t kUnchangedColour = 0;            // black

const char* const kHeaderTexts[] = {QT_TRANSLATE_NOOP("dbsift::frmMain", "DB Object Name"),
                                    QT_TRANSLATE_NOOP("dbsift::frmMain", "Field Name"),
                                    QT_TRANSLATE_NOOP("dbsift::frmMain", "Data Type"),
                                    QT_TRANSLATE_NOOP("dbsift::frmMain", "Change Type")};

} // namespace

void frmMain::doStructureCompare() {
    runStructureCompare(false);
}

void frmMain::runStructureCompare(bool objectsListed) {
    appVar_.setDoStructure(true);
    showLowerFrame(frameStructureGrids_);
    mnuCreateDataReport_->setEnabled(false);
    mnuCreateReportpopup_->setEnabled(false);
    if (!requireConnections())
        return;
    if (!appVar_.getShowStructure()) {
        if (!objectsListed)
            do_Compare();
        enableControls();
        return;
    }

    runEngineCompare(false);
    QProgressBar& bar = frame_.ProgressBar1();
    bar.setValue(bar.maximum());

    const auto start = std::chrono::steady_clock::now();
    const int32_t total = getChangeCount(true) + getChangeCount(false);
    frame_.setPanelText(4,
                        total < 1 ? tr("No changes found") : tr("%1 structural changes found.").arg(total));
    refreshStructureGrids();
    structureTiming_.gridSeconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    enableControls();
    frame_.setPanelText(1, QString()); // the data view's count label, when it was shown
    frame_.setPanelText(2, tr("Done"));
}

bool frmMain::isNew(const std::string& changeType) {
    sifkit::Sifcore& engine = Sifcore1();
    return changeType == engine.getConstantForNewTable() || changeType == engine.getConstantForNewField() ||
           changeType == engine.getConstantForNewRecord();
}

bool frmMain::isDifferentDataType(const std::string& changeType) {
    return changeType == Sifcore1().getConstantForDifferentDataType();
}

bool frmMain::isChanged(const std::string& changeType) {
    sifkit::Sifcore& engine = Sifcore1();
    for (const std::string& code :
         {engine.getConstantForNewTable(), engine.getConstantForNewField(),
          engine.getConstantForDifferentDataType(), engine.getConstantForDifferentSize(),
          engine.getConstantForNewRecord(), engine.getConstantForDifferentDataValue()}) {
        if (changeType == code)
            return true;
    }
    return false;
}

int32_t frmMain::getChangeCount(bool isMaster) {
    sifkit::Sifcore& engine = Sifcore1();
    const int32_t count = engine.getResultCount(isMaster);
    int32_t changed = 0;
    for (int32_t i = 1; i <= count; ++i) {
        if (isChanged(std::to_string(engine.getResultChangeType(i, isMaster))))
            ++changed;
    }
    return changed;
}

void frmMain::refreshStructureGrids() {
    // One view reset per grid at the end instead of one repaint request per cell: a large
    // schema has tens of thousands of rows.
    FlexGrid::Batch originalBatch(*MSFlexGrid1_);
    FlexGrid::Batch modifiedBatch(*MSFlexGrid2_);
    MSFlexGrid1_->clear();
    MSFlexGrid2_->clear();
    for (auto [grid, isMaster] : {std::pair{MSFlexGrid1_, true}, std::pair{MSFlexGrid2_, false}}) {
        fillStructureGrid(*grid, isMaster);
        grid->setColWidth(2, appVar_.getGridCol2());
        grid->setColWidth(3, appVar_.getGridCol3());
        grid->viewport()->update();
    }
}

void frmMain::fillStructureGrid(FlexGrid& grid, bool isMaster) {
    sifkit::Sifcore& engine = Sifcore1();
    const int32_t count = engine.getResultCount(isMaster);
    // A side without items leaves its grid's rows and columns as they were (cleared).
    if (count < 1)
        return;
    grid.show();
    grid.setCols(4);
    grid.setRows(count + 2);
    for (int32_t i = 1; i <= count; ++i) {
        appVar_.setSelectedTableName(engine.getResultDatabaseObjectName(i, isMaster));
        const std::string code = std::to_string(engine.getResultChangeType(i, isMaster));
        const bool changed = isChanged(code);
        const uint32_t colour =
            isNew(code) ? kNewColour : (isDifferentDataType(code) ? kDifferentTypeColour : kUnchangedColour);
        writeStructureRow(grid, isMaster, i, std::to_string(colour), changed);
    }
}

void frmMain::writeStructureRow(FlexGrid& grid, bool isMaster, int32_t row, const std::string& colour,
                                bool changed) {
    if (row == 1) {
        for (int col = 0; col < 4; ++col)
            grid.setTextMatrix(0, col, tr(kHeaderTexts[col]));
    }
    sifkit::Sifcore& engine = Sifcore1();
    const uint32_t foreColour = static_cast<uint32_t>(std::stoul(colour));
    const std::string fieldName = engine.getResultFieldName(row, isMaster);
    const std::string dataType = engine.getResultDataType(row, isMaster);
    auto write = [&](int col, const std::string& text) {
        grid.setCellStyle(row, col, foreColour, changed);
        writeStructureCell(grid, isMaster, row, col, QString::fromStdString(text), changed);
    };
    if (!fieldName.empty())
        write(1, fieldName);
    else if (!dataType.empty())
        write(0, appVar_.getSelectedTableName());
    else
        return;
    write(2, dataType);
    write(3, engine.getChangeDesciption(engine.getResultChangeType(row, isMaster)));
}

void frmMain::writeStructureCell(FlexGrid& grid, bool /*isMaster*/, int32_t row, int32_t col,
                                 const QString& text, bool changed) {
    if (!changed && appVar_.getShowDifferencesOnly())
        return;
    grid.setTextMatrix(row, col, text);
}

} // namespace dbsift
