#include "controls/DesignFonts.h"

#include <QFont>

void installDesignFonts()
{
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    // The window font of the dialogs, a sans serif.
    QFont::insertSubstitution("System", "Liberation Sans");
    QFont::insertSubstitution("Times New Roman", "Liberation Serif");
}
