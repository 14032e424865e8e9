#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <filesystem>
#include <fstream>
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

// A file of the given size that takes no room on the disk, with the folders above it.
inline void sparseFile(const std::filesystem::path &path, std::uintmax_t size)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path).close();
    std::filesystem::resize_file(path, size);
}

// A temporary folder for the made-up trees the pictures are taken of. It removes itself by
// bytes: Qt's own removal passes by a name that is no UTF-8.
struct TemporaryHome : QTemporaryDir
{
    ~TemporaryHome()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path().toStdString(), ignored);
    }
};
