// SPDX-License-Identifier: MIT
#pragma once

// What the data view's tests share: a window started on two SQLite files, and a data comparison
// started through the field list dialog as a person would.
#include "AppTestEnvironment.h"
#include "shell/FlexGrid.h"
#include "data/frmFieldListForDataCompare.h"
#include "shell/frmMain.h"
#include "shell/frmMainMDI.h"

#include <sifkit/Sifcore.h>

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <string>

namespace dbsift::test {

/// Starts the window on an Original and a Modified database made from the two scripts (data
/// compare mode lists both sides' tables). extraSettings go into the [frmMain] section.
inline frmMain& startOnTwoDatabases(AppSandbox& sandbox, const std::string& originalScript,
                                    const std::string& modifiedScript,
                                    const std::string& extraSettings = "") {
    const std::string original = sandbox.createDatabase("original.db", originalScript);
    const std::string modified = sandbox.createDatabase("modified.db", modifiedScript);
    sandbox.writeSettings(
        "[ORIGINAL_CONNECTIONS]\nORIGINAL_CONNECTIONS0=" + AppSandbox::fileConnection(original) +
        "\n[MODIFIED_CONNECTIONS]\nMODIFIED_CONNECTIONS0=" + AppSandbox::fileConnection(modified) +
        "\n[frmMain]\nlLastSelectedOrigConnIndex=0\nlLastSelectedmodConnIndex=0\n" + extraSettings);
    sandbox.start();
    return sandbox.form();
}

/// Fills the field list for a table, selects the named fields (all when empty) and presses
/// Compare. False when the dialog had nothing to offer.
inline bool compareTable(frmMain& form, const std::string& table, const QStringList& fields = {}) {
    form.setTableName(table);
    frmFieldListForDataCompare& dialog = form.fieldListDialog();
    sifkit::Sifcore& engine = form.Sifcore1();
    if (!dialog.compareTableFromName(table, engine.getMasterDataManager(), engine.getSourceDataManager()))
        return false;
    auto* list = dialog.findChild<QListWidget*>("lstFields");
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSelected(fields.isEmpty() || fields.contains(list->item(i)->text()));
    dialog.cmdCompare_Click();
    return true;
}

inline QComboBox& differenceList(frmMain& form) {
    return *form.findChild<QComboBox*>("cboDataDiffSummary");
}

inline FlexGrid& grid(frmMain& form, const char* name) {
    return *form.findChild<FlexGrid*>(name);
}

inline QPushButton& button(QWidget& owner, const char* name) {
    return *owner.findChild<QPushButton*>(name);
}

inline QStringList entries(frmMain& form) {
    QStringList texts;
    QComboBox& list = differenceList(form);
    for (int i = 0; i < list.count(); ++i)
        texts << list.itemText(i);
    return texts;
}

/// "CREATE TABLE t ...; INSERT ..." for rows id 1..count with a name of "n<id>" and a city.
inline std::string peopleScript(int count, const std::string& cityOf = "c") {
    std::string script = "CREATE TABLE people (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40));\n"
                         "BEGIN;\n";
    for (int id = 1; id <= count; ++id)
        script += "INSERT INTO people VALUES (" + std::to_string(id) + ", 'n" + std::to_string(id) + "', '" +
                  cityOf + std::to_string(id) + "');\n";
    return script + "COMMIT;\n";
}

} // namespace dbsift::test
