#pragma once

#include <QString>
#include <QStringList>

// Descriptive name of a file type: ".doc" -> "Word document"; "*." -> "No extension";
// unregistered ".xyz" -> "XYZ File"; empty text -> empty text.
QString getTypeName(const QString &extension);

// Fills target with every registered extension that fits a type row (four characters after the dot)
// as "*.ext", sorted without regard to case, after "*.*" when withAllFiles is set.
void listRegisteredExtensions(QStringList &target, bool withAllFiles);
