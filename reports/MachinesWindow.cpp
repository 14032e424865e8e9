#include "reports/MachinesWindow.h"

#include "controls/StyledLabel.h"
#include "reports/PageLook.h"
#include "reports/TablesWindow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int SortRole = Qt::UserRole;
constexpr int RowRole = Qt::UserRole + 1; // the row's index into the rows shown
const QSize startSize(1040, 360);

QStandardItem *itemOf(const ReportCell &cell, int row)
{
    auto *item = new QStandardItem(cell.shown());
    item->setEditable(false);
    item->setData(row, RowRole);
    switch (cell.kind) {
    case ReportCell::Kind::Text:
        item->setData(cell.text.toLower(), SortRole);
        break;
    case ReportCell::Kind::Integer:
        item->setData(qulonglong(cell.integer), SortRole);
        break;
    case ReportCell::Kind::Change:
        item->setData(qlonglong(cell.change), SortRole);
        break;
    case ReportCell::Kind::Percentage:
        item->setData(cell.percentage, SortRole);
        break;
    }
    if (cell.kind != ReportCell::Kind::Text)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// Enter on a row opens it; the dialog would otherwise hand the key to a default button.
class RowEnter : public QObject
{
public:
    RowEnter(QObject *parent, std::function<void()> open) : QObject(parent), open(std::move(open))
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                open();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> open;
};

} // namespace

MachinesWindow::MachinesWindow(QWidget *parent) : QDialog(parent)
{
    auto *title = makeTablesWindowFrame(*this, QStringLiteral("MachinesWindow"),
                                        QStringLiteral("Machines"), startSize);
    askFolder = [this](const QString &start) {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("Folder of collections"),
                                                 start);
    };

    lblFolder = new QLabel(this);
    lblFolder->setObjectName(QStringLiteral("lblFolder"));
    lblFolder->setWordWrap(true);

    tvMachines = new QTableView(this);
    tvMachines->setObjectName(QStringLiteral("tvMachines"));
    tvMachines->setAccessibleName(QStringLiteral("Machines"));
    model = new QStandardItemModel(this);
    proxy = new QSortFilterProxyModel(this);
    proxy->setSourceModel(model);
    proxy->setSortRole(SortRole);
    tvMachines->setModel(proxy);
    tvMachines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvMachines->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvMachines->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tvMachines->setAlternatingRowColors(true);
    tvMachines->setTabKeyNavigation(false);
    tvMachines->verticalHeader()->hide();
    tvMachines->verticalHeader()->setDefaultSectionSize(tvMachines->fontMetrics().height() + 6);
    tvMachines->horizontalHeader()->setFont(notebookFont(true));
    tvMachines->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    tvMachines->horizontalHeader()->setStretchLastSection(true);
    tvMachines->setSortingEnabled(true);
    tvMachines->sortByColumn(0, Qt::AscendingOrder);
    tvMachines->installEventFilter(new RowEnter(tvMachines, [this] { openCurrent(); }));
    connect(tvMachines, &QTableView::doubleClicked, this, [this] { openCurrent(); });
    connect(tvMachines->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { selectionChanged(); });

    btOpen = new QPushButton(QStringLiteral("&Open"), this);
    btCompare = new QPushButton(QStringLiteral("&Compare"), this);
    btTrends = new QPushButton(QStringLiteral("&Trends"), this);
    btFolder = new QPushButton(QStringLiteral("C&hoose folder..."), this);
    btClose = new QPushButton(QStringLiteral("Close"), this);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {btOpen, btCompare, btTrends, btFolder}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    btClose->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(btClose);
    connect(btOpen, &QPushButton::clicked, this, [this] { openCurrent(); });
    connect(btCompare, &QPushButton::clicked, this, [this] { compareSelected(); });
    connect(btTrends, &QPushButton::clicked, this, [this] {
        const QModelIndex current = tvMachines->currentIndex();
        if (!current.isValid())
            return;
        const MachineRow &row = shown[std::size_t(current.data(RowRole).toInt())];
        emit showTrends(QFileInfo(row.newestFile).absolutePath(), row.driveSet, row.host);
    });
    connect(btFolder, &QPushButton::clicked, this, [this] {
        const QString chosen = askFolder(folder);
        if (!chosen.isEmpty())
            showFolder(chosen);
    });
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(lblFolder);
    layout->addWidget(tvMachines, 1);
    layout->addLayout(buttons);
    selectionChanged();
}

void MachinesWindow::showFolder(const QString &path)
{
    folder = path;
    shown = machineRows(path, now());
    lblFolder->setText(
        shown.empty() ? QStringLiteral("No collections in %1.").arg(QDir::toNativeSeparators(path))
                      : QStringLiteral("Collections in %1, newest of each host:")
                            .arg(QDir::toNativeSeparators(path)));
    fill();
}

void MachinesWindow::fill()
{
    const ReportTable table = machinesTable(shown);
    model->clear();
    model->setHorizontalHeaderLabels(table.headings);
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        QList<QStandardItem *> items;
        for (const ReportCell &cell : table.rows[row])
            items << itemOf(cell, int(row));
        model->appendRow(items);
    }
    tvMachines->resizeColumnsToContents();
    if (proxy->rowCount() > 0)
        tvMachines->setCurrentIndex(proxy->index(0, 0));
    selectionChanged();
}

std::vector<int> MachinesWindow::selectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex &index : tvMachines->selectionModel()->selectedRows())
        rows.push_back(index.data(RowRole).toInt());
    return rows;
}

void MachinesWindow::selectionChanged()
{
    const std::vector<int> rows = selectedRows();
    btOpen->setEnabled(tvMachines->currentIndex().isValid());
    btTrends->setEnabled(tvMachines->currentIndex().isValid());
    btCompare->setEnabled(rows.size() == 2 ||
                          (rows.size() == 1 && !shown[std::size_t(rows[0])].olderFile.isEmpty()));
}

void MachinesWindow::openCurrent()
{
    const QModelIndex current = tvMachines->currentIndex();
    if (current.isValid())
        emit openCollection(shown[std::size_t(current.data(RowRole).toInt())].newestFile);
}

void MachinesWindow::compareSelected()
{
    const std::vector<int> rows = selectedRows();
    if (rows.size() == 1 && !shown[std::size_t(rows[0])].olderFile.isEmpty()) {
        const MachineRow &row = shown[std::size_t(rows[0])];
        emit compareCollections(row.olderFile, row.newestFile);
    } else if (rows.size() == 2) {
        const MachineRow *a = &shown[std::size_t(rows[0])], *b = &shown[std::size_t(rows[1])];
        if (b->newest < a->newest)
            std::swap(a, b);
        emit compareCollections(a->newestFile, b->newestFile);
    }
}
