#pragma once

#include "model/TypeNames.h" // getTypeName: the reports and the scan tool name types alike

#include <QStringList>

// Fills target with every registered extension that fits a type row (four characters after the dot)
// as "*.ext", sorted without regard to case, after "*.*" when withAllFiles is set.
void listRegisteredExtensions(QStringList &target, bool withAllFiles);
