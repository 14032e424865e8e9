#pragma once

#include <QString>

// Descriptive name of a file type: ".doc" -> "Word document"; "*." -> "No extension";
// unregistered ".xyz" -> "XYZ File"; empty text -> empty text. The registration of the
// extension in lower case counts first, as most files spell it, then the one of the case given:
// the Types listing (".C") and the extension lists ("*.c") name a type alike.
QString getTypeName(const QString &extension);
