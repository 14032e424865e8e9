#pragma once

#include <QDir>
#include <QString>
#include <QWidget>
#include <functional>

// Each file of this tool registers the pictures it renders:
//     static SnapshotRegistrar about("about", [](const QDir &out) { ... });
// main() runs every registered group, in the order of their names, into the output folder.
using SnapshotGroup = std::function<void(const QDir &out)>;

struct SnapshotRegistrar
{
    SnapshotRegistrar(const QString &name, SnapshotGroup group);
};

// Renders a widget as it would show on screen and writes it as OUT/name.png.
bool saveSnapshot(QWidget &widget, const QDir &out, const QString &name);
