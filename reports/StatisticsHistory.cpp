// Every run that ends is kept in the history folder, whether it ran to its end or was stopped.

#include "model/Collection.h"
#include "model/History.h"
#include "reports/Statistics.h"

#include <cstdio>

// The run is over and its pages are filled: a history that cannot be written must not stand in
// the user's way with a message box about a file they never asked for. One line on standard
// error says what went wrong; the window and the pages stay as they are.
void TfrmStatistics::keepRunInHistory()
{
    const RunFacts &facts = recorder.runEnded(engine.aborted);
    resultFacts = facts;
    resultHistoryFile.clear();
    reportResultsChanged();
    if (historyFolder.isEmpty())
        return;
    const platform::Outcome<QString> kept =
        keepInHistory(collectionOf(facts, engine), historyFolder);
    if (kept)
        resultHistoryFile = *kept;
    else
        std::fprintf(stderr, "korvel98: %s\n", kept.message().toLocal8Bit().constData());
}
