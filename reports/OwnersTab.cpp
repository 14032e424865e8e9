#include "reports/OwnersTab.h"

#include "model/FileReport.h"
#include "reports/SpaceTables.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QTableView *ownerTable(const QString &name, OwnerTableModel *model, QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setObjectName(QStringLiteral("tv") + name.simplified().remove(u' '));
    view->setAccessibleName(name);
    view->setModel(model);
    setUpSpaceTable(view);
    view->horizontalHeader()->setSortIndicator(OwnerTableModel::BytesColumn, Qt::DescendingOrder);
    // The name takes the room left; the figures keep their widths beside it.
    view->horizontalHeader()->setStretchLastSection(false);
    view->horizontalHeader()->setSectionResizeMode(OwnerTableModel::NameColumn,
                                                   QHeaderView::Stretch);
    view->setColumnWidth(OwnerTableModel::FilesColumn, 100);
    view->setColumnWidth(OwnerTableModel::BytesColumn, 130);
    view->setColumnWidth(OwnerTableModel::ShareColumn, 140);
    return view;
}

} // namespace

OwnersTab::OwnersTab(QWidget *parent)
    : QWidget(parent), users(new OwnerTableModel(QStringLiteral("User"), this)),
      groups(new OwnerTableModel(QStringLiteral("Group"), this))
{
    lblNote = new QLabel(this);
    lblNote->setObjectName(QStringLiteral("lblOwnersNote"));
    lblNote->setWordWrap(true);
    tvUsers = ownerTable(QStringLiteral("Users"), users, this);
    tvGroups = ownerTable(QStringLiteral("Groups"), groups, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(lblNote);
    layout->addWidget(tvUsers, 3);
    layout->addWidget(tvGroups, 2);
}

void OwnersTab::showOwners(const std::vector<DriveFiles> &drives, bool kept)
{
    users->setRows(ownerRows(drives, OwnerKind::Users));
    groups->setRows(ownerRows(drives, OwnerKind::Groups));
    for (QTableView *view : {tvUsers, tvGroups}) {
        view->model()->sort(view->horizontalHeader()->sortIndicatorSection(),
                            view->horizontalHeader()->sortIndicatorOrder());
        view->setVisible(kept);
        if (view->model()->rowCount() > 0)
            view->setCurrentIndex(view->model()->index(0, 0));
    }
    lblNote->setText(kept ? QString()
                          : QStringLiteral("This collection was saved by an earlier Korvel "
                                           "98, which kept no totals by owner."));
    lblNote->setVisible(!kept);
}
