// SPDX-License-Identifier: MIT
// The two object trees: one node per table or view of a side, with the field, data type and
// change type nodes of each field when the results hold fields.
#include "data/PairedView.h"
#include "shell/frmMain.h"

#include <sifkit/Sifcore.h>

#include "shell/Colours.h"
#include "shell/FlexGrid.h"

#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QIcon>
#include <QTreeWidget>

namespace dbsift {

namespace {

constexpr int kKeyRole = Qt::UserRole + 1;

/// A node of its own, attached to parent when there is one; top-level nodes are added to the
/// tree all at once when the tree is filled.
QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& key, const QString& text) {
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem();
    node->setText(0, text);
    // A text the tree's width cuts short is read in full from its tooltip.
    node->setToolTip(0, text);
    node->setData(0, kKeyRole, key);
    // The check marks say what the comparison found; they are not the user's to change.
    node->setFlags(node->flags() & ~Qt::ItemIsUserCheckable);
    return node;
}

/// The last node added is checked and coloured: red for a new field, blue otherwise, each as it
/// reads on the tree's background.
void markNode(QTreeWidgetItem* node, int16_t changeType, const QColor& background) {
    if (!node)
        return;
    node->setCheckState(0, Qt::Checked);
    node->setForeground(
        0, readableAccentOn(changeType == 2 ? QColor(255, 0, 0) : QColor(0, 0, 255), background));
}

} // namespace

void frmMain::resetTree(QTreeWidget& tree) {
    tree.clear();
    const QIcon picture(QString::fromStdString(paths_.databasePicturePath().string()));
    tree.setProperty("databasePicture", QVariant::fromValue(picture));
}

void frmMain::populateTree(QTreeWidget& tree, bool isMaster) {
    sifkit::Sifcore& engine = Sifcore1();
    const QIcon picture = tree.property("databasePicture").value<QIcon>();
    const QColor background = tree.palette().color(QPalette::Base);
    const int32_t count = engine.getResultCount(isMaster);
    // Looked up once: a tree can hold tens of thousands of field nodes.
    const QString fieldNode = tr("Field Name = %1");
    const QString typeNode = tr(" Data Type = %1");
    const QString changeNode = tr(" Change Type = %1");
    QList<QTreeWidgetItem*> objects;
    QTreeWidgetItem* parent = nullptr;
    QTreeWidgetItem* last = nullptr;
    for (int32_t i = 1; i <= count; ++i) {
        // A failing item is skipped; the rest of the tree still fills.
        try {
            const QString name = QString::fromStdString(engine.getResultDatabaseObjectName(i, isMaster));
            const QString key = name + QString::number(i);
            const std::string dataType = engine.getResultDataType(i, isMaster);
            const int16_t changeType = engine.getResultChangeType(i, isMaster);
            if (dataType == "TABLE" || dataType == "VIEW") {
                parent = addNode(nullptr, key, name);
                parent->setIcon(0, picture);
                objects.append(parent);
                last = parent;
            } else if (engine.getResultIsFieldDesc(i, isMaster) && parent) {
                const std::string field = engine.getResultFieldName(i, isMaster);
                if (!field.empty()) {
                    addNode(parent, key, fieldNode.arg(QString::fromStdString(field)));
                    addNode(parent, key + "1", typeNode.arg(QString::fromStdString(dataType)));
                    last = addNode(
                        parent, key + "12",
                        changeNode.arg(QString::fromStdString(engine.getChangeDesciption(changeType))));
                }
            }
            markNode(last, changeType, background);
        } catch (const std::exception&) {
            continue;
        }
    }
    // One insertion and one reveal for the whole tree: node by node, a schema of thousands of
    // objects would relayout and scroll the tree thousands of times.
    tree.addTopLevelItems(objects);
    for (QTreeWidgetItem* object : objects) {
        if (object->childCount() > 0)
            object->setExpanded(true);
    }
    if (last)
        tree.scrollToItem(last);
}

} // namespace dbsift

namespace dbsift {

QTreeWidget& frmMain::selectedTree() {
    if (TreeView2_->hasFocus() || (!TreeView1_->hasFocus() && lastTree_ == TreeView2_))
        return *TreeView2_;
    return *TreeView1_;
}

// A click in a tree chooses the table for a data comparison: the result shown goes, and with
// it every action on its records, also when the field list is closed without a compare.
void frmMain::onTreeClicked(QTreeWidget& tree) {
    clearDataResult();
    mnuRunDataComparepopup_->setEnabled(true);
    chooseTableForDataCompare(tree);
}

} // namespace dbsift
