// SPDX-License-Identifier: MIT
// Section "frmMain" of the settings file: what the comparison window reads at load and writes
// when it saves, and the colours it keeps on its two recent-connection lists.
#include "shell/Colours.h"
#include "shell/FlexGrid.h"
#include "shell/SettingsText.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"
#include "shell/frmOptions.h"

#include <QComboBox>
#include <QPalette>

#include <cinttypes>
#include <cstdio>

namespace dbsift {

namespace {

constexpr const char* kSection = "frmMain";

std::string shortestText(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", value);
    return buffer;
}

uint32_t listColour(const QComboBox& list) {
    return fromQColor(list.palette().color(QPalette::Base));
}

void setListColour(QComboBox& list, uint32_t colour) {
    // The window's palette, not the list's: its text colour is the one chosen for the last colour.
    QPalette palette = list.parentWidget() ? list.parentWidget()->palette() : list.palette();
    paintWithSideColour(palette, toQColor(colour));
    list.setPalette(palette);
}

} // namespace

void frmMain::ReadIniFile() {
    auto read = [this](const char* key, const std::string& defaultValue) {
        return settings_.readString(kSection, key, defaultValue, kSettingsBuffer);
    };
    auto readBool = [&](const char* key, bool defaultValue) {
        return textToBool(read(key, boolText(defaultValue)), defaultValue);
    };
    auto readWhole = [&](const char* key, int64_t defaultValue, int64_t minimum, int64_t maximum) {
        return textToWhole(read(key, std::to_string(defaultValue)), defaultValue, minimum, maximum);
    };

    const int state = static_cast<int>(readWhole("WindowState", 0, 0, 2));
    if (state != 0)
        frame_.setWindowStateCode(state);
    setLastSelectedOrigConnIndex(
        static_cast<int32_t>(readWhole("lLastSelectedOrigConnIndex", 1, INT32_MIN, INT32_MAX)));
    setLastSelectedModConnIndex(
        static_cast<int32_t>(readWhole("lLastSelectedmodConnIndex", 1, INT32_MIN, INT32_MAX)));
    const std::string ratio = read("dRatioTopEditor", "12345");
    double parsed = ratio == "12345" ? 0.35 : parseDecimalText(ratio, 0.35);
    // A share outside (0, 1) would put the divider off the window.
    if (!(parsed > 0.0 && parsed < 1.0))
        parsed = 0.35;
    dRatioTopEditor_ = parsed;

    // The window's position applies to the frame while it is in its normal state: the frame is the
    // only top-level window here.
    const int left = static_cast<int>(readWhole("Left", 1000, INT32_MIN / 2, INT32_MAX / 2));
    const int top = static_cast<int>(readWhole("Top", 1000, INT32_MIN / 2, INT32_MAX / 2));
    const int width = static_cast<int>(readWhole("Width", 6500, 1, INT32_MAX / 2));
    const int height = static_cast<int>(readWhole("Height", 6500, 1, INT32_MAX / 2));
    if (frame_.windowStateCode() == 0)
        frame_.setGeometry(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                           height / kTwipsPerPixel);

    appVar_.setShowDifferencesOnly(readBool("SHOW_META_DATA_DIFFERNECEES_ONLY", false));
    appVar_.setShowViews(readBool("SHOW_QUERIES_ONLY", false), *this);
    appVar_.setShowStructure(readBool("SHOW_METADATA", true));
    appVar_.setNoShowRecordMetadata(readBool("SHOW_METADATA_WITH_RECORD_NEVER", true));
    appVar_.setShowRecordMetadataIfDifferent(readBool("SHOW_METADATA_WITH_RECORD_IF_DIFFERENT", false));
    appVar_.setShowRecordMetadata(readBool("SHOW_METADATA_WITH_RECORD_ALWAYS", false));
    appVar_.setNumberofRecords(
        static_cast<int32_t>(readWhole("NUMBER_OF_RECORDS_TO_DISPLAY", 50, 1, INT32_MAX)));
    setReportPath(settings_.readText(kSection, "REPORT_PATH", ""));
    lastFileUsed_ = settings_.readText(kSection, "LAST_FILE_USED", "");
    displayDataCompareMessageBox_ = readBool("DISPLAY_MESSAGE_BOX_FOR_DATA_COMPARE", true);
    const int16_t gridDefaults[4] = {1700, 1500, 3200, 1400};
    void (clsAppVar::*setters[4])(int16_t) = {&clsAppVar::setGridCol0, &clsAppVar::setGridCol1,
                                              &clsAppVar::setGridCol2, &clsAppVar::setGridCol3};
    for (int i = 0; i < 4; ++i) {
        const std::string key = "GRID1_COL" + std::to_string(i);
        (appVar_.*setters[i])(static_cast<int16_t>(readWhole(key.c_str(), gridDefaults[i], 0, INT16_MAX)));
    }
}

void frmMain::SaveIniFile() {
    auto write = [this](const std::string& key, const std::string& value) {
        settings_.writeString(kSection, key, value);
    };
    const int state = frame_.windowStateCode();
    write("WindowState", std::to_string(state));
    if (masterConnectionString_.empty())
        initializeMainWindow();
    if (state == 0) {
        const QRect geometry = frame_.geometry();
        write("Left", shortestText(geometry.x() * kTwipsPerPixel));
        write("Top", shortestText(geometry.y() * kTwipsPerPixel));
        write("Width", shortestText(geometry.width() * kTwipsPerPixel));
        write("Height", shortestText(geometry.height() * kTwipsPerPixel));
    }
    write("DISPLAY_MESSAGE_BOX_FOR_DATA_COMPARE", boolText(displayDataCompareMessageBox_));
    write("ORIGINAL_COLOR", std::to_string(appVar_.getOriginalColor()));
    write("MODIFIED_COLOR", std::to_string(appVar_.getModifiedColor()));
    for (const auto& [grid, prefix] :
         {std::pair{MSFlexGrid1_, "GRID1_COL"}, std::pair{MSFlexGrid2_, "GRID2_COL"}}) {
        if (grid->cols() < 4)
            continue;
        for (int i = 0; i < 4; ++i)
            write(prefix + std::to_string(i), std::to_string(grid->colWidth(i)));
    }
    if (!lastFileUsed_.empty())
        write("LAST_FILE_USED", lastFileUsed_);
}

void frmMain::setDisplayDataCompareMessageBox(bool display) {
    displayDataCompareMessageBox_ = display;
    if (!display)
        SaveIniFile();
}

void frmMain::writeIniLong(const std::string& key, int32_t value) {
    settings_.writeString(kSection, key, std::to_string(value));
}

uint32_t frmMain::getOriginalColor() const {
    return listColour(*cboMasterRecentConn_);
}
void frmMain::setOriginalColor(uint32_t colour) {
    setListColour(*cboMasterRecentConn_, colour);
}
uint32_t frmMain::getModifiedColor() const {
    return listColour(*cboSourceRecentConn_);
}
void frmMain::setModifiedColor(uint32_t colour) {
    setListColour(*cboSourceRecentConn_, colour);
}

void frmMain::setDropDownBoxColors() {
    setOriginalColor(appVar_.getOriginalColor());
    setModifiedColor(appVar_.getModifiedColor());
}

std::string frmMain::ColorToHTML(uint32_t colour) {
    char bgr[16];
    std::snprintf(bgr, sizeof bgr, "%06" PRIX32, colour & 0xFFFFFF);
    const std::string hex(bgr);
    return "#" + hex.substr(4, 2) + hex.substr(2, 2) + hex.substr(0, 2);
}

frmOptions& frmMain::optionsDialog() {
    if (!frmOptions_)
        frmOptions_ = new frmOptions(*this);
    return *frmOptions_;
}

void frmMain::showOptions() {
    frmOptions& dialog = optionsDialog();
    dialog.setFormToUse(*this);
    dialog.exec();
}

} // namespace dbsift
