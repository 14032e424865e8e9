#include "reports/TablesWindow.h"

#include "controls/DialogLook.h"
#include "controls/FileDialogs.h"
#include "controls/MessageBoxes.h"
#include "controls/StyledLabel.h"
#include "platform/FileWriter.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDevice>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

StyledLabel *makeTablesWindowFrame(QDialog &window, const QString &objectName, const QString &title,
                                   const QSize &start)
{
    window.setObjectName(objectName);
    window.setWindowTitle(title);
    window.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    window.setSizeGripEnabled(true);
    window.setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    window.resize(start);
    auto *label = makeTitleLabel(title, QRect(), &window);
    label->setMinimumHeight(34);
    return label;
}

std::optional<TablesExportChoice> askTablesExport(QWidget *parent, const TablesExportOffer &offer)
{
    QDialog choice(parent);
    choice.setWindowTitle(offer.title);
    auto *csv = new QRadioButton(QStringLiteral("&CSV file with one table:"), &choice);
    auto *table = new QComboBox(&choice);
    table->addItems(offer.tableTitles);
    table->setCurrentIndex(std::clamp(offer.current, 0, int(offer.tableTitles.size()) - 1));
    table->setAccessibleName(QStringLiteral("Table"));
    auto *pdf = new QRadioButton(QStringLiteral("&PDF file with every table"), &choice);
    csv->setChecked(true);
    QObject::connect(csv, &QRadioButton::toggled, table, &QWidget::setEnabled);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &choice);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &choice, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &choice, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addWidget(csv);
    row->addWidget(table, 1);
    auto *layout = new QVBoxLayout(&choice);
    layout->addLayout(row);
    layout->addWidget(pdf);
    layout->addWidget(buttons);
    if (choice.exec() != QDialog::Accepted)
        return std::nullopt;

    TablesExportChoice chosen;
    QString name = offer.fileStem;
    if (csv->isChecked()) {
        chosen.table = table->currentIndex();
        name += u'-' + offer.tableNames.value(*chosen.table) + QStringLiteral(".csv");
    } else {
        name += QStringLiteral(".pdf");
    }
    chosen.path =
        askSaveFileName(parent, offer.title, QDir(lastExportFolder(offer.title)).filePath(name),
                        csv->isChecked() ? QStringLiteral("CSV files (*.csv)")
                                         : QStringLiteral("PDF files (*.pdf)"));
    if (chosen.path.isEmpty())
        return std::nullopt;
    rememberExportFolder(offer.title, chosen.path);
    return chosen;
}

bool writeTablesExport(const QString &path, const std::function<bool(QIODevice &)> &write)
{
    // A write that fails without an error of the file is a document that could not be made.
    bool made = true;
    const std::optional<QString> failure = platform::writeFile(path, [&](QIODevice &file) {
        const bool written = write(file);
        const auto *device = qobject_cast<QFileDevice *>(&file);
        made = written || !device || device->error() != QFileDevice::NoError;
        return written;
    });
    if (!failure)
        return true;
    errorBox(QStringLiteral("Could not write the file ") + QDir::toNativeSeparators(path) +
             QStringLiteral(": ") +
             (made ? *failure : QStringLiteral("the document could not be made")));
    return false;
}
