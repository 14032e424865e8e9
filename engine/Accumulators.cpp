#include "engine/Accumulators.h"

void Accumulators::clearVariables()
{
    lbTypes.clear();
    for (auto *table : {&ageAccessedFiles, &ageAccessedBytes, &ageCreatedFiles, &ageCreatedBytes,
                        &ageModifiedFiles, &ageModifiedBytes})
        table->fill(0);
    sizeFiles.fill(0);
    sizeBytes.fill(0);
    hourModified.fill(0);
    hourCreated.fill(0);
    hourAccessed.fill(0);
    nReadOnly = nHidden = nSystem = nArchive = 0;
    szReadOnly = szHidden = szSystem = szArchive = 0;
    overhang4K = overhang8K = overhang16K = overhang32K = overhang64K = 0;
    filesProcessed = 0;
    filesFound = 0;
    foldersUnreadable = 0;
    unreadableFolders.clear();
    folderTotals.clear();
    driveFiles.clear();
    linkedNamesSkipped = 0;
}
