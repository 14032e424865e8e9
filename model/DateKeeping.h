#pragma once

#include "model/RunFacts.h"

#include <QStringList>

// How the walked drives keep the dates the date pages count, in the pages' words: a file's access
// date means little without knowing how often its drive updates it, and a drive that keeps no
// creation dates puts every file under "Not recorded".

// How the drives update access dates: "Access dates on D: are never updated (noatime)", one line
// for each way, naming the drives that keep to it (all of them in one line when they agree).
// Drives whose way is unknown are left out.
QStringList accessDatesLines(const std::vector<DriveFacts> &drives);

// The drives that keep no creation dates, in one line: "D: keeps no creation dates"; none when
// every drive keeps them or nothing is known.
QStringList creationDatesLines(const std::vector<DriveFacts> &drives);
